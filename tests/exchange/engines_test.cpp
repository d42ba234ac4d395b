#include <gtest/gtest.h>

#include "exchange/engines.h"

using namespace qm::exchange;

TEST(Engines, SuccessRulesAndTheNotAvailableSentinel) {
  struct Case {
    std::string_view lib;
    std::int32_t result;
    bool ok;
  } cases[] = {
      {kZovuz, 1, true},      {kZovuz, 0, false},     {kZovuz, -1, false},
      {kSysSetup, 3, true},   {kSysSetup, 0, false},  {kVekRidge, 0, true},
      {kVekRidge, 1, false},  {kVekConv, 0, true},    {kVekConv, -2, false},
      {kZovuz, kEngineNotAvailable, false}, {kVekUni, kEngineNotAvailable, false},
  };
  for (const auto& c : cases) EXPECT_EQ(EngineSucceeded(c.lib, c.result), c.ok) << c.lib << " " << c.result;
}

TEST(Engines, MissingEngineIsNotAvailableNeverSuccess) {
  EngineRegistry reg;
  EXPECT_FALSE(reg.IsAvailable(kVekRidge, 1));
  std::int32_t r = reg.Call(kVekRidge, 1, NoArgs{});
  EXPECT_EQ(r, kEngineNotAvailable);
  EXPECT_FALSE(EngineSucceeded(kVekRidge, r));
  // Only the entry points the program knows can be registered.
  EXPECT_FALSE(reg.Register(kVekConv, 2, [](const EngineArgs&) { return 0; }));
  EXPECT_FALSE(reg.Register("OTHER.DLL", 1, [](const EngineArgs&) { return 0; }));
}

TEST(Engines, CallsPassArgumentsUnchangedAndCheckTheirKind) {
  EngineRegistry reg;
  RecordingEngines rec(reg);
  rec.InstallAll();
  EXPECT_EQ(reg.Call(kVekConv, 1, ConvertArgs{"/home/u/Mixed Case.DXF", 0.001}), 0);
  EXPECT_EQ(reg.Call(kZovuz, 1, OffsetArgs{}), 1);
  rec.SetResult(kVekShadow, 1, 7);
  EXPECT_EQ(reg.Call(kVekShadow, 1, ShadowArgs{2, 0.5, 1.0, 3.0}), 7);
  // The wrong argument list for an entry point is refused before the engine runs.
  EXPECT_EQ(reg.Call(kVekShadow, 1, NoArgs{}), kEngineNotAvailable);

  ASSERT_EQ(rec.Calls().size(), 3u);
  const auto& conv = std::get<ConvertArgs>(rec.Calls()[0].args);
  EXPECT_EQ(conv.fileName, "/home/u/Mixed Case.DXF");
  EXPECT_DOUBLE_EQ(conv.chainTolerance, 0.001);
  const auto& off = std::get<OffsetArgs>(rec.Calls()[1].args);
  EXPECT_EQ(off.one, 1);
  EXPECT_EQ(off.zero, 0);
  EXPECT_EQ(off.points[5], 1e30);
  EXPECT_EQ(rec.Calls()[2].ordinal, 1);
  EXPECT_EQ(std::get<ShadowArgs>(rec.Calls()[2].args).mode, 2);
}

TEST(Engines, RecordingDoubleUninstallsItself) {
  EngineRegistry reg;
  {
    RecordingEngines rec(reg);
    rec.Install(kVekUni, 1);
    EXPECT_TRUE(reg.IsAvailable(kVekUni, 1));
  }
  EXPECT_FALSE(reg.IsAvailable(kVekUni, 1));
}
