#include "platform/palette.h"

namespace qm::platform {

const std::vector<Rgb>& DefaultPalette() {
  static const std::vector<Rgb> kPalette = {
      {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
      {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
      {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
      {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
  };
  return kPalette;
}

Rgb ColorTable::At(int index) const {
  if (entries_.empty()) return {};
  int n = Count();
  int i = index % n;
  if (i < 0) i += n;
  return entries_[static_cast<std::size_t>(i)];
}

}  // namespace qm::platform
