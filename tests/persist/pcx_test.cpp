#include <gtest/gtest.h>

#include "persist/pcx.h"

using namespace qm;

namespace {

// Builds a PCX file: header, RLE-encoded lines, optional 256-colour palette.
std::string MakePcx(int w, int h, int bpp, int planes, int bytesPerLine, const std::vector<std::vector<uint8_t>>& lines,
                    const std::string& tail = {}) {
  std::string f(128, '\0');
  f[0] = 0x0A;
  f[1] = 5;
  f[2] = 1;
  f[3] = static_cast<char>(bpp);
  auto put16 = [&](int off, int v) {
    f[off] = static_cast<char>(v & 0xFF);
    f[off + 1] = static_cast<char>(v >> 8);
  };
  put16(8, w - 1);
  put16(10, h - 1);
  put16(12, 300);
  put16(14, 300);
  f[65] = static_cast<char>(planes);
  put16(66, bytesPerLine);
  for (const auto& line : lines) {
    for (std::size_t i = 0; i < line.size();) {
      std::size_t run = 1;
      while (i + run < line.size() && line[i + run] == line[i] && run < 63) ++run;
      if (run > 1 || (line[i] & 0xC0) == 0xC0) {
        f.push_back(static_cast<char>(0xC0 | run));
      }
      f.push_back(static_cast<char>(line[i]));
      i += run;
    }
  }
  return f + tail;
}

std::string Palette256() {
  std::string p(1, '\x0C');
  for (int i = 0; i < 256; ++i) p += std::string{static_cast<char>(i), static_cast<char>(255 - i), 0};
  return p;
}

}  // namespace

TEST(Pcx, DecodesPaletteAndTrueColourImages) {
  // 8-bit with the 256-entry palette; the run of 0xC5 bytes needs escaping.
  std::string f8 = MakePcx(3, 2, 8, 1, 4, {{1, 0xC5, 0xC5, 0}, {2, 2, 2, 0}}, Palette256());
  TDecodedPicture pic;
  ASSERT_EQ(DecodePcx(f8, pic), PcxResult::Ok);
  ASSERT_EQ(pic.width, 3);
  ASSERT_EQ(pic.height, 2);
  EXPECT_EQ(pic.pixels[0], 0xFF01FE00u);
  EXPECT_EQ(pic.pixels[1], 0xFFC53A00u);
  EXPECT_EQ(pic.pixels[5], 0xFF02FD00u);
  EXPECT_EQ(pic.dpiX, 300);

  // 24-bit: three planes of one line each.
  std::string f24 = MakePcx(2, 1, 8, 3, 2, {{10, 20, 30, 40, 50, 60}});
  ASSERT_EQ(DecodePcx(f24, pic), PcxResult::Ok);
  EXPECT_EQ(pic.pixels[0], 0xFF0A1E32u);
  EXPECT_EQ(pic.pixels[1], 0xFF14283Cu);

  // Monochrome without a header palette: black and white.
  std::string f1 = MakePcx(8, 1, 1, 1, 2, {{0xF0, 0}});
  ASSERT_EQ(DecodePcx(f1, pic), PcxResult::Ok);
  EXPECT_EQ(pic.pixels[0], 0xFFFFFFFFu);
  EXPECT_EQ(pic.pixels[7], 0xFF000000u);
}

TEST(Pcx, RejectsHostileFiles) {
  std::string good = MakePcx(3, 2, 8, 1, 4, {{1, 2, 3, 0}, {2, 2, 2, 0}}, Palette256());
  TDecodedPicture pic;
  // Every truncation fails cleanly (the palette marker moves or data runs out).
  for (std::size_t n = 0; n < good.size(); ++n)
    EXPECT_NE(DecodePcx(good.substr(0, n), pic), PcxResult::Ok) << n;
  std::string huge = good;
  huge[8] = '\xFF';
  huge[9] = '\xFF';
  huge[10] = '\xFF';
  huge[11] = '\xFF';
  EXPECT_EQ(DecodePcx(huge, pic), PcxResult::TooLarge);
  std::string narrow = good;
  narrow[66] = 1;  // a line of 1 byte cannot hold 3 pixels
  EXPECT_EQ(DecodePcx(narrow, pic), PcxResult::Damaged);
  std::string odd = good;
  odd[3] = 5;
  EXPECT_EQ(DecodePcx(odd, pic), PcxResult::Unsupported);
  EXPECT_EQ(DecodePcx("GIF89a", pic), PcxResult::NotPcx);
}

#include <filesystem>

#include "persist/drawing_file.h"
#include "test_support.h"

// Inputs the fuzzers once crashed on: each reader must now answer calmly.
TEST(FuzzCrashes, ReplayWithoutCrashing) {
  namespace fs = std::filesystem;
  fs::path dir = fs::path(QM_TEST_SOURCE_DIR) / "persist" / "fuzz_crashes";
  int replayed = 0;
  for (const auto& e : fs::directory_iterator(dir)) {
    std::string bytes = qm::test::ReadFile(e.path().string());
    TDecodedPicture pic;
    TLoadedDrawing d;
    DecodePcx(bytes, pic);
    ParseDrawing(bytes, d);
    ParseCadV4(bytes, d);
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
}
