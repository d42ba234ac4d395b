#pragma once
// Small helpers shared by the line, arc and circle code (not a public API).
#include <cmath>
#include <memory>

#include "geom/geometry.h"
#include "model/markers.h"

namespace qm::shape {

inline TPointD Polar(TPointD c, double r, double a) { return {c.x + r * std::cos(a), c.y + r * std::sin(a)}; }

inline TPointD RotateAbout(TPointD p, double cx, double cy, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double dx = p.x - cx, dy = p.y - cy;
  return {cx + dx * c - dy * s, cy + dx * s + dy * c};
}

inline TPointD ScaleAbout(TPointD p, double cx, double cy, double f) { return {cx + (p.x - cx) * f, cy + (p.y - cy) * f}; }

inline TPointD Affine(TPointD p, double dx, double dy, double f) { return {p.x * f + dx, p.y * f + dy}; }

inline void AddMarker(TMOptions& markers, TPointD p) { markers.Add(std::make_unique<TOptionMarker>(p)); }

// The angle turned from `from` to `to` going counter-clockwise (ccw) or
// clockwise, in [0, 2π).
inline double Travel(double from, double to, bool ccw) {
  double t = std::fmod(ccw ? to - from : from - to, TwoPi);
  if (t < 0) t += TwoPi;
  if (t >= TwoPi) t = 0;
  return t;
}

inline TPointD Lerp(TPointD a, TPointD b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

// Unit vector from a to b; (0, 0) when they coincide.
inline TPointD UnitDir(TPointD a, TPointD b) {
  const double dx = b.x - a.x, dy = b.y - a.y, d = std::hypot(dx, dy);
  if (!(d > 0)) return {0, 0};
  return {dx / d, dy / d};
}

}  // namespace qm::shape
