#pragma once
// A decoder for PCX pictures (1-, 2-, 4- and 8-bit palette images, EGA
// bit planes and 24-bit colour), for the view's background picture.
#include <cstdint>
#include <string_view>
#include <vector>

namespace qm {

struct TDecodedPicture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // row-major, top row first, 0xFFRRGGBB
  double dpiX = 0, dpiY = 0;          // 0 when the file does not say
};

enum class PcxResult : std::int8_t {
  Ok = 0,
  NotPcx = -1,       // not a PCX file
  Unsupported = -2,  // a PCX variant this decoder does not read
  Damaged = -3,      // truncated or inconsistent data
  TooLarge = -4,     // larger than the decoder accepts
};

// Decodes a whole PCX file. The input is untrusted: sizes are bounded
// (at most 32768 pixels a side and 2^28 pixels in all) and every read is
// checked against the data.
PcxResult DecodePcx(std::string_view bytes, TDecodedPicture& out);

}  // namespace qm
