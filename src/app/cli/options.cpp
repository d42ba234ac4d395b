#include "app/cli/options.h"

namespace qm::cli {

bool ParseOptions(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs, Options& out,
                  std::string& error) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.size() < 3 || a.compare(0, 2, "--") != 0) {
      if (a == "--") {
        optionsEnded = true;
        continue;
      }
      out.positional.push_back(a);
      continue;
    }
    std::string name = a.substr(2), value;
    bool inlineValue = false;
    if (auto eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
      inlineValue = true;
    }
    const OptionSpec* spec = nullptr;
    for (const auto& s : specs)
      if (s.name == name) spec = &s;
    if (!spec) {
      error = "unknown option --" + name;
      return false;
    }
    if (!spec->takesValue) {
      if (inlineValue) {
        error = "option --" + name + " takes no value";
        return false;
      }
      out.flags.insert(name);
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        error = "option --" + name + " needs a value";
        return false;
      }
      value = args[++i];
    }
    out.values[name] = value;
  }
  return true;
}

}  // namespace qm::cli
