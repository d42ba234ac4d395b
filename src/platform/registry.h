#pragma once
// The per-user store of form positions: "registry.ini" in the configuration
// directory, section [Forms], values as decimal text ("DraftToolBox.Left").
#include <string>
#include <string_view>

#include "platform/profile.h"

namespace qm::platform {

class FormRegistry {
 public:
  explicit FormRegistry(std::string configDir = {});
  void SetDirectory(const std::string& configDir);
  const std::string& Path() const { return file_.Path(); }

  int ReadInt(std::string_view name, int def);
  int WriteInt(std::string_view name, int value);  // 0 or errno

 private:
  ProfileFile file_;
};

}  // namespace qm::platform
