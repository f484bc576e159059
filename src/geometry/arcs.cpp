// Arcs: distance to a point, crossings with segments and other arcs, the arc through three
// points.
#include "geometry/primitives.h"

#include <cmath>
#include <utility>

namespace lumora {

namespace {

// A squared half-chord below this is a touching line or circle: one point, not two.
constexpr double kTangentSquare = 1e-6;
// A half-chord above this makes the second point distinct from the first.
constexpr double kDistinctHalfChord = 1e-9;
// How far inside the circle, as a fraction of r, a line may pass below zero and still touch.
constexpr double kTouchSlackPerRadius = 0.002;

void SetNoPoints(Point& q1, Point& q2) {
  q1 = {kNoPoint, kNoPoint};
  q2 = {kNoPoint, kNoPoint};
}

// Orders the counted points so that a single one is always first.
int CountedPoints(bool first, bool second, Point& q1, Point& q2) {
  if (first && second) return 2;
  if (second) {
    std::swap(q1, q2);
    return 1;
  }
  return first ? 1 : 0;
}

} // namespace

double PointToArc(double px, double py, const Point& o, const Point& s, const Point& e, double& nx,
                  double& ny) {
  const double r = Distance(o, s);
  const double d = Distance(o.x, o.y, px, py);
  if (d < kGeomTolerance) {
    // Every point of the circle is as near; the start point stands for them.
    nx = s.x;
    ny = s.y;
    return -r;
  }
  nx = o.x + (px - o.x) * r / d;
  ny = o.y + (py - o.y) * r / d;
  if (SamePoint(s, e) || OnArc(nx, ny, o, s, e)) return d - r;
  return kNoPoint;
}

int IntersectSegmentArc(const Segment& seg, const Point& o, const Point& s, const Point& e,
                        Point& q1, Point& q2) {
  const double r = Distance(o, s);
  const double len = Distance(seg.p1, seg.p2);
  if (len <= kGeomTolerance) {
    SetNoPoints(q1, q2);
    return 0;
  }
  const double ux = (seg.p2.x - seg.p1.x) / len;
  const double uy = (seg.p2.y - seg.p1.y) / len;
  const double wx = o.x - seg.p1.x;
  const double wy = o.y - seg.p1.y;
  const double t0 = wx * ux + wy * uy;
  const double h2 = r * r - (wx * wx + wy * wy - t0 * t0);
  if (h2 <= -kTouchSlackPerRadius * r) {
    SetNoPoints(q1, q2);
    return 0;
  }
  const double h = h2 >= kTangentSquare ? std::sqrt(h2) : 0.0;
  const double t1 = t0 - h;
  const double t2 = t0 + h;
  q1 = {seg.p1.x + t1 * ux, seg.p1.y + t1 * uy};
  q2 = {seg.p1.x + t2 * ux, seg.p1.y + t2 * uy};
  const bool first = t1 > -kGeomTolerance && t1 < len + kGeomTolerance && OnArc(q1, o, s, e);
  const bool second = t2 > -kGeomTolerance && t2 < len + kGeomTolerance && h > kDistinctHalfChord &&
                      OnArc(q2, o, s, e);
  return CountedPoints(first, second, q1, q2);
}

int IntersectArcs(const Point& o1, const Point& s1, const Point& e1, const Point& o2,
                  const Point& s2, const Point& e2, Point& q1, Point& q2) {
  const double r1 = Distance(o1, s1);
  const double r2 = Distance(o2, s2);
  const double d = Distance(o1, o2);
  if (d <= kGeomTolerance) {
    SetNoPoints(q1, q2);
    return 0;
  }
  // a: distance from O1 along the centre line to the chord of the crossing points.
  const double a = (r1 * r1 - r2 * r2 + d * d) / (2.0 * d);
  if (a <= -(r1 + kGeomTolerance) || a >= r1 + kGeomTolerance) {
    SetNoPoints(q1, q2);
    return 0;
  }
  const double h2 = r1 * r1 - a * a;
  const double h = h2 >= kTangentSquare ? std::sqrt(h2) : 0.0;
  const double ex = (o2.x - o1.x) / d;
  const double ey = (o2.y - o1.y) / d;
  q1 = {o1.x + a * ex - h * ey, o1.y + a * ey + h * ex};
  q2 = {o1.x + a * ex + h * ey, o1.y + a * ey - h * ex};
  const bool first = OnArc(q1, o1, s1, e1) && OnArc(q1, o2, s2, e2);
  const bool second = OnArc(q2, o1, s1, e1) && h > kDistinctHalfChord && OnArc(q2, o2, s2, e2);
  return CountedPoints(first, second, q1, q2);
}

int ArcThroughPoints(const Point& p1, const Point& p2, const Point& p3, Point& o, Point& s,
                     Point& e) {
  // The centre is where the perpendicular bisectors of P1P2 and P2P3 cross.
  const Point m1{(p1.x + p2.x) / 2.0, (p1.y + p2.y) / 2.0};
  const Point m2{(p2.x + p3.x) / 2.0, (p2.y + p3.y) / 2.0};
  const Segment bisector1{m1, {m1.x - (p1.y - p2.y), m1.y + (p1.x - p2.x)}};
  const Segment bisector2{m2, {m2.x - (p3.y - p2.y), m2.y + (p3.x - p2.x)}};
  Point centre{};
  if (IntersectSegments(bisector1, bisector2, centre.x, centre.y) == 0) return 0;
  o = centre;
  // The arc runs counter-clockwise, so the end that leads through P2 that way is the start.
  if (OnArc(p2, centre, p1, p3)) {
    s = p1;
    e = p3;
  } else {
    s = p3;
    e = p1;
  }
  return 1;
}

} // namespace lumora
