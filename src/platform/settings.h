#pragma once
// The family's settings: the [Directories], [System] and [ExternalApp] keys
// of the shared configuration file, as the settings dialog edits them.
#include <string>
#include <vector>

#include "platform/profile.h"

namespace qm::platform {

struct SettingField {
  std::string section, key, label, value;
  enum class Kind { Text, Directory, Number, Choice, Flag } kind = Kind::Text;
  std::vector<std::string> choices;  // for Choice
};

class SettingsModel {
 public:
  explicit SettingsModel(ProfileFile& profile);
  // Re-reads the current values (missing keys show their defaults).
  void Load();
  std::vector<SettingField>& Fields() { return fields_; }
  // Writes the values that differ from the file. Result: the number of keys
  // changed (> 0 means the family must reload), or -errno when a write failed.
  int Save();

 private:
  ProfileFile& profile_;
  std::vector<SettingField> fields_;
};

}  // namespace qm::platform
