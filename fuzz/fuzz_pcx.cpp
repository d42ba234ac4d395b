// The PCX decoder on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "persist/pcx.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::TDecodedPicture pic;
  qm::DecodePcx(std::string_view(reinterpret_cast<const char*>(data), size), pic);
  return 0;
}
