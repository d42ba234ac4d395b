#include "app/cli/verbs.h"

namespace qm::cli {

const std::vector<Verb>& Verbs() {
  static const std::vector<Verb> kVerbs = {
      {"config", "config [--config-dir DIR]",
       "Print the effective configuration (after every key was read and written back) as JSON.",
       {{"config-dir", true, "use DIR instead of the configuration directory"}},
       RunConfig},
  };
  return kVerbs;
}

}  // namespace qm::cli
