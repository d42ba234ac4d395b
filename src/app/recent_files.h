#pragma once
// The five most recently used drawings of the File menu, kept in the
// configuration file as "LastFile1" (most recent) to "LastFile5" of the
// program's section. Names are kept exactly as given: Linux paths are
// case-sensitive.
#include <array>
#include <string>
#include <string_view>

#include "platform/profile.h"

namespace qm::app {

class TRecentFiles {
 public:
  static constexpr int kCount = 5;

  explicit TRecentFiles(platform::ProfileFile& profile, std::string section = "Quillmar");

  // Reads the five keys, writing each back so that the file lists them even
  // when empty.
  void Load();
  // Puts a name at the top, pushing the others down and the fifth out, and
  // writes all five keys. A name already in the list leaves the list as it
  // is; so does an empty name or one with a line break (the file could not
  // give it back). True when the list changed.
  bool Add(std::string_view fileName);

  // k = 1 .. 5; "" when the item has no name (and is hidden).
  const std::string& Name(int k) const;
  bool Visible(int k) const { return !Name(k).empty(); }
  std::array<bool, kCount> VisibleItems() const;

  static std::string KeyName(int k);  // "LastFile<k>"

 private:
  platform::ProfileFile& profile_;
  std::string section_;
  std::array<std::string, kCount> names_;
};

}  // namespace qm::app
