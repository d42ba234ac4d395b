#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/paths.h"

namespace qm::platform {

namespace {

struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

int WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return 0;
}

}  // namespace

int WriteFileAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) return ENOENT;
  mode_t mode = 0666;
  bool keepMode = false;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return EISDIR;
    if (::access(path.c_str(), W_OK) != 0) return EACCES;
    mode = st.st_mode & 07777;
    keepMode = true;
  }
  std::string dir = DirectoryOf(path);
  std::string tmpl = JoinPath(dir.empty() ? "." : dir, ".qm-tmp-XXXXXX");
  Fd tmp;
  tmp.fd = ::mkstemp(tmpl.data());
  if (tmp.fd < 0) return errno;
  auto fail = [&](int err) {
    ::unlink(tmpl.c_str());
    return err;
  };
  if (int err = WriteAll(tmp.fd, bytes)) return fail(err);
  if (keepMode) {
    if (::fchmod(tmp.fd, mode) != 0) return fail(errno);
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(tmp.fd, mode & ~mask) != 0) return fail(errno);
  }
  if (::fsync(tmp.fd) != 0) return fail(errno);
  int fd = tmp.fd;
  tmp.fd = -1;
  if (::close(fd) != 0) return fail(errno);
  if (::rename(tmpl.c_str(), path.c_str()) != 0) return fail(errno);
  return 0;
}

int ReadWholeFile(const std::string& path, std::string& out, std::size_t maxBytes) {
  out.clear();
  Fd f;
  f.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (f.fd < 0) return errno;
  struct stat st {};
  if (::fstat(f.fd, &st) != 0) return errno;
  if (S_ISDIR(st.st_mode)) return EISDIR;
  if (st.st_size > 0 && static_cast<unsigned long long>(st.st_size) > maxBytes) return EFBIG;
  if (st.st_size > 0) out.reserve(static_cast<std::size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(f.fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) break;
    if (out.size() + static_cast<std::size_t>(n) > maxBytes) return EFBIG;
    out.append(buf, static_cast<std::size_t>(n));
  }
  return 0;
}

}  // namespace qm::platform
