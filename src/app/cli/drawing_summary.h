#pragma once
// Loading a drawing for the headless verbs, with errors as a user reads them.
#include <ostream>
#include <string>

#include "persist/drawing_file.h"

namespace qm::cli {

// Loads FILE (native, ".cad" or a drawing with another extension). On
// failure writes "quillmar-cli VERB: FILE: message (result N)" to `err`
// and answers false.
bool LoadForVerb(const std::string& verb, const std::string& path, TLoadedDrawing& d, std::ostream& err);

// Extents of the visible layers' members; false when there is nothing.
bool VisibleExtents(const TLoadedDrawing& d, TBox& box);

}  // namespace qm::cli
