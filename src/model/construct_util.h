#pragma once
// Case selection shared by the constructions (not a public API).
#include <vector>

#include "model/construct.h"

namespace qm {

struct TClickCount {
  int fixed = 0, tangent = 0, normal = 0;
  // #fixed + 10·#tangent + 100·#normal; −1 when a count does not fit.
  int Code() const {
    if (fixed > 9 || tangent > 9 || normal > 9) return -1;
    return fixed + 10 * tangent + 100 * normal;
  }
};

inline TClickCount CountClicks(TClicks fixed, TClicks tangent, TClicks normal) {
  return {static_cast<int>(fixed.size()), static_cast<int>(tangent.size()), static_cast<int>(normal.size())};
}

// For clicks that complete none of `cases`: 0 while further clicks can still
// reach one of them, otherwise a silent refusal.
inline TConstructResult PendingOrRefused(TClickCount c, const std::vector<int>& cases) {
  if (c.Code() >= 0)
    for (int k : cases)
      if (k % 10 >= c.fixed && (k / 10) % 10 >= c.tangent && k / 100 >= c.normal) return {construct::NeedMore, nullptr};
  return TConstructResult::Refuse();
}

}  // namespace qm
