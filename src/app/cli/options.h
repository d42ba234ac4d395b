#pragma once
// Option parsing shared by the verbs of quillmar-cli.
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qm::cli {

struct OptionSpec {
  std::string name;  // without the leading "--"
  bool takesValue = false;
  std::string help;
};

struct Options {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;  // options with values
  std::set<std::string> flags;                // options without values
  bool Has(std::string_view name) const {
    return flags.count(std::string(name)) || values.count(std::string(name));
  }
  std::string Value(std::string_view name, std::string def = {}) const {
    auto it = values.find(std::string(name));
    return it == values.end() ? def : it->second;
  }
};

// Parses "--name value", "--name=value", "--flag" and positionals ("--" ends
// the options). False with a message in `error` for unknown options, a
// missing value or a value given to a flag.
bool ParseOptions(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs, Options& out,
                  std::string& error);

struct Verb {
  std::string name, synopsis, summary;
  std::vector<OptionSpec> options;
  // Exit status: 0 success, 1 a failure the verb reported, 2 a usage error.
  int (*run)(const Options& opts, std::ostream& out, std::ostream& err);
};

const std::vector<Verb>& Verbs();

// Exit statuses.
inline constexpr int kExitOk = 0, kExitFailure = 1, kExitUsage = 2;

}  // namespace qm::cli
