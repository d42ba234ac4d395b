#pragma once
// The colour table: built once at start-up from the default palette; layer
// colours, the grid colour and the background colour index into it.
#include <cstdint>
#include <vector>

namespace qm::platform {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// The classic 20-entry desktop default palette: 0 black, 1–6 the dark
// primaries, 7 light grey, 8–11 the four reserved pastel entries, 12 dark grey,
// 13–18 the bright primaries, 19 white.
const std::vector<Rgb>& DefaultPalette();

class ColorTable {
 public:
  ColorTable() = default;
  explicit ColorTable(std::vector<Rgb> entries) : entries_(std::move(entries)) {}
  static ColorTable FromDefaultPalette() { return ColorTable(DefaultPalette()); }

  int Count() const { return static_cast<int>(entries_.size()); }
  // Out-of-range indexes wrap into the table, so a stored drawing with more
  // colours than this table still draws in some colour.
  Rgb At(int index) const;
  const std::vector<Rgb>& Entries() const { return entries_; }

 private:
  std::vector<Rgb> entries_;
};

}  // namespace qm::platform
