#include "app/cli/verbs.h"

namespace qm::cli {

const std::vector<Verb>& Verbs() {
  static const std::vector<Verb> kVerbs = {
      {"config", "config [--config-dir DIR]",
       "Print the effective configuration (after every key was read and written back) as JSON.",
       {{"config-dir", true, "use DIR instead of the configuration directory"}},
       RunConfig},
      {"info", "info FILE [--json]",
       "Print a drawing's version, layers (name, colour, visibility, entity count) and entities.",
       {{"json", false, "print JSON instead of text"}},
       RunInfo},
      {"render", "render FILE --png OUT [--size WxH]",
       "Draw the whole drawing as the view does (Zoom All) into a WxH picture (default 800x600) saved as PNG.",
       {{"png", true, "the PNG file to write"}, {"size", true, "the picture size, e.g. 1920x1080"}},
       RunRender},
  };
  return kVerbs;
}

}  // namespace qm::cli
