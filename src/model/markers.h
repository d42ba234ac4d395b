#pragma once
// Point markers: a picked point shown on screen (TMarker) and an
// intersection point offered for choice (TOptionMarker).
//
// The marker's x, y are single precision, because that is what markers
// show and what the snapping hands on as a click. The full-precision point
// is kept beside them: splitting, trimming and extending cut at `point`,
// since rounding to single precision moves a point by more than the cutting
// tolerance once coordinates reach a few thousand units.
#include <cmath>
#include <cstdint>
#include <limits>

#include "geom/geometry.h"
#include "model/exlist.h"

namespace qm {

// A double rounded to single precision, saturating at the float range
// (NaN stays NaN).
inline float ToSingle(double v) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (v > kMax) return std::numeric_limits<float>::max();
  if (v < -kMax) return -std::numeric_limits<float>::max();
  return static_cast<float>(v);
}

struct TMarker {
  float x = 0, y = 0;               // the point, single precision
  std::int32_t px = 0, py = 0;      // its pixel position, set when drawn
  std::int32_t size = 0;            // its pixel size
  TPointD point;                    // the point, full precision

  TMarker() = default;
  explicit TMarker(TPointD p, std::int32_t pixelSize = 0)
      : x(ToSingle(p.x)), y(ToSingle(p.y)), size(pixelSize), point(p) {}
  // The point as shown (single precision).
  TPointD SinglePoint() const { return {x, y}; }
};

struct TOptionMarker : TMarker {
  using TMarker::TMarker;
};

// Owning lists of markers.
using TMOptions = TExList<TOptionMarker>;
using TMarkerList = TExList<TMarker>;

}  // namespace qm
