#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "platform/family.h"
#include "platform/paths.h"
#include "test_support.h"

using namespace qm::platform;
using qm::test::TempDir;

namespace {

// Serves an endpoint from a thread under a fake pid name, as another process would.
class PeerThread {
 public:
  PeerThread(const std::string& dir, const std::string& title, const std::string& cls) {
    EXPECT_EQ(endpoint_.Open(dir, title, cls), 0);
    // Rename the socket so discovery does not take it for this process's own.
    path_ = JoinPath(dir, std::to_string(900000 + counter_++) + ".sock");
    EXPECT_EQ(::rename(endpoint_.Path().c_str(), path_.c_str()), 0);
    FamilyEndpoint::Handler h;
    h.onMessage = [this](std::uint32_t m, std::int64_t w, std::int64_t l) {
      lastMessage = m;
      lastW = w;
      lastL = l;
    };
    h.onRaise = [this] { ++raises; };
    endpoint_.SetHandler(h);
    thread_ = std::thread([this] {
      while (!stop_) {
        endpoint_.ProcessPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    });
  }
  ~PeerThread() {
    stop_ = true;
    thread_.join();
    ::unlink(path_.c_str());
  }
  std::atomic<std::uint32_t> lastMessage{0};
  std::atomic<std::int64_t> lastW{0}, lastL{0};
  std::atomic<int> raises{0};

 private:
  static inline int counter_ = 0;
  FamilyEndpoint endpoint_;
  std::string path_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace

TEST(Family, DiscoversPeersSendsMessagesAndDropsDeadEndpoints) {
  TempDir dir;
  std::string rt = dir / "rt";
  PeerThread sorvel(rt, "Sorvel - trace", "TSorvelApp");
  PeerThread tab(rt, "Odd\ttitle", "TImgelForm");
  // A dead endpoint: a socket file nobody listens on.
  std::string dead = JoinPath(rt, "12.sock");
  {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, dead.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
  }
  // This process's own endpoint is never listed.
  FamilyEndpoint self;
  ASSERT_EQ(self.Open(rt, "Quillmar", "TCADChild"), 0);

  auto windows = EnumerateFamilyWindows(rt);
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[0].title, "Sorvel - trace");
  EXPECT_EQ(windows[0].className, "TSorvelApp");
  EXPECT_EQ(windows[1].title, "Odd title");  // a tab cannot split the reply
  EXPECT_FALSE(FileExists(dead) || IsDirectory(dead));
  EXPECT_EQ(::access(dead.c_str(), F_OK), -1);

  ASSERT_EQ(SendFamilyMessage(windows[0], 0x85B, 0, -3), 0);
  EXPECT_EQ(sorvel.lastMessage, 0x85Bu);
  EXPECT_EQ(sorvel.lastL, -3);
  ASSERT_EQ(RaiseFamilyWindow(windows[1]), 0);
  EXPECT_EQ(tab.raises, 1);
  EXPECT_EQ(SendFamilyMessage(FamilyWindow{}, 1, 0, 0), EINVAL);
}

TEST(Family, LongTitlesAreClippedTo80) {
  TempDir dir;
  PeerThread peer(dir.path(), std::string(200, 'T'), "TCADChild");
  auto windows = EnumerateFamilyWindows(dir.path());
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0].title.size(), 80u);
}
