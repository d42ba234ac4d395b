#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <algorithm>
#include <cstring>

#include "model/arc.h"
#include "model/circle.h"
#include "model/line.h"
#include "persist/drawing_file.h"
#include "test_support.h"

using namespace qm;
using qm::test::ReadFile;
using qm::test::TempDir;
using qm::test::WriteFile;

namespace {

// Builds drawing files field by field, independently of the program's writer.
struct Bytes {
  std::string s;
  Bytes& raw(const void* p, std::size_t n) {
    s.append(static_cast<const char*>(p), n);
    return *this;
  }
  Bytes& u8(int v) { return raw(&v, 1); }
  Bytes& i16(int v) {
    std::int16_t x = static_cast<std::int16_t>(v);
    return raw(&x, 2);
  }
  Bytes& i32(std::int32_t v) { return raw(&v, 4); }
  Bytes& f32(float v) { return raw(&v, 4); }
  Bytes& f64(double v) { return raw(&v, 8); }
  Bytes& pt(double x, double y) { return f64(x).f64(y); }
  Bytes& zeros(std::size_t n) {
    s.append(n, '\0');
    return *this;
  }
  Bytes& list(std::int32_t n, std::int32_t cap = -1) { return i16(50).i32(n).i32(cap < 0 ? n : cap); }
  Bytes& name256(const std::string& t) {
    u8(static_cast<int>(t.size()));
    s += t;
    return zeros(255 - t.size());
  }
  Bytes& base(double x1, double y1, double x2, double y2, int layer, int flags, int id, bool withId) {
    pt(x1, y1).pt(x2, y2).i16(layer).i16(flags);
    if (withId) i32(id);
    return *this;
  }
};

// A native header: version bytes, kind and an all-zero preview.
Bytes Header(const char version[4], int kind = 1) {
  Bytes b;
  b.raw(version, 4).i16(kind).zeros(kHeaderSize - 6);
  return b;
}
const char kV509[4] = {'\x4A', '\xE1', '\xA2', '\x40'};

// A 5.08 drawing with ids: one layer "Walls" (colour 3) with a line, an arc
// and a circle, then the empty text parts and the empty stack.
std::string File508() {
  float v = 5.08f;
  char vb[4];
  std::memcpy(vb, &v, 4);
  Bytes b = Header(vb);
  b.i16(1020).base(0, 0, 10, 10, 0, 1, 0, true).u8(0).i16(0).i32(0).list(1);
  b.i16(1010).base(0, 0, 10, 10, 0, 1, 7, true).i16(3).name256("Walls").list(3);
  b.i16(1001).base(0, 0, 10, 0, 0, 0x01 | 0x04 | 0x20 | 0x4000, 500, true);  // transient bits and a Kind
  b.i16(1002).base(0, 0, 2, 0, 0, 1, 12, true).f64(1.0);
  b.i16(1003).base(5, 5, 2, 0, 0, 3, 40, true);
  b.list(0).i16(500).list(0).i16(1030).i32(-1).i32(0).i32(0);
  return b.s;
}

// A 5.07 drawing: 36-byte base records, no text-tool-box byte.
std::string File507() {
  float v = 5.07f;
  char vb[4];
  std::memcpy(vb, &v, 4);
  Bytes b = Header(vb, 3);
  b.i16(1020).base(0, 0, 1, 1, 0, 1, 0, false).i16(0).i32(0).list(1);
  b.i16(1010).base(0, 0, 1, 1, 0, 1, 0, false).i16(1).name256("Old").list(1);
  b.i16(1001).base(0, 0, 1, 1, 0, 1, 0, false);
  b.list(0).i16(500).list(0);  // no stack block: ends after the text layout
  return b.s;
}

std::string CadV4() {
  Bytes b;
  b.f32(4.0f).i16(1);
  b.i16(0).i16(1).i16(0).i16(2).i16(0).i16(0);  // active layer 1, two layers
  for (const char* name : {"Base", "Cuts"}) {
    std::string n(name);
    b.i16(0).i16(3).i16(0).i16(0).f64(0).f64(0);
    b.s += n;
    b.zeros(41 - n.size());
  }
  b.i16(0).i32(0).i16(0).i16(0).i16(0).i16(1).i16(0).i16(0);  // one group
  b.i16(0).i16(3).i16(0).i16(0);                                // three entities
  auto fixed = [&](int type, int layer) { b.i16(0).i16(type).zeros(16).i32(0).zeros(2).i16(layer).i16(0); };
  fixed(1, 0);
  b.f32(0).f32(0).f32(4).f32(0);
  fixed(2, 7);  // layer out of range: clamped to the last layer
  b.f32(0).f32(0).f32(2).u8(0).f32(0).f32(static_cast<float>(M_PI / 2)).u8(0);
  fixed(2, 1);  // a full turn: a circle
  b.f32(1).f32(1).f32(-3).u8(0).f32(0).f32(static_cast<float>(2 * M_PI)).u8(0);
  return b.s;
}

std::vector<std::uint32_t> Preview(std::uint32_t rgb = 0xFF000000u) { return std::vector<std::uint32_t>(40 * 30, rgb); }

TDrawingToSave ToSave(const TLoadedDrawing& d) {
  TDrawingToSave s;
  s.activeLayer = d.activeLayer;
  s.hasCurrentLayer = !d.layers.empty();
  for (const auto& l : d.layers) s.layers.push_back(l.get());
  s.stackBlock = d.stackBlock;
  return s;
}

}  // namespace

TEST(DrawingFile, EmptyDrawingHasTheFixedLayout) {
  TCadGroup layer(nullptr, 1, "Layer 1");
  TDrawingToSave d;
  d.activeLayer = 0;
  d.hasCurrentLayer = true;
  d.layers = {&layer};
  auto px = Preview();
  std::string bytes = SerializeDrawing(d, {40, 30, 40, px.data()});
  ASSERT_EQ(bytes.size(), 20675u);
  EXPECT_EQ(bytes.substr(0, 6), std::string("\x4A\xE1\xA2\x40\x01\x00", 6));
  // The preview's bitmap header: size 40, 160 × 120, 1 plane, 8 bits, image size 19200.
  Bytes hdr;
  hdr.i32(40).i32(160).i32(120).i16(1).i16(8).i32(0).i32(19200).zeros(16);
  EXPECT_EQ(bytes.substr(6, 40), hdr.s);
  // It ends with the empty font table, text layout and stack.
  Bytes tail;
  tail.list(0).i16(500).list(0).i16(1030).i32(-1).i32(0).i32(0);
  EXPECT_EQ(bytes.substr(bytes.size() - tail.s.size()), tail.s);

  TLoadedDrawing back;
  ASSERT_EQ(ParseDrawing(bytes, back).result, kLoadOk);
  ASSERT_EQ(back.layers.size(), 1u);
  EXPECT_EQ(back.layers[0]->Name(), "Layer 1");
  EXPECT_EQ(back.layers[0]->ColorIndex(), 1);
  EXPECT_TRUE(SerializeDrawing(ToSave(back), {40, 30, 40, px.data()}) == bytes);
}

TEST(DrawingFile, Reads508WithIdsAndMasksWorkingBits) {
  TLoadedDrawing d;
  ASSERT_EQ(ParseDrawing(File508(), d).result, kLoadOk);
  ASSERT_EQ(d.layers.size(), 1u);
  const TCadGroup& g = *d.layers[0];
  EXPECT_EQ(g.Name(), "Walls");
  EXPECT_EQ(g.ColorIndex(), 3);
  ASSERT_EQ(g.MemberCount(), 3);
  const TCadObj* line = g.Members().At(0);
  EXPECT_NE(dynamic_cast<const TCadLine*>(line), nullptr);
  EXPECT_EQ(line->Id(), 500);
  EXPECT_EQ(line->Flags(), ofVisible);  // chain, preview and Kind are gone
  EXPECT_EQ(line->Owner(), &g);
  const auto* arc = dynamic_cast<const TCadArc*>(g.Members().At(1));
  ASSERT_NE(arc, nullptr);
  EXPECT_EQ(arc->Bulge(), 1.0);
  const auto* circle = dynamic_cast<const TCadCirc*>(g.Members().At(2));
  ASSERT_NE(circle, nullptr);
  EXPECT_EQ(circle->Radius(), 2);
  EXPECT_EQ(circle->Flags(), ofVisible | ofMarked);
  // The id counter was raised to the largest stored id.
  EXPECT_GE(TCadObj::IdCounter(), 500);
  TCadLine fresh(TPointD{0, 0}, TPointD{1, 1});
  EXPECT_GT(fresh.Id(), 500);
  EXPECT_EQ(d.stackBlock, std::string("\x06\x04\xFF\xFF\xFF\xFF\0\0\0\0\0\0\0\0", 14));
}

TEST(DrawingFile, Reads507WithShortBasesAndNoStack) {
  TLoadedDrawing d;
  TLoadReport rep = ParseDrawing(File507(), d);
  ASSERT_EQ(rep.result, kLoadOk) << rep.message;
  ASSERT_EQ(d.layers.size(), 1u);
  EXPECT_EQ(d.layers[0]->Name(), "Old");
  EXPECT_EQ(d.layers[0]->MemberCount(), 1);
  EXPECT_TRUE(d.stackBlock.empty());
}

TEST(DrawingFile, ReadsVersion4CadDrawings) {
  TLoadedDrawing d;
  TLoadReport rep = ParseCadV4(CadV4(), d);
  ASSERT_EQ(rep.result, kLoadOk) << rep.message;
  ASSERT_EQ(d.layers.size(), 2u);
  EXPECT_EQ(d.layers[0]->Name(), "Base");
  EXPECT_EQ(d.layers[0]->ColorIndex(), 2);  // stored value minus 1
  EXPECT_EQ(d.activeLayer, 1);
  ASSERT_EQ(d.layers[0]->MemberCount(), 1);
  ASSERT_EQ(d.layers[1]->MemberCount(), 2);
  const auto* arc = dynamic_cast<const TCadArc*>(d.layers[1]->Members().At(0));
  ASSERT_NE(arc, nullptr);
  EXPECT_NEAR(arc->Bulge(), std::tan(M_PI / 8), 1e-6);
  EXPECT_NEAR(arc->P2().y, 2, 1e-6);
  const auto* circle = dynamic_cast<const TCadCirc*>(d.layers[1]->Members().At(1));
  ASSERT_NE(circle, nullptr);  // the full turn became a circle, not a zero-length arc
  EXPECT_EQ(circle->Radius(), 3);
}

TEST(DrawingFile, RefusesWhatItCannotRead) {
  float v39 = 3.9f;
  char b39[4];
  std::memcpy(b39, &v39, 4);
  std::string layoutTag = File508();
  layoutTag[kHeaderSize] = 0x11;  // layout tag ≠ 1020
  std::string kind2 = File508();
  kind2[4] = 2;
  std::string withText = File508();
  // The font table's count: after the one layer record.
  std::size_t fontTable = withText.size() - (10 + 2 + 10 + 14);
  withText[fontTable + 2] = 1;
  std::string unknownEntity = File508();
  std::size_t firstEntity = kHeaderSize + 2 + 40 + 1 + 2 + 4 + 10 + 2 + 40 + 2 + 256 + 10;
  unknownEntity[firstEntity] = 0x7F;
  std::string badLayerTag = File508();
  badLayerTag[kHeaderSize + 2 + 40 + 1 + 2 + 4 + 10] = 0;
  std::string negativeCount = File508();
  std::memset(&negativeCount[kHeaderSize + 2 + 40 + 1 + 2 + 4 + 2], 0xFF, 4);
  std::string trailing = File508() + "x";
  struct Case {
    std::string bytes;
    int result;
    const char* what;
  } cases[] = {
      {Header(b39).s, kLoadOldVersion, "version 3.9"},
      {kind2, kLoadOldVersion, "header kind 2"},
      {layoutTag, kLoadBadStructure, "layout tag"},
      {withText, kLoadUnsupportedContent, "font table not empty"},
      {unknownEntity, kLoadBadStructure, "unknown entity tag"},
      {badLayerTag, kLoadBadStructure, "unknown layer tag"},
      {negativeCount, kLoadBadStructure, "negative layer count"},
      {trailing, kLoadBadStructure, "data after the stack"},
  };
  for (const auto& c : cases) {
    TLoadedDrawing d;
    EXPECT_EQ(ParseDrawing(c.bytes, d).result, c.result) << c.what;
  }
}

TEST(DrawingFile, EveryTruncationFailsButTheMissingStack) {
  for (const std::string& file : {File508(), File507()}) {
    const std::size_t stackAt = file == File508() ? file.size() - 14 : file.size();
    for (std::size_t n = 0; n < file.size(); ++n) {
      if (n > 0 && n < kHeaderSize - 1 && n % 997 != 0) continue;  // the preview is all alike
      TLoadedDrawing d;
      int result = ParseDrawing(file.substr(0, n), d).result;
      if (n == stackAt) EXPECT_EQ(result, kLoadOk) << n;
      else EXPECT_NE(result, kLoadOk) << n;
    }
  }
  std::string cad = CadV4();
  for (std::size_t n = 0; n < cad.size(); ++n) {
    TLoadedDrawing d;
    EXPECT_NE(ParseCadV4(cad.substr(0, n), d).result, kLoadOk) << n;
  }
}

TEST(DrawingFile, NonFiniteEntitiesAreDroppedAndCounted) {
  std::string f = File508();
  std::size_t firstEntity = kHeaderSize + 2 + 40 + 1 + 2 + 4 + 10 + 2 + 40 + 2 + 256 + 10;
  double nan = std::nan("");
  std::memcpy(&f[firstEntity + 2], &nan, 8);
  double inf = INFINITY;
  std::memcpy(&f[kHeaderSize + 2], &inf, 8);  // the layout's extents
  TLoadedDrawing d;
  ASSERT_EQ(ParseDrawing(f, d).result, kLoadOk);
  EXPECT_EQ(d.droppedEntities, 1);
  EXPECT_EQ(d.layers[0]->MemberCount(), 2);
  EXPECT_EQ(d.extents.Min.x, EmptyBox.Min.x);
}

TEST(DrawingFile, OrphanOutlinesAreHiddenFrom508) {
  std::string f = File508();
  std::size_t firstEntity = kHeaderSize + 2 + 40 + 1 + 2 + 4 + 10 + 2 + 40 + 2 + 256 + 10;
  f[firstEntity + 2 + 32 + 2] = static_cast<char>(0x81);  // ofInChar on the line
  TLoadedDrawing d;
  ASSERT_EQ(ParseDrawing(f, d).result, kLoadOk);
  EXPECT_EQ(d.hiddenOrphans, 1);
  EXPECT_EQ(d.layers[0]->Members().At(0)->Flags(), 0);
  EXPECT_EQ(d.layers[0]->Members().At(0)->Owner(), d.layers[0].get());
}

TEST(DrawingFile, SavingIsAtomicAndKeepsTheOldFileOnFailure) {
  TempDir dir;
  std::string path = dir / "plan.qmd";
  WriteFile(path, "old contents");
  TCadGroup layer(nullptr, 1, "Layer 1");
  layer.InsertMember(std::make_unique<TCadLine>(TPointD{0, 0}, TPointD{10, 5}));
  TDrawingToSave d;
  d.layers = {&layer};
  d.activeLayer = 0;
  d.hasCurrentLayer = true;
  // A view of zero size: refused before anything is touched.
  EXPECT_EQ(SaveDrawingFile(path, d, {0, 0, 0, nullptr}).result, kSaveNoView);
  EXPECT_EQ(ReadFile(path), "old contents");
  auto px = Preview(0xFFFFFFFFu);
  TPreviewSource preview{40, 30, 40, px.data()};
  if (::geteuid() != 0) {
    ::chmod(path.c_str(), 0444);
    TSaveReport rep = SaveDrawingFile(path, d, preview);
    EXPECT_EQ(rep.result, kSaveWriteFailed);
    EXPECT_EQ(ReadFile(path), "old contents");
    ::chmod(path.c_str(), 0644);
  }
  EXPECT_EQ(SaveDrawingFile(dir / "missing/plan.qmd", d, preview).result, kSaveWriteFailed);
  ASSERT_EQ(SaveDrawingFile(path, d, preview).result, kSaveOk);
  TLoadedDrawing back;
  ASSERT_EQ(LoadDrawingFile(path, false, back).result, kLoadOk);
  ASSERT_EQ(back.layers[0]->MemberCount(), 1);
  EXPECT_EQ(back.layers[0]->Members().At(0)->P2().x, 10);
  // Save → load → save is byte-identical.
  std::string again = SerializeDrawing(ToSave(back), preview), saved = ReadFile(path);
  ASSERT_EQ(again.size(), saved.size());
  auto diff = std::mismatch(again.begin(), again.end(), saved.begin());
  EXPECT_EQ(diff.first - again.begin(), static_cast<long>(again.size()));
}

TEST(DrawingFile, RoutingKeepsCaseAndRecognisesHeaders) {
  EXPECT_EQ(RouteByName("/a/B.QMD", false), FileKind::Native);
  EXPECT_EQ(RouteByName("/a/old.Cad", false), FileKind::CadV4);
  EXPECT_EQ(RouteByName("/a/pic.JPG", false), FileKind::Picture);
  EXPECT_EQ(RouteByName("/a/x.dxf", false), FileKind::Dxf);
  EXPECT_EQ(RouteByName("/a/plan.v2", false), FileKind::Unknown);
  EXPECT_EQ(RouteByName("/mail/$C12.3", true), FileKind::Native);
  EXPECT_EQ(RouteByHeader(File508()), FileKind::Native);
  EXPECT_EQ(RouteByHeader(CadV4()), FileKind::CadV4);
  EXPECT_EQ(RouteByHeader("hello world"), FileKind::Unknown);
  EXPECT_EQ(WithDefaultExtension("/home/u/my.dir/plan"), "/home/u/my.dir/plan.qmd");
  EXPECT_EQ(WithDefaultExtension("/home/u/plan.v2"), "/home/u/plan.v2");

  TempDir dir;
  WriteFile(dir / "plan.v2", File508());
  WriteFile(dir / "notes.v2", "just text, no drawing");
  TLoadedDrawing d;
  EXPECT_EQ(LoadDrawingFile(dir / "plan.v2", false, d).result, kLoadOk);
  EXPECT_EQ(LoadDrawingFile(dir / "notes.v2", false, d).result, kLoadBadStructure);
  EXPECT_EQ(LoadDrawingFile(dir / "none.qmd", false, d).result, kLoadMissing);
  EXPECT_EQ(LoadDrawingFile(dir / "*.qmd", false, d).result, kLoadMissing);
}
