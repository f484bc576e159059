// Element geometry over a store on a fresh drawing, with a painter that records what was erased,
// drawn and highlighted.
#pragma once

#include "element_geometry/element_geometry.h"
#include "model/store_fixture.h"

#include <cmath>
#include <vector>

namespace lumora::test {

// The whole-sheet view of a 1000 x 800 window.
inline constexpr double kSheetViewWidth = 365.885;

class GeometryTest : public StoreTest {
protected:
  ElementGeometry geo{store, env, MakeGeometrySettings(kSheetViewWidth, kLimit, 0.04, false)};

  static std::vector<Point> Pts(const LineElement* line) {
    return {line->points, line->points + line->ps0()};
  }
  static bool Same(const Point& p, const Point& q, double tol = 1e-6) {
    return std::abs(p.x - q.x) < tol && std::abs(p.y - q.y) < tol;
  }
  static bool Same(const std::vector<Point>& a, const std::vector<Point>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (!Same(a[i], b[i])) return false;
    }
    return true;
  }
};

} // namespace lumora::test
