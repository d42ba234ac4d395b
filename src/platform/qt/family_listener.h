#pragma once
// Serves this process's family endpoint from the Qt event loop.
#include <QObject>
#include <QSocketNotifier>
#include <memory>

#include "platform/family.h"

namespace qm::platform {

class FamilyListener : public QObject {
  Q_OBJECT
 public:
  explicit FamilyListener(QObject* parent = nullptr);
  ~FamilyListener() override;
  // Result 0 or errno.
  int Open(const std::string& runtimeDir, const std::string& title, const std::string& className);
  void SetTitle(const std::string& title) { endpoint_.SetTitle(title); }
  FamilyEndpoint& Endpoint() { return endpoint_; }

 signals:
  void messageReceived(quint32 message, qint64 wParam, qint64 lParam);
  void raiseRequested();

 private:
  FamilyEndpoint endpoint_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace qm::platform
