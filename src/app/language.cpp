#include "app/language.h"

#include <cerrno>

#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace qm::app {

namespace {
std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}
}  // namespace

std::string LanguageFilePath() {
  std::string exe = platform::ExecutableDirectory();
  std::string beside = exe + "quillmar.lan";
  if (platform::FileExists(beside)) return beside;
  std::string shared = exe + "../share/quillmar/quillmar.lan";
  if (platform::FileExists(shared)) return shared;
  return beside;
}

int LanguageFile::Load(const std::string& path) {
  path_ = path;
  languages_.clear();
  std::string bytes;
  int err = platform::ReadWholeFile(path, bytes, 8u << 20);
  if (err == ENOENT) return 0;
  if (err) return err;
  std::map<std::string, std::string, std::less<>>* current = nullptr;
  std::size_t start = 0;
  while (start <= bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string_view line = Trim(std::string_view(bytes).substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      current = &languages_[std::string(Trim(line.substr(1, line.size() - 2)))];
      continue;
    }
    auto eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    (*current)[std::string(Trim(line.substr(0, eq)))] = std::string(line.substr(eq + 1));
  }
  return 0;
}

std::vector<std::string> LanguageFile::Languages() const {
  std::vector<std::string> out;
  for (const auto& [name, texts] : languages_) out.push_back(name);
  return out;
}

const std::string* LanguageFile::Text(std::string_view language, std::string_view key) const {
  auto lang = languages_.find(language);
  if (lang == languages_.end()) return nullptr;
  auto it = lang->second.find(key);
  return it == lang->second.end() ? nullptr : &it->second;
}

TMultiLang::TMultiLang(std::string formName) : formName_(std::move(formName)), name_(formName_ + "MultLang1") {}

void TMultiLang::Register(std::string component, std::string property, std::string builtin,
                          std::function<void(const std::string&)> apply) {
  Entry e{std::move(component), std::move(property), std::move(builtin), std::move(apply)};
  if (e.apply) e.apply(Text(e.component, e.property, e.builtin));
  entries_.push_back(std::move(e));
}

void TMultiLang::SetLanguage(std::string language) {
  language_ = std::move(language);
  for (const Entry& e : entries_)
    if (e.apply) e.apply(Text(e.component, e.property, e.builtin));
}

std::string TMultiLang::Text(std::string_view component, std::string_view property, std::string_view builtin) const {
  if (language_ == "English" || !file_) return std::string(builtin);
  std::string key = formName_ + "." + std::string(component) + "." + std::string(property);
  const std::string* t = file_->Text(language_, key);
  return t ? *t : std::string(builtin);
}

std::string TMultiLang::Message(int number, std::string_view fallback) const {
  if (file_) {
    std::string key = "@" + std::to_string(number);
    // Messages have texts in English too: the file may word them differently
    // from the call site's fallback.
    if (const std::string* t = file_->Text(language_, key)) return *t;
  }
  return std::string(fallback);
}

}  // namespace qm::app
