#pragma once
// The program family's window discovery and messages between processes.
//
// Every running member of the family (this program and its companions)
// listens on a per-user local socket "<pid>.sock" in the runtime directory
// and answers one request per connection, a line of text:
//   "INFO"           → "<window title>\t<window class>\n"
//   "MSG n w l"      → "OK\n"   (a window message with two parameters)
//   "RAISE"          → "OK\n"   (show maximised and come to the front)
// Discovery lists those endpoints; an endpoint that no longer answers a
// connection (its process died) is removed.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qm::platform {

struct FamilyWindow {
  std::string endpoint;  // socket path; empty = none
  int pid = 0;
  std::string title;      // at most 80 characters, as the window API gives them
  std::string className;  // at most 80 characters
  bool valid() const { return !endpoint.empty(); }
};

// Lists the answering endpoints of `runtimeDir` (all but this process's own),
// in ascending pid order. Dead endpoints are unlinked.
std::vector<FamilyWindow> EnumerateFamilyWindows(const std::string& runtimeDir);

// Result 0 or errno.
int SendFamilyMessage(const FamilyWindow& w, std::uint32_t message, std::int64_t wParam, std::int64_t lParam);
int RaiseFamilyWindow(const FamilyWindow& w);

// The listening side. Plain POSIX: the GUI watches fd() for readability and
// calls ProcessPending(), tests may do the same from a thread.
class FamilyEndpoint {
 public:
  struct Handler {
    std::function<void(std::uint32_t, std::int64_t, std::int64_t)> onMessage;
    std::function<void()> onRaise;
  };

  FamilyEndpoint() = default;
  ~FamilyEndpoint();
  FamilyEndpoint(const FamilyEndpoint&) = delete;
  FamilyEndpoint& operator=(const FamilyEndpoint&) = delete;

  // Creates the runtime directory (mode 0700) and listens. Result 0 or errno.
  int Open(const std::string& runtimeDir, std::string title, std::string className);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  const std::string& Path() const { return path_; }

  void SetTitle(std::string title) { title_ = std::move(title); }
  void SetHandler(Handler h) { handler_ = std::move(h); }

  // Answers every connection waiting to be accepted; returns how many.
  int ProcessPending();

 private:
  int fd_ = -1;
  std::string path_, title_, class_;
  Handler handler_;
};

}  // namespace qm::platform
