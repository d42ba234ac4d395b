#pragma once
// A main window on the offscreen platform with its own configuration and
// runtime directories, and scripted answers for its message boxes and file
// dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "app/config.h"
#include "app/document.h"
#include "app/forms/main_window.h"
#include "app/forms/window_prompts.h"
#include "model/line.h"
#include "test_support.h"

namespace qm::test {

// One application object for the whole test program.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "qm_app_forms_tests";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);
  }
  void TearDown() override { delete app_; }

 private:
  QApplication* app_ = nullptr;
};

class ScriptedPrompts : public app::TWindowPrompts {
 public:
  app::TAnswer Ask(const QString& caption, const QString& text, bool withCancel) override {
    asked.push_back(text.toStdString());
    askedCaptions.push_back(caption.toStdString());
    askedWithCancel.push_back(withCancel);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text.toStdString();
      return app::TAnswer::Cancel;
    }
    app::TAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  void Tell(const QString&, const QString& text, app::TNoteIcon) override { told.push_back(text.toStdString()); }
  std::optional<std::string> ChooseOpenFile() override { return Next(openFiles, "open"); }
  std::optional<std::string> ChooseSaveFile(bool drawingTypeOnly) override {
    saveDrawingTypeOnly.push_back(drawingTypeOnly);
    return Next(saveFiles, "save");
  }
  std::optional<int> ChooseColorIndex(int, const platform::ColorTable&, QPoint) override { return color; }
  std::optional<QString> ChooseHelpKeyword(const QStringList&) override { return keyword; }

  std::deque<app::TAnswer> answers;
  std::deque<std::optional<std::string>> openFiles, saveFiles;
  std::optional<int> color;
  std::optional<QString> keyword;
  std::vector<std::string> asked, askedCaptions, told;
  std::vector<bool> askedWithCancel, saveDrawingTypeOnly;

 private:
  std::optional<std::string> Next(std::deque<std::optional<std::string>>& q, const char* which) {
    if (q.empty()) {
      ADD_FAILURE() << "unexpected " << which << " dialog";
      return std::nullopt;
    }
    auto v = q.front();
    q.pop_front();
    return v;
  }
};

// Writes a drawing with one layer holding the given lines.
inline void MakeDrawing(const std::string& path, const std::vector<std::pair<TPointD, TPointD>>& lines,
                        std::int16_t color = 1) {
  static const std::vector<std::uint32_t> kPixels(32 * 24, 0xFF000000u);
  app::TDrawingDocument doc;
  doc.SetPreviewSource([] { return TPreviewSource{32, 24, 32, kPixels.data()}; });
  doc.SetNewLayerColor([color] { return color; });
  doc.New();
  for (const auto& [a, b] : lines) doc.Layout().InsertIntoLayer(std::make_unique<TCadLine>(a, b));
  ASSERT_EQ(doc.Save(path, app::TFileKind::Native), 0) << path;
}

inline bool WaitFor(const std::function<bool()>& condition, int ms = 5000) {
  QElapsedTimer t;
  t.start();
  while (!condition()) {
    if (t.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    configDir = tmp / "config";
    runtimeDir = tmp / "run";
    ::mkdir(runtimeDir.c_str(), 0700);
    ::setenv("QUILLMAR_CONFIG_DIR", configDir.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
    config = std::make_unique<app::Configuration>(configDir, runtimeDir + "/quillmar");
    config->Initialise();
  }
  void TearDown() override {
    if (window) window->SetPrompts(nullptr);
    window.reset();
  }

  // Creates and shows the window (which starts a new drawing).
  app::TCADChild& Start() {
    window = std::make_unique<app::TCADChild>(*config);
    window->SetPrompts(&prompts);
    window->resize(900, 600);
    window->show();
    QCoreApplication::processEvents();
    return *window;
  }
  // Destroys the window as the program's end does (the close query is not
  // part of it).
  void Stop() {
    if (!window) return;
    window->SetPrompts(nullptr);
    window.reset();
  }
  std::string Ini() const { return ReadFile(configDir + "/quillery5.ini"); }
  std::string LayoutPath() const { return configDir + "/Quillmar.lay"; }

  // Puts a line into the active layer and records it, as a drafting tool does.
  void DrawLine(TPointD a, TPointD b) {
    window->Layout().InsertIntoLayer(std::make_unique<TCadLine>(a, b));
    window->Layout().UpdateExtents();
    window->RecordAction("Line");
    window->RedrawAll();
  }

  TempDir tmp;
  std::string configDir, runtimeDir;
  std::unique_ptr<app::Configuration> config;
  ScriptedPrompts prompts;
  std::unique_ptr<app::TCADChild> window;
};

}  // namespace qm::test
