// quillmar-cli info: what a drawing holds, as text or JSON.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iomanip>

#include "app/cli/drawing_summary.h"
#include "app/cli/verbs.h"
#include "model/arc.h"
#include "model/circle.h"
#include "model/line.h"

namespace qm::cli {

namespace {

std::string Num(double v) {
  if (!std::isfinite(v)) return "null";
  // The shortest text that reads back to the same double.
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

std::string Json(std::string_view s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      // Names are single-byte text in Windows-1252; shown as Latin-1 here,
      // which agrees for every letter but the few in 0x80–0x9F.
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out + "\"";
}

const char* KindOf(const TCadObj& e) {
  if (dynamic_cast<const TCadArc*>(&e)) return "arc";
  if (dynamic_cast<const TCadCirc*>(&e)) return "circle";
  if (dynamic_cast<const TCadLine*>(&e)) return "line";
  return "other";
}

}  // namespace

int RunInfo(const Options& opts, std::ostream& out, std::ostream& err) {
  if (opts.positional.size() != 1) {
    err << "quillmar-cli info: expected one drawing file\n";
    return kExitUsage;
  }
  TLoadedDrawing d;
  if (!LoadForVerb("info", opts.positional[0], d, err)) return kExitFailure;
  char version[16];
  std::snprintf(version, sizeof version, "%.2f", static_cast<double>(d.version));
  if (!opts.Has("json")) {
    out << "version " << version << ", " << d.layers.size() << " layers, active layer " << d.activeLayer << "\n";
    for (std::size_t i = 0; i < d.layers.size(); ++i) {
      const TCadGroup& g = *d.layers[i];
      out << "layer " << i << " \"" << g.Name() << "\" colour " << g.ColorIndex()
          << (g.IsVisible() ? "" : " hidden") << ", " << g.MemberCount() << " entities\n";
      for (const TCadObj* e : g.Members()) {
        out << "  " << KindOf(*e) << " #" << e->Id() << " (" << Num(e->P1().x) << ", " << Num(e->P1().y) << ")";
        if (const auto* c = dynamic_cast<const TCadCirc*>(e)) out << " r " << Num(c->Radius());
        else out << " (" << Num(e->P2().x) << ", " << Num(e->P2().y) << ")";
        if (const auto* a = dynamic_cast<const TCadArc*>(e)) out << " bulge " << Num(a->Bulge());
        out << " flags 0x" << std::hex << e->Flags() << std::dec << "\n";
      }
    }
    return kExitOk;
  }
  out << "{\n  \"version\": " << version << ",\n  \"activeLayer\": " << d.activeLayer
      << ",\n  \"droppedEntities\": " << d.droppedEntities << ",\n  \"layers\": [";
  for (std::size_t i = 0; i < d.layers.size(); ++i) {
    const TCadGroup& g = *d.layers[i];
    out << (i ? ",\n" : "\n") << "    {\"index\": " << i << ", \"name\": " << Json(g.Name())
        << ", \"colorIndex\": " << g.ColorIndex() << ", \"visible\": " << (g.IsVisible() ? "true" : "false")
        << ", \"entityCount\": " << g.MemberCount() << ",\n     \"entities\": [";
    bool first = true;
    for (const TCadObj* e : g.Members()) {
      out << (first ? "\n" : ",\n") << "       {\"kind\": \"" << KindOf(*e) << "\", \"id\": " << e->Id()
          << ", \"flags\": " << e->Flags() << ", \"p1\": [" << Num(e->P1().x) << ", " << Num(e->P1().y) << "]";
      if (const auto* c = dynamic_cast<const TCadCirc*>(e)) out << ", \"radius\": " << Num(c->Radius());
      else out << ", \"p2\": [" << Num(e->P2().x) << ", " << Num(e->P2().y) << "]";
      if (const auto* a = dynamic_cast<const TCadArc*>(e)) out << ", \"bulge\": " << Num(a->Bulge());
      out << "}";
      first = false;
    }
    out << (first ? "]}" : "\n     ]}");
  }
  out << (d.layers.empty() ? "]\n}\n" : "\n  ]\n}\n");
  return kExitOk;
}

}  // namespace qm::cli
