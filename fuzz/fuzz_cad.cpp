// The version-4 ".cad" reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "persist/drawing_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::TLoadedDrawing d;
  qm::ParseCadV4(std::string_view(reinterpret_cast<const char*>(data), size), d);
  return 0;
}
