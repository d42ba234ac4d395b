#include "platform/qt/family_listener.h"

namespace qm::platform {

FamilyListener::FamilyListener(QObject* parent) : QObject(parent) {
  FamilyEndpoint::Handler h;
  // Queued, so a handler that itself talks to the family cannot re-enter the
  // endpoint while it is answering.
  h.onMessage = [this](std::uint32_t m, std::int64_t w, std::int64_t l) {
    QMetaObject::invokeMethod(this, [this, m, w, l] { emit messageReceived(m, w, l); }, Qt::QueuedConnection);
  };
  h.onRaise = [this] { QMetaObject::invokeMethod(this, [this] { emit raiseRequested(); }, Qt::QueuedConnection); };
  endpoint_.SetHandler(std::move(h));
}

FamilyListener::~FamilyListener() {
  notifier_.reset();
  endpoint_.Close();
}

int FamilyListener::Open(const std::string& runtimeDir, const std::string& title, const std::string& className) {
  notifier_.reset();
  int err = endpoint_.Open(runtimeDir, title, className);
  if (err) return err;
  notifier_ = std::make_unique<QSocketNotifier>(endpoint_.fd(), QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { endpoint_.ProcessPending(); });
  return 0;
}

}  // namespace qm::platform
