// quillmar-cli: the drafting core, headless.
#include <clocale>
#include <iostream>

#include "app/cli/options.h"
#include "geom/geometry.h"

namespace {

void Usage(std::ostream& os) {
  os << "Usage: quillmar-cli VERB [OPTIONS] [ARGS]\n"
        "       quillmar-cli --help | --version | VERB --help\n\n"
        "Verbs:\n";
  for (const auto& v : qm::cli::Verbs()) os << "  " << v.synopsis << "\n      " << v.summary << "\n";
  os << "\nThe configuration directory is $QUILLMAR_CONFIG_DIR, else $XDG_CONFIG_HOME/quillmar,\n"
        "else ~/.config/quillmar.\n";
}

void VerbUsage(const qm::cli::Verb& v, std::ostream& os) {
  os << "Usage: quillmar-cli " << v.synopsis << "\n" << v.summary << "\n";
  if (!v.options.empty()) os << "\nOptions:\n";
  for (const auto& o : v.options) os << "  --" << o.name << (o.takesValue ? " VALUE" : "") << "\n      " << o.help << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_NUMERIC, "C");
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    Usage(std::cerr);
    return qm::cli::kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    Usage(std::cout);
    return qm::cli::kExitOk;
  }
  if (args[0] == "--version") {
    std::cout << "quillmar-cli " << QM_VERSION << "\n";
    return qm::cli::kExitOk;
  }
  for (const auto& verb : qm::cli::Verbs()) {
    if (verb.name != args[0]) continue;
    std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const auto& a : rest)
      if (a == "--help" || a == "-h") {
        VerbUsage(verb, std::cout);
        return qm::cli::kExitOk;
      }
    qm::cli::Options opts;
    std::string error;
    if (!qm::cli::ParseOptions(rest, verb.options, opts, error)) {
      std::cerr << "quillmar-cli " << verb.name << ": " << error << "\n";
      VerbUsage(verb, std::cerr);
      return qm::cli::kExitUsage;
    }
    qm::SetTolerance(1.0e-6);
    return verb.run(opts, std::cout, std::cerr);
  }
  std::cerr << "quillmar-cli: unknown verb '" << args[0] << "'\n";
  Usage(std::cerr);
  return qm::cli::kExitUsage;
}
