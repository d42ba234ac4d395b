#include "platform/qt/termination.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace qm::platform {

namespace {
int gSignalFds[2] = {-1, -1};

void OnSignal(int) {
  char c = 1;
  (void)!::write(gSignalFds[0], &c, 1);
}
}  // namespace

void InstallTerminationHandler(QObject* context, std::function<void()> onSignal) {
  if (gSignalFds[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalFds) != 0) return;
  auto* notifier = new QSocketNotifier(gSignalFds[1], QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, context, [onSignal = std::move(onSignal)] {
    char c;
    (void)!::read(gSignalFds[1], &c, 1);
    if (onSignal) onSignal();
  });
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &sa, nullptr);
  ::sigaction(SIGINT, &sa, nullptr);
  ::sigaction(SIGHUP, &sa, nullptr);
}

}  // namespace qm::platform
