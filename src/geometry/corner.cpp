// The rounding arc that fits into the corner of two segments.
#include "geometry/primitives.h"

#include <cmath>
#include <utility>

namespace lumora {

namespace {

// Turns the segment so that its first end is the one nearer the corner.
void FaceAwayFromCorner(Segment& seg, double cx, double cy) {
  if (Distance(seg.p2.x, seg.p2.y, cx, cy, 0) < Distance(seg.p1.x, seg.p1.y, cx, cy, 0)) {
    std::swap(seg.p1, seg.p2);
  }
}

// a·x + b·y + c = 0 on the line, positive to the left of its direction.
struct LineEquation {
  double a;
  double b;
  double c;
};

LineEquation EquationOf(const Segment& s) {
  return {s.p1.y - s.p2.y, s.p2.x - s.p1.x, s.p1.x * s.p2.y - s.p1.y * s.p2.x};
}

// The foot of the point on the segment's line; kNoPoint when the segment has no direction.
Point FootOn(const Segment& seg, const Point& p) {
  Point foot{kNoPoint, kNoPoint};
  PointToSegment(p.x, p.y, seg, foot.x, foot.y);
  return foot;
}

} // namespace

int RoundCorner(const Segment& a, const Segment& b, double r, Point& centre, Point& onA,
                Point& onB) {
  double cx = 0.0;
  double cy = 0.0;
  if (IntersectSegments(a, b, cx, cy) == 0) return 0;
  Segment sa = a;
  Segment sb = b;
  FaceAwayFromCorner(sa, cx, cy);
  FaceAwayFromCorner(sb, cx, cy);

  LineEquation la = EquationOf(sa);
  LineEquation lb = EquationOf(sb);
  const double det = lb.a * la.b - lb.b * la.a;
  if (SameValue(det, 0.0)) return 0;
  // Shift both lines by r towards the inside of the angle between the far ends.
  const double normA = std::sqrt(la.a * la.a + la.b * la.b);
  const double normB = std::sqrt(lb.a * lb.a + lb.b * lb.b);
  const double turn =
      Cross(sa.p2.x - sa.p1.x, sa.p2.y - sa.p1.y, sb.p2.x - sb.p1.x, sb.p2.y - sb.p1.y, 0);
  const double side = turn > 0.0 ? 1.0 : -1.0;
  la.c -= side * r * normA;
  lb.c += side * r * normB;
  centre = {(la.c * lb.b - lb.c * la.b) / det, (lb.c * la.a - la.c * lb.a) / det};

  // The arc fits when neither tangent point lies beyond the far end of its segment.
  onA = FootOn(sa, centre);
  onB = FootOn(sb, centre);
  if (Distance(onA.x, onA.y, cx, cy, 0) > Distance(sa.p2.x, sa.p2.y, cx, cy, 0)) return 0;
  return Distance(onB.x, onB.y, cx, cy, 0) <= Distance(sb.p2.x, sb.p2.y, cx, cy, 0) ? 1 : 0;
}

} // namespace lumora
