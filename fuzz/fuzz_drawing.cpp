// The native drawing reader on arbitrary bytes: it must answer a result code,
// never crash, hang or read out of bounds.
#include <cstddef>
#include <cstdint>

#include "persist/drawing_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::TLoadedDrawing d;
  qm::ParseDrawing(std::string_view(reinterpret_cast<const char*>(data), size), d);
  return 0;
}
