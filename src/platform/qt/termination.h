#pragma once
// SIGTERM, SIGINT and SIGHUP end the program through its normal close path
// (the event loop quits), so the session manager or a terminal's Ctrl+C never
// leaves stale endpoints or snapshots behind.
#include <QObject>
#include <functional>

namespace qm::platform {

// Installs the handlers; `onSignal` runs on the GUI thread. Call once.
void InstallTerminationHandler(QObject* context, std::function<void()> onSignal);

}  // namespace qm::platform
