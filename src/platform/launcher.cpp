#include "platform/launcher.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qm::platform {

int LaunchDetached(const std::string& program, const std::vector<std::string>& args, const std::string& workDir) {
  // Build argv before forking: nothing but async-signal-safe calls after fork.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  int pipefd[2];
  if (::pipe2(pipefd, O_CLOEXEC) != 0) return errno;
  pid_t child = ::fork();
  if (child < 0) {
    int err = errno;
    ::close(pipefd[0]);
    ::close(pipefd[1]);
    return err;
  }
  if (child == 0) {
    // First child: start the grandchild and leave at once, so the companion
    // is re-parented and never becomes our zombie.
    ::close(pipefd[0]);
    pid_t grand = ::fork();
    if (grand < 0) {
      int err = errno;
      (void)!::write(pipefd[1], &err, sizeof err);
      ::_exit(1);
    }
    if (grand == 0) {
      ::setpgid(0, 0);
      // No inherited descriptors: mark all but the standard ones close-on-exec.
      ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
      ::signal(SIGPIPE, SIG_DFL);
      if (!workDir.empty() && ::chdir(workDir.c_str()) != 0) {
        int err = errno;
        (void)!::write(pipefd[1], &err, sizeof err);
        ::_exit(127);
      }
      ::execv(program.c_str(), argv.data());
      int err = errno;
      (void)!::write(pipefd[1], &err, sizeof err);
      ::_exit(127);
    }
    ::_exit(0);
  }
  ::close(pipefd[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int err = 0;
  ssize_t n;
  do {
    n = ::read(pipefd[0], &err, sizeof err);
  } while (n < 0 && errno == EINTR);
  ::close(pipefd[0]);
  // Nothing read: exec succeeded and closed the pipe.
  return n == static_cast<ssize_t>(sizeof err) ? err : 0;
}

}  // namespace qm::platform
