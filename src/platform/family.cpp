#include "platform/family.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/paths.h"

namespace qm::platform {

namespace {

constexpr int kTimeoutMs = 1000;
constexpr std::size_t kMaxLine = 1024;

bool MakeAddress(const std::string& path, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// Waits until fd is ready for `events`; false on timeout or error.
bool WaitFor(int fd, short events, int timeoutMs) {
  pollfd p{fd, events, 0};
  for (;;) {
    int r = ::poll(&p, 1, timeoutMs);
    if (r < 0 && errno == EINTR) continue;
    return r > 0 && (p.revents & (events | POLLHUP));
  }
}

bool SendAll(int fd, const std::string& s) {
  std::size_t off = 0;
  while (off < s.size()) {
    ssize_t n = ::send(fd, s.data() + off, s.size() - off, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN && WaitFor(fd, POLLOUT, kTimeoutMs)) continue;
      return false;
    }
    off += static_cast<std::size_t>(n);
  }
  return true;
}

// Reads one line (without '\n'); false on timeout, error or an overlong line.
bool ReadLine(int fd, std::string& line) {
  line.clear();
  char c;
  while (line.size() < kMaxLine) {
    if (!WaitFor(fd, POLLIN, kTimeoutMs)) return false;
    ssize_t n = ::recv(fd, &c, 1, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return !line.empty();
    if (c == '\n') return true;
    line.push_back(c);
  }
  return false;
}

// One request, one reply. Result 0 or errno; ECONNREFUSED/ENOENT mean dead.
int Exchange(const std::string& path, const std::string& request, std::string& reply) {
  sockaddr_un addr;
  if (!MakeAddress(path, addr)) return ENAMETOOLONG;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return errno;
  int err = 0;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    if (errno == EAGAIN || errno == EINPROGRESS) {
      // A full backlog: the peer lives but is busy.
      if (!WaitFor(fd, POLLOUT, kTimeoutMs)) err = ETIMEDOUT;
    } else {
      err = errno;
    }
  }
  if (!err && !SendAll(fd, request + "\n")) err = EPIPE;
  if (!err && !ReadLine(fd, reply)) err = ETIMEDOUT;
  ::close(fd);
  return err;
}

std::string Clip80(std::string s) {
  if (s.size() > 80) s.resize(80);
  return s;
}

}  // namespace

std::vector<FamilyWindow> EnumerateFamilyWindows(const std::string& runtimeDir) {
  std::vector<FamilyWindow> out;
  DIR* dir = ::opendir(runtimeDir.c_str());
  if (!dir) return out;
  std::vector<std::pair<int, std::string>> candidates;
  const int self = static_cast<int>(::getpid());
  while (dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name.size() < 6 || name.compare(name.size() - 5, 5, ".sock") != 0) continue;
    std::string digits = name.substr(0, name.size() - 5);
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    int pid = std::stoi(digits);
    if (pid == self) continue;
    candidates.emplace_back(pid, JoinPath(runtimeDir, name));
  }
  ::closedir(dir);
  std::sort(candidates.begin(), candidates.end());
  for (auto& [pid, path] : candidates) {
    std::string reply;
    int err = Exchange(path, "INFO", reply);
    if (err == ECONNREFUSED || err == ENOENT) {
      ::unlink(path.c_str());
      continue;
    }
    if (err) continue;
    FamilyWindow w;
    w.endpoint = path;
    w.pid = pid;
    auto tab = reply.find('\t');
    w.title = Clip80(reply.substr(0, tab));
    if (tab != std::string::npos) w.className = Clip80(reply.substr(tab + 1));
    out.push_back(std::move(w));
  }
  return out;
}

int SendFamilyMessage(const FamilyWindow& w, std::uint32_t message, std::int64_t wParam, std::int64_t lParam) {
  if (!w.valid()) return EINVAL;
  std::string reply;
  char req[96];
  std::snprintf(req, sizeof req, "MSG %u %lld %lld", message, static_cast<long long>(wParam),
                static_cast<long long>(lParam));
  int err = Exchange(w.endpoint, req, reply);
  if (!err && reply != "OK") err = EPROTO;
  return err;
}

int RaiseFamilyWindow(const FamilyWindow& w) {
  if (!w.valid()) return EINVAL;
  std::string reply;
  int err = Exchange(w.endpoint, "RAISE", reply);
  if (!err && reply != "OK") err = EPROTO;
  return err;
}

FamilyEndpoint::~FamilyEndpoint() { Close(); }

int FamilyEndpoint::Open(const std::string& runtimeDir, std::string title, std::string className) {
  Close();
  if (int err = EnsureDirectory(runtimeDir, true)) return err;
  ::chmod(runtimeDir.c_str(), 0700);
  path_ = JoinPath(runtimeDir, std::to_string(::getpid()) + ".sock");
  sockaddr_un addr;
  if (!MakeAddress(path_, addr)) return ENAMETOOLONG;
  ::unlink(path_.c_str());
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return errno;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 16) != 0) {
    int err = errno;
    ::close(fd);
    return err;
  }
  ::chmod(path_.c_str(), 0600);
  fd_ = fd;
  title_ = std::move(title);
  class_ = std::move(className);
  return 0;
}

void FamilyEndpoint::Close() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(path_.c_str());
  fd_ = -1;
}

int FamilyEndpoint::ProcessPending() {
  int handled = 0;
  for (;;) {
    int c = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (c < 0) {
      if (errno == EINTR) continue;
      break;
    }
    std::string line;
    if (ReadLine(c, line)) {
      if (line == "INFO") {
        auto clean = [](std::string s) {
          for (char& ch : s)
            if (ch == '\t' || ch == '\n' || ch == '\r') ch = ' ';
          return s;
        };
        SendAll(c, clean(title_) + "\t" + clean(class_) + "\n");
      } else if (line == "RAISE") {
        SendAll(c, "OK\n");
        if (handler_.onRaise) handler_.onRaise();
      } else {
        unsigned message = 0;
        long long w = 0, l = 0;
        char tail = 0;
        if (std::sscanf(line.c_str(), "MSG %u %lld %lld%c", &message, &w, &l, &tail) == 3) {
          SendAll(c, "OK\n");
          if (handler_.onMessage) handler_.onMessage(message, w, l);
        } else {
          SendAll(c, "ERR\n");
        }
      }
    }
    ::close(c);
    ++handled;
  }
  return handled;
}

}  // namespace qm::platform
