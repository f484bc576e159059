// Affine maps: placing, scaling, mirroring and turning.
#include "geometry/primitives.h"

#include <cmath>

namespace lumora {

void MakeTransform(Transform& t, double rx, double ry, double lx, double ly, double sx, double sy,
                   double angle) {
  if (SameValue(angle, 0.0)) {
    // Without rotation the map is exact: no cosine rounding creeps into plain moves.
    t = {sx, 0.0, lx - rx * sx, 0.0, sy, ly - ry * sy};
    return;
  }
  const double rad = angle * kDegToRad;
  const double co = std::cos(rad);
  const double si = std::sin(rad);
  t.a = co * sx;
  t.b = -si * sy;
  t.c = lx - t.a * rx - t.b * ry;
  t.d = si * sx;
  t.e = co * sy;
  t.f = ly - t.d * rx - t.e * ry;
}

void ApplyTransform(const Transform& t, double& x, double& y) {
  const double nx = t.a * x + t.b * y + t.c;
  const double ny = t.d * x + t.e * y + t.f;
  x = nx;
  y = ny;
}

void TransformBox(Box& box, const Transform& t) {
  // An empty box has no corners to map; it stays empty rather than growing huge. Any other
  // box, a reversed one too, is the box of its four mapped corners.
  if (IsResetBox(box)) {
    ResetBox(box);
    return;
  }
  Point corners[] = {
      {box.xmin, box.ymin}, {box.xmax, box.ymin}, {box.xmax, box.ymax}, {box.xmin, box.ymax}};
  ResetBox(box);
  for (Point& p : corners) {
    ApplyTransform(t, p.x, p.y);
    ExtendBox(p.x, p.y, box);
  }
}

} // namespace lumora
