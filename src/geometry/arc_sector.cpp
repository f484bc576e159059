// Whether a point lies in the angular sector of an arc.
#include "geometry/primitives.h"

namespace lumora {

namespace {

// Below this the start and end directions are taken as opposite or equal (square units).
constexpr double kHalfTurnSlack = 1e-9;

} // namespace

int OnArc(double px, double py, const Point& o, const Point& s, const Point& e) {
  // Ends closer than the tolerance make a full circle, as everywhere else that treats arcs;
  // the cross product of two such ends could otherwise read as a sliver of an arc.
  if (SamePoint(s, e)) return 1;
  const double sx = s.x - o.x;
  const double sy = s.y - o.y;
  const double ex = e.x - o.x;
  const double ey = e.y - o.y;
  const double vx = px - o.x;
  const double vy = py - o.y;
  const double fromStart = Cross(sx, sy, vx, vy, 0);
  const double fromEnd = Cross(ex, ey, vx, vy, 0);
  const double turn = Cross(sx, sy, ex, ey, 0);
  // The slack is on the cross products themselves, not on an angle.
  if (turn > kHalfTurnSlack) return fromStart > -kGeomTolerance && fromEnd < kGeomTolerance ? 1 : 0;
  return fromStart >= -kGeomTolerance || fromEnd <= kGeomTolerance ? 1 : 0;
}

int OnArc(const Point& p, const Point& o, const Point& s, const Point& e) {
  return OnArc(p.x, p.y, o, s, e);
}

} // namespace lumora
