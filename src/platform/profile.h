#pragma once
// Windows-style profile ("ini") files: "[Section]" headers and "key=value"
// lines. Reads and writes behave as the classic private-profile functions do:
// sections and keys match without regard to case, the first match wins,
// values are trimmed and lose one pair of enclosing quotes, a write replaces
// the value in place and keeps every other line, comment and their order, and
// a missing file, section or key is created by the first write.
//
// The file is re-read whenever it changed on disk (companion programs share
// it), and rewritten atomically only when a write changes its contents.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::platform {

class ProfileFile {
 public:
  explicit ProfileFile(std::string path = {});

  const std::string& Path() const { return path_; }
  void SetPath(std::string path);

  // The value, or `def` when the section or key is missing; at most
  // `maxChars` bytes are returned (the classic 256-byte buffer holds 255).
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def,
                         std::size_t maxChars = 255);
  // The leading decimal integer of the value (0 when the value has none), or
  // `def` when the key is missing.
  int ReadInt(std::string_view section, std::string_view key, int def);
  // Present only when the key exists.
  std::optional<std::string> Find(std::string_view section, std::string_view key);

  // Result: 0 or an errno value. Line breaks in `value` become spaces.
  int WriteString(std::string_view section, std::string_view key, std::string_view value);

  // Every "key=value" pair of a section in file order (for dumps and tests).
  std::vector<std::pair<std::string, std::string>> Section(std::string_view section);

 private:
  struct Line {
    std::string text;  // without the line break
  };
  void Refresh();
  // Index of the section header line, or npos.
  std::size_t FindSection(std::string_view section) const;
  std::size_t FindKey(std::size_t sectionLine, std::string_view key, std::string* value) const;
  int Flush();

  std::string path_;
  std::vector<Line> lines_;
  bool crlf_ = false;
  // What the file looked like when last read: (exists, size, mtime ns, inode).
  struct Stamp {
    bool exists = false;
    std::int64_t size = 0, mtimeNs = 0;
    std::uint64_t inode = 0;
    bool operator==(const Stamp&) const = default;
  };
  Stamp stamp_;
  bool loaded_ = false;
  static Stamp StampOf(const std::string& path);
};

}  // namespace qm::platform
