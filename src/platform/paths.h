#pragma once
// Path helpers. Paths are never case-folded: Linux file names are
// case-sensitive, so only extensions are compared without regard to case.
#include <string>
#include <string_view>

namespace qm::platform {

// Joins a directory and a name with one '/'. Leading '/' or '\' of the name
// are dropped, so names written as "\mail.dat" join the same as "mail.dat".
std::string JoinPath(std::string_view dir, std::string_view name);

std::string DirectoryOf(std::string_view path);   // "" when there is no '/'
std::string FileNameOf(std::string_view path);    // last component
std::string ExtensionOf(std::string_view path);   // ".Qmd" as written, "" if none (last component only)
// True when the last component's extension equals `ext` (".qmd"), ignoring case.
bool HasExtension(std::string_view path, std::string_view ext);
bool IsAbsolutePath(std::string_view path);
// `path` when absolute, otherwise `base`/`path` with "." and "./" collapsed.
std::string ResolveAgainst(std::string_view base, std::string_view path);

// Creates a directory and its parents (mode 0700 for new ones when `private_`
// is set, else 0755). Result 0 or errno.
int EnsureDirectory(const std::string& path, bool private_ = false);
bool IsDirectory(const std::string& path);
bool FileExists(const std::string& path);

// $QUILLMAR_CONFIG_DIR, else $XDG_CONFIG_HOME/quillmar, else ~/.config/quillmar.
// Not created here.
std::string ConfigDirectory();
// $XDG_RUNTIME_DIR/quillmar, else /tmp/quillmar-<uid>. Not created here.
std::string RuntimeDirectory();
// Directory of the running executable, with a trailing '/'.
std::string ExecutableDirectory();

std::string AsciiUpper(std::string_view s);
std::string AsciiLower(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace qm::platform
