#include "platform/settings.h"

namespace qm::platform {

namespace {
struct Def {
  const char *section, *key, *label, *def;
  SettingField::Kind kind;
};
constexpr Def kDefs[] = {
    {"Directories", "System", "Program directory", ".", SettingField::Kind::Directory},
    {"Directories", "Mail", "Mail-box directory", "mail-box", SettingField::Kind::Directory},
    {"Directories", "Posts", "Posts directory", "posts", SettingField::Kind::Directory},
    {"Directories", "Fonts", "Fonts directory", "fonts", SettingField::Kind::Directory},
    {"System", "Language", "Language", "English", SettingField::Kind::Text},
    {"System", "Units", "Units", "MM", SettingField::Kind::Choice},
    {"System", "ScreenColorIndex", "Background colour index", "0", SettingField::Kind::Number},
    {"System", "Chain_Tol", "Chain tolerance", "0.001", SettingField::Kind::Number},
    {"System", "Left_Scale", "Left scale", "1", SettingField::Kind::Flag},
    {"System", "Top_Scale", "Top scale", "1", SettingField::Kind::Flag},
    {"System", "Right_Scale", "Right scale", "1", SettingField::Kind::Flag},
    {"System", "Bottom_Scale", "Bottom scale", "1", SettingField::Kind::Flag},
    {"ExternalApp", "ApplicationName", "External application", "", SettingField::Kind::Text},
    {"ExternalApp", "CaptionName", "External window caption", "", SettingField::Kind::Text},
    {"ExternalApp", "DataFile", "External data file", "External.Dat", SettingField::Kind::Text},
};
}  // namespace

SettingsModel::SettingsModel(ProfileFile& profile) : profile_(profile) { Load(); }

void SettingsModel::Load() {
  fields_.clear();
  for (const Def& d : kDefs) {
    SettingField f;
    f.section = d.section;
    f.key = d.key;
    f.label = d.label;
    f.kind = d.kind;
    f.value = profile_.ReadString(d.section, d.key, d.def);
    if (f.kind == SettingField::Kind::Choice) f.choices = {"MM", "INCH"};
    fields_.push_back(std::move(f));
  }
}

int SettingsModel::Save() {
  int changed = 0;
  for (const SettingField& f : fields_) {
    auto current = profile_.Find(f.section, f.key);
    if (current && *current == f.value) continue;
    if (!current) {
      // A key the file does not hold yet counts as changed only when the
      // value differs from the default the program would use.
      for (const Def& d : kDefs)
        if (f.section == d.section && f.key == d.key && f.value == d.def) goto next;
    }
    if (int err = profile_.WriteString(f.section, f.key, f.value)) return -err;
    ++changed;
  next:;
  }
  return changed;
}

}  // namespace qm::platform
