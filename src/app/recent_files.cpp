#include "app/recent_files.h"

#include <algorithm>

namespace qm::app {

namespace {
// Paths are longer than the classic 255 characters on Linux.
constexpr std::size_t kMaxPath = 4095;
const std::string kNoName;
}  // namespace

TRecentFiles::TRecentFiles(platform::ProfileFile& profile, std::string section)
    : profile_(profile), section_(std::move(section)) {}

std::string TRecentFiles::KeyName(int k) { return "LastFile" + std::to_string(k); }

void TRecentFiles::Load() {
  for (int k = 1; k <= kCount; ++k) {
    std::string value = profile_.ReadString(section_, KeyName(k), "", kMaxPath);
    profile_.WriteString(section_, KeyName(k), value);
    names_[static_cast<std::size_t>(k - 1)] = std::move(value);
  }
}

bool TRecentFiles::Add(std::string_view fileName) {
  if (fileName.empty() || fileName.size() > kMaxPath || fileName.find_first_of("\r\n") != std::string_view::npos)
    return false;
  if (std::find(names_.begin(), names_.end(), fileName) != names_.end()) return false;
  std::move_backward(names_.begin(), names_.end() - 1, names_.end());
  names_[0] = std::string(fileName);
  // Every key is written, hidden ones empty, so that the file never shows a
  // name the menu does not.
  for (int k = 1; k <= kCount; ++k) profile_.WriteString(section_, KeyName(k), names_[static_cast<std::size_t>(k - 1)]);
  return true;
}

const std::string& TRecentFiles::Name(int k) const {
  if (k < 1 || k > kCount) return kNoName;
  return names_[static_cast<std::size_t>(k - 1)];
}

std::array<bool, TRecentFiles::kCount> TRecentFiles::VisibleItems() const {
  std::array<bool, kCount> v{};
  for (int k = 1; k <= kCount; ++k) v[static_cast<std::size_t>(k - 1)] = Visible(k);
  return v;
}

}  // namespace qm::app
