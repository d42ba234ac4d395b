#pragma once
// The program's help: HTML pages installed with the program, opened in the
// desktop's browser. Contents, the keyword search and topic jumps by keyword
// all end in one page (and anchor) of the help directory.
#include <QUrl>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::app {

struct THelpTopic {
  std::string_view keyword;  // as offered by the search ("Layers", "Zoom All")
  std::string_view page;     // page and anchor inside the help directory
};
// Every keyword with its page, in the order the search lists them.
const std::vector<THelpTopic>& HelpTopics();

inline constexpr std::string_view kHelpContentsPage = "index.html";
inline constexpr std::string_view kHelpKeywordsPage = "keywords.html";
inline constexpr std::string_view kHelpOnHelpPage = "using-help.html";

// The directory holding the pages: "help" beside the executable (the build
// tree), else share/quillmar/help of the installation; the first of them
// that holds the contents page, else the installed one.
std::string HelpDirectory();
// The contents page inside HelpDirectory(); the application's help file.
std::string HelpContentsPath();

// The page for a keyword: an exact match (ignoring case) first, else the
// first keyword beginning with it, else the first one containing it; "" for
// none (and for an empty keyword).
std::string_view HelpPageFor(std::string_view keyword);

// A page (with its anchor) of the help directory as a file URL.
QUrl HelpUrl(const std::string& helpDirectory, std::string_view page);

// Opens the URL in the desktop's browser; tests replace the opener. False
// when the desktop could not open it.
using THelpOpener = std::function<bool(const QUrl&)>;
void SetHelpOpener(THelpOpener opener);
bool OpenHelpUrl(const QUrl& url);

}  // namespace qm::app
