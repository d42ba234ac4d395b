// quillmar: the desktop program.
#include <QApplication>
#include <QScreen>
#include <QSplashScreen>
#include <QTimer>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

#include "app/forms/main_window.h"
#include "app/forms/splash.h"
#include "app/startup.h"
#include "exchange/engines.h"
#include "platform/qt/settings_dialog.h"
#include "platform/qt/termination.h"

namespace {
std::uint32_t TickCount() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  qm::app::Configuration config;
  qm::app::StartupPlan plan = qm::app::PlanStartup(config, args);
  if (plan.anotherInstance) {
    if (plan.raiseError)
      std::fprintf(stderr, "quillmar: another instance is running but did not answer: %s\n",
                   std::strerror(plan.raiseError));
    else
      std::fprintf(stderr, "quillmar: already running; the running window was brought to the front\n");
    return 0;
  }

  QApplication app(argc, argv);
  // Numbers in files and the configuration always use '.'.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("Quillmar");
  QApplication::setApplicationVersion(QM_VERSION);
  QGuiApplication::setDesktopFileName("quillmar");
  QApplication::setOverrideCursor(Qt::WaitCursor);

  std::unique_ptr<QSplashScreen> splash;
  if (plan.showSplash) {
    std::uint32_t start = TickCount();
    splash = std::make_unique<QSplashScreen>(qm::app::SplashPicture());
    splash->show();
    app.processEvents();
    while (!qm::app::SplashTimeElapsed(start, TickCount()))
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  qm::app::TCADChild mainWindow(config);
  qm::exchange::Engines().Register(qm::exchange::kSysSetup, 1, [&](const qm::exchange::EngineArgs&) {
    return qm::platform::RunSettingsDialog(config.Profile(), &mainWindow);
  });
  qm::platform::InstallTerminationHandler(&app, [&] { mainWindow.close(); });

  if (splash) {
    splash->finish(&mainWindow);
    splash.reset();
  }
  QApplication::restoreOverrideCursor();
  mainWindow.show();
  // A drawing named on the command line opens once the window is up.
  if (!plan.firstArgument.empty())
    QTimer::singleShot(0, &mainWindow, [&] { mainWindow.OpenCommandLine(plan.firstArgument); });
  return app.exec();
}
