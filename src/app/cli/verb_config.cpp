// quillmar-cli config: the effective configuration record as JSON.
#include "app/cli/verbs.h"
#include "app/config.h"

namespace qm::cli {

int RunConfig(const Options& opts, std::ostream& out, std::ostream& err) {
  if (!opts.positional.empty()) {
    err << "quillmar-cli config: unexpected argument " << opts.positional.front() << "\n";
    return kExitUsage;
  }
  // The same reads as a start of the program: every key is read and
  // written back, so the file and the record agree afterwards.
  app::Configuration config(opts.Value("config-dir"));
  config.Initialise();
  config.LoadUserDefaults(nullptr);
  config.ApplyLanguage(nullptr);
  out << app::ConfigToJson(config);
  return kExitOk;
}

}  // namespace qm::cli
