// Tolerant equality, ranges and the point-in-rectangle test.
#include "geometry/primitives.h"

#include <algorithm>
#include <cmath>

namespace lumora {

int SameValue(double a, double b) {
  return std::abs(b - a) < kGeomTolerance ? 1 : 0;
}

int SameFloat(float a, float b) {
  return std::abs(static_cast<double>(b) - static_cast<double>(a)) < kGeomTolerance ? 1 : 0;
}

int SamePointWithin(double x1, double y1, double x2, double y2, double tol) {
  return std::abs(x2 - x1) < tol && std::abs(y2 - y1) < tol ? 1 : 0;
}

int SamePoint(double x1, double y1, double x2, double y2) {
  return SamePointWithin(x1, y1, x2, y2, kGeomTolerance);
}

int SamePoint(const Point& p, const Point& q) {
  return SamePoint(p.x, p.y, q.x, q.y);
}

int InRange(double v, double a, double b) {
  const double lo = std::min(a, b);
  const double hi = std::max(a, b);
  return lo - kGeomTolerance < v && v < hi + kGeomTolerance ? 1 : 0;
}

// The corners of a box fresh from ResetBox hold nothing, although they read as a reversed
// rectangle spanning the whole plane.
bool IsResetBox(const Box& box) {
  return (box.xmin >= kNoPoint && box.xmax <= -kNoPoint) ||
         (box.ymin >= kNoPoint && box.ymax <= -kNoPoint);
}

int InBox(double px, double py, double x1, double y1, double x2, double y2) {
  if (IsResetBox(Box{x1, y1, x2, y2})) return 0;
  constexpr double t = kGeomTolerance;
  if (x2 >= x1 && y2 >= y1) return x1 - t < px && px < x2 + t && y1 - t < py && py < y2 + t;
  return x2 - t < px && px < x1 + t && y2 - t < py && py < y1 + t;
}

int InBox(double px, double py, const Box& box) {
  return InBox(px, py, box.xmin, box.ymin, box.xmax, box.ymax);
}

} // namespace lumora
