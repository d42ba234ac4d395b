#include "platform/profile.h"

#include <cerrno>
#include <sys/stat.h>

#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace qm::platform {

namespace {

constexpr std::size_t npos = static_cast<std::size_t>(-1);

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// "[Name]" → Name; nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// "key=value" → (key, raw value); nullopt for comments and other lines.
bool SplitKey(std::string_view line, std::string_view& key, std::string_view& value) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '[') return false;
  auto eq = t.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  return true;
}

std::string Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

void ProfileFile::SetPath(std::string path) {
  path_ = std::move(path);
  loaded_ = false;
}

ProfileFile::Stamp ProfileFile::StampOf(const std::string& path) {
  Stamp s;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return s;
  s.exists = true;
  s.size = st.st_size;
  s.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  s.inode = st.st_ino;
  return s;
}

void ProfileFile::Refresh() {
  Stamp now = StampOf(path_);
  if (loaded_ && now == stamp_) return;
  lines_.clear();
  crlf_ = false;
  std::string bytes;
  if (now.exists && ReadWholeFile(path_, bytes, 16u << 20) == 0) {
    std::size_t start = 0;
    while (start < bytes.size()) {
      std::size_t end = bytes.find('\n', start);
      if (end == std::string::npos) end = bytes.size();
      std::string text = bytes.substr(start, end - start);
      if (!text.empty() && text.back() == '\r') {
        text.pop_back();
        if (lines_.empty()) crlf_ = true;
      }
      lines_.push_back({std::move(text)});
      start = end + 1;
    }
  }
  stamp_ = now;
  loaded_ = true;
}

std::size_t ProfileFile::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    auto name = SectionName(lines_[i].text);
    if (name && EqualsNoCase(*name, section)) return i;
  }
  return npos;
}

std::size_t ProfileFile::FindKey(std::size_t sectionLine, std::string_view key, std::string* value) const {
  for (std::size_t i = sectionLine + 1; i < lines_.size(); ++i) {
    if (SectionName(lines_[i].text)) break;
    std::string_view k, v;
    if (SplitKey(lines_[i].text, k, v) && EqualsNoCase(k, key)) {
      if (value) *value = Unquote(v);
      return i;
    }
  }
  return npos;
}

std::optional<std::string> ProfileFile::Find(std::string_view section, std::string_view key) {
  Refresh();
  std::size_t s = FindSection(section);
  if (s == npos) return std::nullopt;
  std::string value;
  if (FindKey(s, key, &value) == npos) return std::nullopt;
  return value;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key, std::string_view def,
                                    std::size_t maxChars) {
  std::string v = Find(section, key).value_or(std::string(Trim(def)));
  if (v.size() > maxChars) v.resize(maxChars);
  return v;
}

int ProfileFile::ReadInt(std::string_view section, std::string_view key, int def) {
  auto v = Find(section, key);
  if (!v) return def;
  std::string_view s = *v;
  bool neg = false;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  long long n = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    n = n * 10 + (s[i] - '0');
    if (n > 2147483647LL) n = 2147483647LL;
  }
  return static_cast<int>(neg ? -n : n);
}

int ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  Refresh();
  std::string clean(value);
  for (char& c : clean)
    if (c == '\r' || c == '\n') c = ' ';
  std::string keyText(Trim(key));
  std::size_t s = FindSection(section);
  if (s == npos) {
    if (!lines_.empty() && !Trim(lines_.back().text).empty()) lines_.push_back({""});
    lines_.push_back({"[" + std::string(Trim(section)) + "]"});
    lines_.push_back({keyText + "=" + clean});
    return Flush();
  }
  std::size_t k = FindKey(s, key, nullptr);
  if (k != npos) {
    std::string_view oldKey, oldValue;
    SplitKey(lines_[k].text, oldKey, oldValue);
    std::string line = std::string(oldKey) + "=" + clean;
    if (line == lines_[k].text) return 0;
    lines_[k].text = std::move(line);
    return Flush();
  }
  // Insert after the section's last key (comments and blank lines that
  // follow it stay with whatever comes next).
  std::size_t insertAt = s + 1;
  for (std::size_t i = s + 1; i < lines_.size(); ++i) {
    if (SectionName(lines_[i].text)) break;
    std::string_view k, v;
    if (SplitKey(lines_[i].text, k, v)) insertAt = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), Line{keyText + "=" + clean});
  return Flush();
}

std::vector<std::pair<std::string, std::string>> ProfileFile::Section(std::string_view section) {
  Refresh();
  std::vector<std::pair<std::string, std::string>> out;
  std::size_t s = FindSection(section);
  if (s == npos) return out;
  for (std::size_t i = s + 1; i < lines_.size(); ++i) {
    if (SectionName(lines_[i].text)) break;
    std::string_view k, v;
    if (SplitKey(lines_[i].text, k, v)) out.emplace_back(std::string(k), Unquote(v));
  }
  return out;
}

int ProfileFile::Flush() {
  std::string bytes;
  const char* eol = crlf_ ? "\r\n" : "\n";
  for (const Line& l : lines_) {
    bytes += l.text;
    bytes += eol;
  }
  std::string dir = DirectoryOf(path_);
  if (!dir.empty()) {
    if (int err = EnsureDirectory(dir)) return err;
  }
  int err = WriteFileAtomically(path_, bytes);
  // Re-read next time if the write failed, so memory never runs ahead of disk.
  if (err) loaded_ = false;
  else stamp_ = StampOf(path_);
  return err;
}

}  // namespace qm::platform
