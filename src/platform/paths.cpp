#include "platform/paths.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm::platform {

std::string JoinPath(std::string_view dir, std::string_view name) {
  while (!name.empty() && (name.front() == '/' || name.front() == '\\')) name.remove_prefix(1);
  std::string out(dir);
  if (out.empty()) return std::string(name);
  if (out.back() != '/') out.push_back('/');
  out.append(name);
  return out;
}

std::string DirectoryOf(std::string_view path) {
  auto pos = path.rfind('/');
  if (pos == std::string_view::npos) return {};
  if (pos == 0) return "/";
  return std::string(path.substr(0, pos));
}

std::string FileNameOf(std::string_view path) {
  auto pos = path.rfind('/');
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string ExtensionOf(std::string_view path) {
  std::string name = FileNameOf(path);
  auto dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return {};
  return name.substr(dot);
}

bool HasExtension(std::string_view path, std::string_view ext) {
  return EqualsNoCase(ExtensionOf(path), ext);
}

bool IsAbsolutePath(std::string_view path) { return !path.empty() && path.front() == '/'; }

std::string ResolveAgainst(std::string_view base, std::string_view path) {
  if (IsAbsolutePath(path)) return std::string(path);
  std::string rest(path);
  while (rest.size() >= 2 && rest[0] == '.' && rest[1] == '/') rest.erase(0, 2);
  if (rest == "." || rest.empty()) return std::string(base);
  return JoinPath(base, rest);
}

int EnsureDirectory(const std::string& path, bool private_) {
  if (path.empty()) return ENOENT;
  if (IsDirectory(path)) return 0;
  std::string parent = DirectoryOf(path);
  if (!parent.empty() && parent != path) {
    if (int err = EnsureDirectory(parent, private_)) return err;
  }
  if (::mkdir(path.c_str(), private_ ? 0700 : 0755) != 0 && errno != EEXIST) return errno;
  return IsDirectory(path) ? 0 : ENOTDIR;
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {
std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}
std::string Home() {
  std::string h = Env("HOME");
  if (!h.empty()) return h;
  if (const passwd* pw = ::getpwuid(::getuid())) return pw->pw_dir;
  return "/tmp";
}
}  // namespace

std::string ConfigDirectory() {
  std::string dir = Env("QUILLMAR_CONFIG_DIR");
  if (!dir.empty()) return dir;
  dir = Env("XDG_CONFIG_HOME");
  if (IsAbsolutePath(dir)) return JoinPath(dir, "quillmar");
  return JoinPath(Home(), ".config/quillmar");
}

std::string RuntimeDirectory() {
  std::string dir = Env("XDG_RUNTIME_DIR");
  if (IsAbsolutePath(dir)) return JoinPath(dir, "quillmar");
  return "/tmp/quillmar-" + std::to_string(::getuid());
}

std::string ExecutableDirectory() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "./";
  std::string dir = DirectoryOf(std::string_view(buf, static_cast<std::size_t>(n)));
  if (dir.empty() || dir.back() != '/') dir.push_back('/');
  return dir;
}

std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace qm::platform
