#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/startup.h"
#include "platform/paths.h"
#include "test_support.h"

using namespace qm::app;
using qm::test::TempDir;

TEST(Startup, SplashDecisionLooksAtTheFirstArgumentOnly) {
  struct Case {
    std::vector<std::string> args;
    bool splash;
    const char* file;
  } cases[] = {
      {{}, true, ""},
      {{"-Q"}, false, ""},
      {{"-Quiet"}, false, ""},
      {{"-q"}, true, "-q"},  // case-sensitive
      {{"drawing.qmd", "-Q"}, true, "drawing.qmd"},
      {{"-Q", "drawing.qmd"}, false, ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    Configuration config(dir.path(), dir / "rt");
    StartupPlan plan = PlanStartup(config, c.args);
    EXPECT_FALSE(plan.anotherInstance);
    EXPECT_EQ(plan.showSplash, c.splash);
    EXPECT_EQ(plan.firstArgument, c.file);
  }
}

TEST(Startup, SplashWaitIsSafeAcrossTickWrapAround) {
  static_assert(!SplashTimeElapsed(100, 1099));
  static_assert(SplashTimeElapsed(100, 1100));
  static_assert(!SplashTimeElapsed(0xFFFFFF00u, 0x000002E7u));  // 999 ms across the wrap
  static_assert(SplashTimeElapsed(0xFFFFFF00u, 0x000002E8u));
}

TEST(Startup, AnotherInstanceIsAskedToComeForward) {
  TempDir dir;
  std::string rt = dir / "rt";
  qm::platform::FamilyEndpoint running;
  ASSERT_EQ(running.Open(rt, "Quillmar-[a.qmd]", "TCADChild"), 0);
  std::string foreign = qm::platform::JoinPath(rt, "999999.sock");
  ASSERT_EQ(::rename(running.Path().c_str(), foreign.c_str()), 0);
  std::atomic<int> raised{0};
  std::atomic<bool> stop{false};
  running.SetHandler({nullptr, [&] { ++raised; }});
  std::thread server([&] {
    while (!stop) {
      running.ProcessPending();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  Configuration config(dir.path(), rt);
  StartupPlan plan = PlanStartup(config, {"other.qmd"});
  stop = true;
  server.join();
  ::unlink(foreign.c_str());
  EXPECT_TRUE(plan.anotherInstance);
  EXPECT_EQ(plan.raiseError, 0);
  EXPECT_EQ(raised, 1);
  EXPECT_TRUE(plan.firstArgument.empty());  // the second instance's file is not passed on
}
