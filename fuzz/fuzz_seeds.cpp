// Writes a small seed corpus for the fuzzers into <dir>/<fuzzer>/.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/arc.h"
#include "model/circle.h"
#include "model/line.h"
#include "persist/drawing_file.h"

namespace {

void Write(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

template <class T>
void Put(std::string& s, T v) {
  s.append(reinterpret_cast<const char*>(&v), sizeof v);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
    return 2;
  }
  namespace fs = std::filesystem;
  fs::path dir = argv[1];
  for (const char* sub : {"fuzz_drawing", "fuzz_cad", "fuzz_pcx"}) fs::create_directories(dir / sub);

  std::vector<std::uint32_t> px(16 * 12, 0xFFFFFFFFu);
  qm::TPreviewSource preview{16, 12, 16, px.data()};
  qm::TCadGroup empty(nullptr, 1, "Layer 1");
  qm::TCadGroup full(nullptr, 3, "Parts");
  full.InsertMember(std::make_unique<qm::TCadLine>(qm::TPointD{0, 0}, qm::TPointD{10, 5}));
  full.InsertMember(std::make_unique<qm::TCadArc>(qm::TPointD{0, 0}, qm::TPointD{2, 0}, 1.0));
  full.InsertMember(std::make_unique<qm::TCadCirc>(qm::TPointD{5, 5}, 2.0));
  qm::TDrawingToSave a;
  a.layers = {&empty};
  a.activeLayer = 0;
  Write(dir / "fuzz_drawing" / "empty.qmd", qm::SerializeDrawing(a, preview));
  qm::TDrawingToSave b;
  b.layers = {&empty, &full};
  b.activeLayer = 1;
  std::string stack("\x06\x04\x05\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00", 14);
  stack += std::string("\x04Name") + std::string(251, '\0');
  stack += std::string("\x01\x00\x02\x00\x01\x00\x00\x00\x01\x00\x00\x00\x06\x03" "abc", 17);
  b.stackBlock = stack;
  Write(dir / "fuzz_drawing" / "parts.qmd", qm::SerializeDrawing(b, preview));

  // A version-4 drawing: one layer, a line and an arc.
  std::string cad;
  Put(cad, 4.0f);
  Put<std::int16_t>(cad, 1);
  for (int v : {0, 0, 0, 1, 0, 0}) Put<std::int16_t>(cad, static_cast<std::int16_t>(v));
  for (int v : {0, 2, 0, 0}) Put<std::int16_t>(cad, static_cast<std::int16_t>(v));
  Put(cad, 0.0);
  Put(cad, 0.0);
  cad += "Base";
  cad.append(37, '\0');
  Put<std::int16_t>(cad, 0);
  Put<std::int32_t>(cad, 0);
  for (int v : {0, 0, 0, 1, 0, 0}) Put<std::int16_t>(cad, static_cast<std::int16_t>(v));
  for (int v : {0, 2, 0, 0}) Put<std::int16_t>(cad, static_cast<std::int16_t>(v));
  auto fixed = [&](int type) {
    Put<std::int16_t>(cad, 0);
    Put<std::int16_t>(cad, static_cast<std::int16_t>(type));
    cad.append(16, '\0');
    Put<std::int32_t>(cad, 0);
    cad.append(2, '\0');
    Put<std::int16_t>(cad, 0);
    Put<std::int16_t>(cad, 0);
  };
  fixed(1);
  for (float f : {0.f, 0.f, 4.f, 0.f}) Put(cad, f);
  fixed(2);
  Put(cad, 0.f);
  Put(cad, 0.f);
  Put(cad, 2.f);
  cad.push_back('\0');
  Put(cad, 0.f);
  Put(cad, 1.5f);
  cad.push_back('\0');
  Write(dir / "fuzz_cad" / "base.cad", cad);

  // A 2 × 2, 8-bit PCX with its palette.
  std::string pcx(128, '\0');
  pcx[0] = 0x0A;
  pcx[1] = 5;
  pcx[2] = 1;
  pcx[3] = 8;
  pcx[8] = 1;
  pcx[10] = 1;
  pcx[65] = 1;
  pcx[66] = 2;
  pcx += std::string("\x01\x02\xC2\x03", 4);
  pcx += '\x0C';
  for (int i = 0; i < 256; ++i) pcx += std::string{static_cast<char>(i), static_cast<char>(i), static_cast<char>(i)};
  Write(dir / "fuzz_pcx" / "small.pcx", pcx);
  return 0;
}
