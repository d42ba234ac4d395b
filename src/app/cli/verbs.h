#pragma once
#include <ostream>

#include "app/cli/options.h"

namespace qm::cli {

int RunConfig(const Options& opts, std::ostream& out, std::ostream& err);
int RunInfo(const Options& opts, std::ostream& out, std::ostream& err);
int RunRender(const Options& opts, std::ostream& out, std::ostream& err);

}  // namespace qm::cli
