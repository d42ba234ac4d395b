#pragma once
// The multi-language component. The language file "quillmar.lan" beside the
// executable is plain text:
//
//   # comment
//   [German]
//   TCADChild.FileItem.Caption=&Datei
//   TCADChild.SBNew.Hint=Neue Zeichnung
//   @101=Zeichnung speichern?
//
// Sections name languages; "Form.Component.Property=text" lines give the
// texts of a form's components, "@N=text" the numbered message and caption
// texts. "English" is the language the forms are built in: switching to it
// restores the built-in texts. A missing text falls back to the built-in one,
// and a missing message to the literal text of its call site.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm::app {

// A parsed language file (one per path, shared by the components).
class LanguageFile {
 public:
  // Result 0, or an errno value when the file exists but cannot be read. A
  // missing file is not an error: it simply has no languages.
  int Load(const std::string& path);
  const std::string& Path() const { return path_; }
  std::vector<std::string> Languages() const;
  const std::string* Text(std::string_view language, std::string_view key) const;

 private:
  std::string path_;
  std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>> languages_;
};

// "quillmar.lan" beside the executable, or in ../share/quillmar when the
// program is installed.
std::string LanguageFilePath();

class TMultiLang {
 public:
  // `formName` is the class name of the form the component belongs to; the
  // component is named after it ("TCADChildMultLang1").
  explicit TMultiLang(std::string formName);

  const std::string& Name() const { return name_; }
  const std::string& FormName() const { return formName_; }
  void SetLanguageFile(std::shared_ptr<const LanguageFile> file) { file_ = std::move(file); }
  const std::string& Language() const { return language_; }

  // Registers a translatable text with its built-in value and the setter
  // that shows it; the setter runs at once with the current language's text.
  void Register(std::string component, std::string property, std::string builtin,
                std::function<void(const std::string&)> apply);
  // Switches every registered text; "English" (or an unknown language)
  // restores the built-in texts.
  void SetLanguage(std::string language);

  std::string Text(std::string_view component, std::string_view property, std::string_view builtin) const;
  std::string Message(int number, std::string_view fallback) const;

 private:
  struct Entry {
    std::string component, property, builtin;
    std::function<void(const std::string&)> apply;
  };
  std::string formName_, name_, language_ = "English";
  std::shared_ptr<const LanguageFile> file_;
  std::vector<Entry> entries_;
};

}  // namespace qm::app
