#include "persist/drawing_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>

#include "model/arc.h"
#include "model/circle.h"
#include "model/line.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace qm {

namespace {

constexpr std::int16_t kTagLayout = 1020;
constexpr std::int16_t kTagLayer = 1010;
constexpr std::int16_t kTagTextLayout = 500;
constexpr std::int16_t kTagStack = 1030;
// The version this program writes: 5.09 as the bytes 4A E1 A2 40.
constexpr std::uint8_t kVersionBytes[4] = {0x4A, 0xE1, 0xA2, 0x40};
// Stored Singles are compared with Singles.
constexpr float kVersion4 = 4.0f, kVersion5 = 5.0f;
// Newer files may hold records this version does not know: refused.
constexpr float kNewestVersion = 5.095f;

// Bit flags a file may carry: visibility, marking and the character flag.
// Chain marks, visited, preview, direction arrows and the construction kind
// are working state and never survive a file.
constexpr std::uint16_t kStoredFlags = ofVisible | ofMarked | ofInChar;

bool Finite(const TPointD& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

std::size_t BaseSize(float version) { return VersionAtLeast(version, kVersion508) ? 40 : 36; }

struct Base {
  TPointD p1, p2;
  std::int16_t layer = 0;
  std::uint16_t flags = 0;
  std::int32_t id = 0;
  bool hasId = false;
};

Base ReadBase(TDrawingReader& r) {
  Base b;
  b.p1 = r.Point();
  b.p2 = r.Point();
  b.layer = r.Int16();
  b.flags = r.UInt16();
  if (VersionAtLeast(r.version, kVersion508)) {
    b.id = r.Int32();
    b.hasId = true;
  }
  return b;
}

void WriteBase(TDrawingWriter& w, const TPointD& p1, const TPointD& p2, std::int16_t layer, std::uint16_t flags,
               std::int32_t id) {
  w.Point(p1);
  w.Point(p2);
  w.Int16(layer);
  w.UInt16(flags);
  w.Int32(id);
}

void Adopt(TCadObj& e, const Base& b) {
  e.AdoptStoredFlags(static_cast<std::uint16_t>(b.flags & kStoredFlags));
  if (b.hasId) e.AdoptStoredId(b.id);
}

// One entity record after its tag. Null with `dropped` set when the record
// was read but its numbers are not finite.
std::unique_ptr<TCadObj> ReadEntity(TDrawingReader& r, std::int16_t tag, bool& dropped, bool& inChar) {
  dropped = false;
  Base b = ReadBase(r);
  inChar = (b.flags & ofInChar) != 0;
  double bulge = 0;
  if (tag == TagArc) bulge = r.Double();
  if (!r.ok()) return nullptr;
  if (!Finite(b.p1) || !Finite(b.p2) || !std::isfinite(bulge)) {
    dropped = true;
    return nullptr;
  }
  std::unique_ptr<TCadObj> e;
  switch (tag) {
    case TagLine: e = std::make_unique<TCadLine>(b.layer, nullptr, ofVisible, b.p1, b.p2); break;
    case TagArc: e = std::make_unique<TCadArc>(b.layer, nullptr, ofVisible, b.p1, b.p2, bulge); break;
    case TagCircle: e = std::make_unique<TCadCirc>(b.layer, nullptr, ofVisible, b.p1, b.p2.x); break;
    default: r.Fail(StreamError::BadTag); return nullptr;
  }
  Adopt(*e, b);
  return e;
}

void WriteEntity(TDrawingWriter& w, const TCadObj& e) {
  if (const auto* arc = dynamic_cast<const TCadArc*>(&e)) {
    w.Int16(TagArc);
    WriteBase(w, e.P1(), e.P2(), e.Layer(), e.FlagsForWriting(), e.Id());
    w.Double(arc->Bulge());
  } else if (dynamic_cast<const TCadCirc*>(&e)) {
    w.Int16(TagCircle);
    WriteBase(w, e.P1(), e.P2(), e.Layer(), e.FlagsForWriting(), e.Id());
  } else if (dynamic_cast<const TCadLine*>(&e)) {
    w.Int16(TagLine);
    WriteBase(w, e.P1(), e.P2(), e.Layer(), e.FlagsForWriting(), e.Id());
  }
  // Other classes (tools, groups) are never members of a stored layer.
}

int CountStoredMembers(const TCadGroup& g) {
  int n = 0;
  for (const TCadObj* e : g.Members())
    if (dynamic_cast<const TCadLine*>(e) || dynamic_cast<const TCadArc*>(e) || dynamic_cast<const TCadCirc*>(e)) ++n;
  return n;
}

TLoadReport Fail(const TDrawingReader& r, int result, std::string message) {
  TLoadReport rep;
  rep.result = result;
  rep.error = r.error();
  rep.offset = r.ok() ? r.Position() : r.ErrorOffset();
  rep.message = std::move(message);
  return rep;
}

// Validates the stack block and returns its bytes.
bool ReadStackBlock(TDrawingReader& r, std::string_view bytes, std::string& out) {
  std::size_t start = r.Position();
  if (r.Int16() != kTagStack) {
    if (r.ok()) r.Fail(StreamError::BadTag);
    return false;
  }
  r.Int32();  // the stack's value
  // A field: a 256-byte name, two Int16, a line count and its capacity.
  std::int32_t fields = r.Int32();
  r.Int32();  // capacity
  if (!r.ok()) return false;
  if (fields < 0 || static_cast<std::size_t>(fields) > r.Remaining() / 268) {
    r.Fail(StreamError::BadCount);
    return false;
  }
  for (std::int32_t f = 0; f < fields && r.ok(); ++f) {
    r.ShortText256();
    r.Int16();
    r.Int16();
    std::int32_t lines = r.Int32();
    r.Int32();
    if (!r.ok()) return false;
    if (lines < 0 || static_cast<std::size_t>(lines) > r.Remaining() / 2) {
      r.Fail(StreamError::BadCount);
      return false;
    }
    for (std::int32_t l = 0; l < lines && r.ok(); ++l) r.TaggedString();
  }
  if (!r.ok()) return false;
  out.assign(bytes.substr(start, r.Position() - start));
  return true;
}

// Version and header kind; an unknown kind counts as version 0.
TLoadReport ReadVersion(TDrawingReader& r, float& version) {
  version = r.Single();
  std::int16_t kind = r.Int16();
  if (!r.ok()) return Fail(r, kLoadBadStructure, "the file is too short to be a drawing");
  if (kind != 1 && kind != 3) version = 0;
  if (!(version >= kVersion4)) return Fail(r, kLoadOldVersion, "the drawing's version is older than 4.0");
  return {};
}

}  // namespace

TLoadReport ParseDrawing(std::string_view bytes, TLoadedDrawing& out) {
  out = TLoadedDrawing{};
  TDrawingReader r(bytes);
  float version = 0;
  if (TLoadReport rep = ReadVersion(r, version); rep.result != kLoadOk) return rep;
  if (version < kVersion5) return Fail(r, kLoadBadStructure, "a version-4 drawing must be read as a .cad file");
  if (!(version <= kNewestVersion))
    return Fail(r, kLoadBadStructure, "the drawing was written by a newer version of the program");
  out.version = version;
  r.version = version;
  r.Skip(kHeaderSize - 6);  // the preview is for the open dialog only
  std::int16_t tag = r.Int16();
  if (!r.ok()) return Fail(r, kLoadBadStructure, "the file ends inside its header");
  if (tag != kTagLayout) {
    r.Fail(StreamError::BadTag);
    return Fail(r, kLoadBadStructure, "the file holds no drawing layout");
  }

  // The layout record.
  Base layoutBase = ReadBase(r);
  if (VersionAtLeast(version, kVersion508)) r.UInt8();  // was the text tool box shown
  out.activeLayer = r.Int16();
  r.Int32();  // had a current layer
  out.extents = Finite(layoutBase.p1) && Finite(layoutBase.p2) ? TBox{layoutBase.p1, layoutBase.p2} : EmptyBox;
  const std::size_t base = BaseSize(version);
  const std::int32_t layerCount = r.ListHeader(2 + base + 2 + 256 + 10);
  if (!r.ok()) return Fail(r, kLoadBadStructure, "the layer list is damaged");
  out.layers.reserve(static_cast<std::size_t>(layerCount));
  for (std::int32_t i = 0; i < layerCount; ++i) {
    if (r.Int16() != kTagLayer) {
      if (r.ok()) r.Fail(StreamError::BadTag);
      return Fail(r, kLoadBadStructure, "a layer record is damaged");
    }
    Base lb = ReadBase(r);
    std::int16_t color = r.Int16();
    std::string name = r.ShortText256();
    auto layer = std::make_unique<TCadGroup>(nullptr, color, name);
    layer->SetLayer(static_cast<std::int16_t>(i));
    layer->SetFlag(ofVisible, (lb.flags & ofVisible) != 0);
    if (lb.hasId) layer->AdoptStoredId(lb.id);
    const std::int32_t members = r.ListHeader(2 + base);
    if (!r.ok()) return Fail(r, kLoadBadStructure, "a layer's member list is damaged");
    for (std::int32_t m = 0; m < members; ++m) {
      std::int16_t etag = r.Int16();
      if (!r.ok()) break;
      if (etag != TagLine && etag != TagArc && etag != TagCircle) {
        r.Fail(StreamError::BadTag);
        break;
      }
      bool dropped = false, inChar = false;
      std::unique_ptr<TCadObj> e = ReadEntity(r, etag, dropped, inChar);
      if (!r.ok()) break;
      if (dropped) {
        ++out.droppedEntities;
        continue;
      }
      // An outline entity of a character in a file that carries no text:
      // before 5.08 these were copies the characters kept themselves, and
      // are dropped; from 5.08 nobody claims it, so it stays in its layer,
      // hidden.
      if (inChar && !VersionAtLeast(version, kVersion508)) continue;
      e->SetLayer(static_cast<std::int16_t>(i));
      TCadObj* member = layer->InsertMember(std::move(e));
      if (inChar && member) {
        member->SetFlags(0);
        ++out.hiddenOrphans;
      }
    }
    if (!r.ok()) return Fail(r, kLoadBadStructure, "an entity record is damaged");
    out.layers.push_back(std::move(layer));
  }

  // The font-usage table and the text layout: text is read by a later
  // version; an empty table and an empty layout are all this one accepts.
  std::int32_t fonts = r.ListHeader(1);
  if (!r.ok()) return Fail(r, kLoadBadStructure, "the font table is damaged");
  if (fonts != 0) return Fail(r, kLoadUnsupportedContent, "the drawing holds text, which this version cannot read");
  std::int16_t textTag = r.Int16();
  if (!r.ok()) return Fail(r, kLoadBadStructure, "the file ends before its text layout");
  if (textTag != kTagTextLayout) {
    r.Fail(StreamError::BadTag);
    return Fail(r, kLoadBadStructure, "the text layout record is damaged");
  }
  std::int32_t paragraphs = r.ListHeader(2);
  if (!r.ok()) return Fail(r, kLoadBadStructure, "the text layout record is damaged");
  if (paragraphs != 0)
    return Fail(r, kLoadUnsupportedContent, "the drawing holds text, which this version cannot read");

  // The stack block: absent when the text layout ends the file.
  if (!r.AtEnd()) {
    if (!ReadStackBlock(r, bytes, out.stackBlock)) return Fail(r, kLoadBadStructure, "the stack block is damaged");
    if (!r.AtEnd()) {
      r.Fail(StreamError::BadValue);
      return Fail(r, kLoadBadStructure, "unexpected data after the end of the drawing");
    }
  }
  return {};
}

TLoadReport ParseCadV4(std::string_view bytes, TLoadedDrawing& out) {
  out = TLoadedDrawing{};
  TDrawingReader r(bytes);
  float version = 0;
  if (TLoadReport rep = ReadVersion(r, version); rep.result != kLoadOk) return rep;
  if (!(version < kVersion5)) return Fail(r, kLoadBadStructure, "not a version-4 drawing");
  out.version = version;
  r.version = version;

  // Layer table.
  r.Int16();
  std::int16_t active = r.Int16();
  r.Int16();
  std::int16_t layerCount = r.Int16();
  r.Int16();
  r.Int16();
  if (!r.ok()) return Fail(r, kLoadBadStructure, "the layer table is damaged");
  constexpr std::size_t kLayerBytes = 2 + 2 + 4 + 16 + 41;
  if (layerCount < 0 || static_cast<std::size_t>(layerCount) > r.Remaining() / kLayerBytes) {
    r.Fail(StreamError::BadCount);
    return Fail(r, kLoadBadStructure, "the layer table is damaged");
  }
  for (int i = 0; i < layerCount; ++i) {
    r.Int16();
    int color = std::max(0, r.Int16() - 1);
    r.Int16();
    r.Int16();
    r.Double();
    r.Double();
    std::string name = r.FixedName(41);
    if (!r.ok()) return Fail(r, kLoadBadStructure, "a layer name is damaged");
    auto layer = std::make_unique<TCadGroup>(nullptr, static_cast<std::int16_t>(color), name);
    layer->SetLayer(static_cast<std::int16_t>(i));
    out.layers.push_back(std::move(layer));
  }
  auto clampLayer = [&](int index) {
    if (out.layers.empty()) return -1;
    if (index < 0 || index >= static_cast<int>(out.layers.size())) return static_cast<int>(out.layers.size()) - 1;
    return index;
  };

  // Entity section.
  r.Int16();
  r.Int32();
  r.Int16();
  r.Int16();
  r.Int16();
  std::int16_t groups = r.Int16();
  r.Int16();
  r.Int16();
  if (!r.ok()) return Fail(r, kLoadBadStructure, "the entity section is damaged");
  constexpr std::size_t kEntityBytes = 30;
  if (groups < 0 || static_cast<std::size_t>(groups) > r.Remaining() / 8) {
    r.Fail(StreamError::BadCount);
    return Fail(r, kLoadBadStructure, "the entity section is damaged");
  }
  for (int g = 0; g < groups; ++g) {
    r.Int16();
    std::int16_t count = r.Int16();
    r.Int16();
    r.Int16();
    if (!r.ok()) break;
    if (count < 0 || static_cast<std::size_t>(count) > r.Remaining() / kEntityBytes) {
      r.Fail(StreamError::BadCount);
      break;
    }
    for (int e = 0; e < count && r.ok(); ++e) {
      r.Int16();
      std::int16_t type = r.Int16();
      r.Skip(16);
      r.Int32();
      r.Skip(2);
      std::int16_t layerIndex = r.Int16();
      r.Int16();
      if (!r.ok()) break;
      std::unique_ptr<TCadObj> entity;
      bool finite = true;
      if (type == 1) {
        TPointD p1{r.Single(), r.Single()};
        TPointD p2{r.Single(), r.Single()};
        finite = Finite(p1) && Finite(p2);
        if (r.ok() && finite) entity = std::make_unique<TCadLine>(0, nullptr, ofVisible, p1, p2);
      } else if (type == 2) {
        TPointD c{r.Single(), r.Single()};
        double radius = r.Single();
        r.UInt8();
        double start = r.Single(), end = r.Single();
        r.UInt8();
        finite = Finite(c) && std::isfinite(radius) && std::isfinite(start) && std::isfinite(end);
        if (r.ok() && finite && radius != 0) {
          TArcRec rec;
          rec.Center = c;
          rec.Radius = radius;
          rec.AngleUnit = ArcAngleUnit::Radians;
          rec.StartAngle = start;
          rec.EndAngle = end;
          // A full turn cannot be an arc entity: it is a circle. The sweep is
          // tested first, since the bulge of a full turn comes out as 0.
          const double sweep = Sweep(rec);
          if (IsEqual(start, end) || sweep >= TwoPi - Tol6 || sweep <= Tol6) {
            entity = std::make_unique<TCadCirc>(0, nullptr, ofVisible, c, std::fabs(radius));
          } else {
            const double r0 = std::fabs(radius);
            TPointD p1{c.x + r0 * std::cos(start), c.y + r0 * std::sin(start)};
            TPointD p2{c.x + r0 * std::cos(end), c.y + r0 * std::sin(end)};
            entity = std::make_unique<TCadArc>(0, nullptr, ofVisible, p1, p2, BulgeFromArc(rec));
          }
        }
      }
      if (!r.ok()) break;
      if (!finite) {
        ++out.droppedEntities;
        continue;
      }
      int target = clampLayer(layerIndex);
      if (!entity || target < 0) continue;  // other types: skipped after the fixed fields
      out.activeLayer = static_cast<std::int16_t>(target);
      entity->SetLayer(static_cast<std::int16_t>(target));
      out.layers[static_cast<std::size_t>(target)]->InsertMember(std::move(entity));
    }
  }
  if (!r.ok()) return Fail(r, kLoadBadStructure, "an entity record is damaged");
  out.activeLayer = static_cast<std::int16_t>(clampLayer(active));
  return {};
}

FileKind RouteByName(std::string_view path, bool isSnapshot) {
  if (isSnapshot) return FileKind::Native;
  using platform::HasExtension;
  if (HasExtension(path, ".qmd")) return FileKind::Native;
  if (HasExtension(path, ".cad")) return FileKind::CadV4;
  if (HasExtension(path, ".txt")) return FileKind::TextV4;
  if (HasExtension(path, ".dxf")) return FileKind::Dxf;
  if (HasExtension(path, ".plt")) return FileKind::Hpgl;
  if (HasExtension(path, ".eps")) return FileKind::Eps;
  if (HasExtension(path, ".rlf")) return FileKind::Rlf;
  if (HasExtension(path, ".cnc")) return FileKind::Cnc;
  for (const char* ext : {".pcx", ".tif", ".tiff", ".jpg", ".jpeg", ".bmp", ".png", ".gif"})
    if (HasExtension(path, ext)) return FileKind::Picture;
  return FileKind::Unknown;
}

FileKind RouteByHeader(std::string_view bytes) {
  TDrawingReader r(bytes);
  float version = r.Single();
  std::int16_t kind = r.Int16();
  if (!r.ok() || (kind != 1 && kind != 3)) return FileKind::Unknown;
  if (version >= kVersion5 && version <= kNewestVersion && bytes.size() > kHeaderSize) return FileKind::Native;
  if (version >= kVersion4 && version < kVersion5) return FileKind::CadV4;
  return FileKind::Unknown;
}

TLoadReport LoadDrawingFile(const std::string& path, bool isSnapshot, TLoadedDrawing& out) {
  TLoadReport rep;
  if (path.find_first_of("*?") != std::string::npos || !platform::FileExists(path)) {
    rep.result = kLoadMissing;
    rep.message = "the file does not exist";
    return rep;
  }
  std::string bytes;
  if (int err = platform::ReadWholeFile(path, bytes, std::size_t(2) << 30)) {
    rep.result = kLoadCannotRead;
    rep.message = err == EFBIG ? "the file is too large" : "the file cannot be read";
    return rep;
  }
  FileKind kind = RouteByName(path, isSnapshot);
  if (kind == FileKind::Unknown) kind = RouteByHeader(bytes);
  switch (kind) {
    case FileKind::Native: return ParseDrawing(bytes, out);
    case FileKind::CadV4: return ParseCadV4(bytes, out);
    case FileKind::Unknown:
      rep.result = kLoadBadStructure;
      rep.message = "the file is not a drawing";
      return rep;
    default:
      rep.result = kLoadNotAvailable;
      rep.message = "this kind of file cannot be read yet";
      return rep;
  }
}

namespace {

// The preview palette: the 20 classic colours, a 6×6×6 colour cube and a
// ramp of greys, 256 entries in all.
const std::array<std::uint32_t, 256>& PreviewPalette() {
  static const std::array<std::uint32_t, 256> kPalette = [] {
    std::array<std::uint32_t, 256> p{};
    static const std::uint8_t classic[20][3] = {
        {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
        {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
        {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
        {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    int n = 0;
    for (auto& c : classic) p[n++] = (std::uint32_t(c[0]) << 16) | (std::uint32_t(c[1]) << 8) | c[2];
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) p[n++] = (std::uint32_t(r * 51) << 16) | (std::uint32_t(g * 51) << 8) | (b * 51);
    for (int i = 0; n < 256; ++i, ++n) {
      std::uint32_t v = static_cast<std::uint32_t>(8 + i * 12);
      p[n] = (v << 16) | (v << 8) | v;
    }
    return p;
  }();
  return kPalette;
}

std::uint8_t NearestIndex(std::uint32_t rgb) {
  const auto& pal = PreviewPalette();
  int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  int best = 0;
  long bestD = 1L << 30;
  for (int i = 0; i < 256; ++i) {
    int pr = (pal[i] >> 16) & 0xFF, pg = (pal[i] >> 8) & 0xFF, pb = pal[i] & 0xFF;
    long d = long(r - pr) * (r - pr) + long(g - pg) * (g - pg) + long(b - pb) * (b - pb);
    if (d < bestD) {
      bestD = d;
      best = i;
      if (d == 0) break;
    }
  }
  return static_cast<std::uint8_t>(best);
}

void WriteHeader(TDrawingWriter& w, const TPreviewSource& preview) {
  w.Bytes(kVersionBytes, 4);
  w.Int16(1);
  // Bitmap information header of the 160 × 120, 8-bit preview.
  w.UInt32(40);
  w.Int32(160);
  w.Int32(120);
  w.UInt16(1);
  w.UInt16(8);
  w.UInt32(0);
  w.UInt32(19200);
  w.Zeros(16);
  const auto& pal = PreviewPalette();
  for (std::uint32_t c : pal) {
    w.UInt8(static_cast<std::uint8_t>(c & 0xFF));
    w.UInt8(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    w.UInt8(static_cast<std::uint8_t>((c >> 16) & 0xFF));
    w.UInt8(0);
  }
  // Pixels, bottom row first, the view stretched into 160 × 120. Many
  // pixels share a colour, so the nearest-entry search is cached.
  std::uint32_t lastRgb = 0xFFFFFFFFu;
  std::uint8_t lastIndex = 0;
  for (int row = 119; row >= 0; --row) {
    int sy = std::min(preview.height - 1, row * preview.height / 120);
    const std::uint32_t* src = preview.pixels + static_cast<std::ptrdiff_t>(sy) * preview.stride;
    for (int col = 0; col < 160; ++col) {
      int sx = std::min(preview.width - 1, col * preview.width / 160);
      std::uint32_t rgb = src[sx] & 0xFFFFFF;
      if (rgb != lastRgb) {
        lastRgb = rgb;
        lastIndex = NearestIndex(rgb);
      }
      w.UInt8(lastIndex);
    }
  }
}

}  // namespace

std::string SerializeDrawing(const TDrawingToSave& d, const TPreviewSource& preview) {
  std::size_t entities = 0;
  for (const TCadGroup* g : d.layers) entities += static_cast<std::size_t>(g->MemberCount());
  std::string bytes;
  bytes.reserve(kHeaderSize + 200 + d.layers.size() * 310 + entities * 50 + d.stackBlock.size());
  TDrawingWriter w(bytes);
  WriteHeader(w, preview);

  w.Int16(kTagLayout);
  WriteBase(w, d.extents.Min, d.extents.Max, 0, ofVisible, 0);
  w.UInt8(d.textToolBoxShown ? 1 : 0);
  w.Int16(d.activeLayer);
  w.Int32(d.hasCurrentLayer ? 0 : -1);
  w.ListHeader(static_cast<std::int32_t>(d.layers.size()));
  for (std::size_t i = 0; i < d.layers.size(); ++i) {
    const TCadGroup& g = *d.layers[i];
    w.Int16(kTagLayer);
    WriteBase(w, g.P1(), g.P2(), static_cast<std::int16_t>(i), static_cast<std::uint16_t>(g.Flags() & kStoredFlags),
              g.Id());
    w.Int16(g.ColorIndex());
    w.ShortText256(g.Name());
    w.ListHeader(CountStoredMembers(g));
    for (const TCadObj* e : g.Members()) WriteEntity(w, *e);
  }
  w.ListHeader(0);  // font-usage table
  w.Int16(kTagTextLayout);
  w.ListHeader(0);  // paragraphs
  if (d.stackBlock.empty()) {
    w.Int16(kTagStack);
    w.Int32(-1);
    w.Int32(0);
    w.Int32(0);
  } else {
    w.Bytes(d.stackBlock.data(), d.stackBlock.size());
  }
  return bytes;
}

TSaveReport SaveDrawingFile(const std::string& path, const TDrawingToSave& drawing, const TPreviewSource& preview) {
  TSaveReport rep;
  if (preview.width <= 0 || preview.height <= 0 || !preview.pixels || preview.stride < preview.width) {
    rep.result = kSaveNoView;
    return rep;
  }
  std::string bytes = SerializeDrawing(drawing, preview);
  if (int err = platform::WriteFileAtomically(path, bytes)) {
    rep.result = kSaveWriteFailed;
    rep.error = err;
  }
  return rep;
}

std::string WithDefaultExtension(const std::string& path) {
  std::string name = platform::FileNameOf(path);
  if (name.find('.') == std::string::npos) return path + ".qmd";
  return path;
}

}  // namespace qm
