#include "geom/numerics.h"

#include <limits>

namespace qm {

double Eps = 1e-7;
double Eps2 = 2e-7;
std::int32_t LastStatus = 0;

void SetTolerance(double e) {
  Eps = e;
  Eps2 = 2 * e;
}

std::int64_t CeilTol(double x) {
  if (std::isnan(x)) return 0;
  // Near-integers from either side count as that integer, so 3.0000001 gives
  // 3 rather than 4 and −1.9999999 gives −2 rather than −1.
  const double nearest = std::nearbyint(x);
  const double r = std::fabs(x - nearest) < Eps ? nearest : std::ceil(x);
  constexpr double kMax = 9223372036854775807.0;  // rounds to 2^63
  if (r >= kMax) return std::numeric_limits<std::int64_t>::max();
  if (r <= -kMax) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(r);
}

double Distance3D(double x1, double y1, double z1, double x2, double y2, double z2) {
  const double dx = x2 - x1, dy = y2 - y1, dz = z2 - z1;
  if (dx == 0 && dy == 0 && dz == 0) return 0;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

TPointD MidPoint(TPointD p, TPointD q) {
  double hx = (q.x - p.x) / 2;
  double hy = (q.y - p.y) / 2;
  SnapZero(hx);
  SnapZero(hy);
  return {p.x + hx, p.y + hy};
}

}  // namespace qm
