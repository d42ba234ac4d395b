#include "platform/registry.h"

#include "platform/paths.h"

namespace qm::platform {

FormRegistry::FormRegistry(std::string configDir) {
  if (!configDir.empty()) SetDirectory(configDir);
}

void FormRegistry::SetDirectory(const std::string& configDir) {
  file_.SetPath(JoinPath(configDir, "registry.ini"));
}

int FormRegistry::ReadInt(std::string_view name, int def) {
  auto v = file_.Find("Forms", name);
  if (!v || v->empty()) return def;
  // Only a complete decimal number counts; anything else keeps the default.
  std::size_t i = 0;
  if ((*v)[0] == '-' || (*v)[0] == '+') i = 1;
  if (i >= v->size()) return def;
  long long n = 0;
  for (; i < v->size(); ++i) {
    char c = (*v)[i];
    if (c < '0' || c > '9') return def;
    n = n * 10 + (c - '0');
    if (n > 1000000000LL) return def;
  }
  return static_cast<int>((*v)[0] == '-' ? -n : n);
}

int FormRegistry::WriteInt(std::string_view name, int value) {
  return file_.WriteString("Forms", name, std::to_string(value));
}

}  // namespace qm::platform
