#include "app/forms/help.h"

#include <QDesktopServices>
#include <QDir>

#include "platform/paths.h"

namespace qm::app {

namespace {

THelpOpener& Opener() {
  static THelpOpener opener;
  return opener;
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
  return platform::AsciiLower(text).find(platform::AsciiLower(part)) != std::string::npos;
}

}  // namespace

const std::vector<THelpTopic>& HelpTopics() {
  static const std::vector<THelpTopic> kTopics = {
      {"Getting started", "getting-started.html"},
      {"Main window", "getting-started.html#window"},
      {"Status line", "getting-started.html#status"},
      {"Keyboard", "getting-started.html#keyboard"},
      {"Commands", "commands.html"},
      {"New", "commands.html#new"},
      {"Open", "commands.html#open"},
      {"Save", "commands.html#save"},
      {"Save As", "commands.html#save-as"},
      {"Export", "commands.html#save-as"},
      {"Recent files", "commands.html#recent"},
      {"Exit", "commands.html#exit"},
      {"Close query", "commands.html#exit"},
      {"Undo", "commands.html#undo"},
      {"Redo", "commands.html#undo"},
      {"Reset Activity", "commands.html#reset"},
      {"Zoom All", "commands.html#zoom"},
      {"Zoom Double", "commands.html#zoom"},
      {"Zoom Half", "commands.html#zoom"},
      {"Zoom Window", "commands.html#zoom"},
      {"Zoom Previous", "commands.html#zoom"},
      {"Zoom Selected", "commands.html#zoom"},
      {"Pan", "commands.html#zoom"},
      {"Filled", "commands.html#view"},
      {"Arrows", "commands.html#view"},
      {"Background picture", "commands.html#view"},
      {"Layers", "commands.html#layers"},
      {"Add Layer", "commands.html#layers"},
      {"Empty Layer", "commands.html#layers"},
      {"Layer tabs", "commands.html#layer-tabs"},
      {"Layer colour", "commands.html#layer-tabs"},
      {"Layer name", "commands.html#layer-tabs"},
      {"Remove layer", "commands.html#layer-tabs"},
      {"Companion programs", "commands.html#system"},
      {"Customize Toolbars", "commands.html#toolbars"},
      {"Toolbars", "commands.html#toolbars"},
      {"Options", "commands.html#system"},
      {"Unavailable commands", "commands.html#later"},
      {"Files", "files.html"},
      {"Drawing files", "files.html#drawings"},
      {"Configuration", "files.html#configuration"},
      {"quillery5.ini", "files.html#configuration"},
      {"Units", "files.html#configuration"},
      {"Toolbar layout file", "files.html#toolbar-layout"},
      {"Quillmar.lay", "files.html#toolbar-layout"},
      {"Mail box", "files.html#mail-box"},
      {"Crash recovery", "files.html#snapshots"},
      {"Language", "files.html#language"},
      {"Command line", "cli.html"},
      {"quillmar-cli", "cli.html#cli"},
      {"Help", "using-help.html"},
  };
  return kTopics;
}

std::string HelpDirectory() {
  const std::string exe = platform::ExecutableDirectory();
  const std::string beside = exe + "help";
  if (platform::FileExists(platform::JoinPath(beside, kHelpContentsPage))) return beside;
  return QDir::cleanPath(QString::fromStdString(exe + "../share/quillmar/help")).toStdString();
}

std::string HelpContentsPath() { return platform::JoinPath(HelpDirectory(), kHelpContentsPage); }

std::string_view HelpPageFor(std::string_view keyword) {
  if (keyword.empty()) return {};
  const auto& topics = HelpTopics();
  for (const auto& t : topics)
    if (platform::EqualsNoCase(t.keyword, keyword)) return t.page;
  for (const auto& t : topics)
    if (t.keyword.size() >= keyword.size() && platform::EqualsNoCase(t.keyword.substr(0, keyword.size()), keyword))
      return t.page;
  for (const auto& t : topics)
    if (ContainsNoCase(t.keyword, keyword)) return t.page;
  return {};
}

QUrl HelpUrl(const std::string& helpDirectory, std::string_view page) {
  std::string_view file = page, anchor;
  if (auto hash = page.find('#'); hash != std::string_view::npos) {
    file = page.substr(0, hash);
    anchor = page.substr(hash + 1);
  }
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(platform::JoinPath(helpDirectory, file)));
  if (!anchor.empty()) url.setFragment(QString::fromUtf8(anchor.data(), static_cast<qsizetype>(anchor.size())));
  return url;
}

void SetHelpOpener(THelpOpener opener) { Opener() = std::move(opener); }

bool OpenHelpUrl(const QUrl& url) {
  if (Opener()) return Opener()(url);
  return QDesktopServices::openUrl(url);
}

}  // namespace qm::app
