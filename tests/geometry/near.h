// Comparisons of points and boxes for the geometry tests.
#pragma once

#include "geometry/primitives.h"

#include <cmath>

namespace lumora {

inline bool Near(const Point& p, const Point& q, double tol = 1e-8) {
  return std::abs(p.x - q.x) < tol && std::abs(p.y - q.y) < tol;
}

inline bool Near(const Box& b, const Box& c, double tol = 1e-8) {
  return Near(Point{b.xmin, b.ymin}, Point{c.xmin, c.ymin}, tol) &&
         Near(Point{b.xmax, b.ymax}, Point{c.xmax, c.ymax}, tol);
}

} // namespace lumora
