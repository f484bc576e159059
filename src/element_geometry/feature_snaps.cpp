// Snaps to a feature of the nearest line.
#include "element_geometry/feature_snaps.h"

#include "element_geometry/line_walk.h"
#include "geometry/region.h"

#include <array>
#include <cmath>

namespace lumora {

namespace {

constexpr double kQuarterTurn = kFullTurnRadians / 4.0;

struct Circle {
  Point o;
  double r = 0.0;
  double start = 0.0; // radians; an arc runs counter-clockwise from start by sweep
  double sweep = kFullTurnRadians;
};

bool CircleOf(const LineElement& line, Circle& c) {
  ArcPoints arc{};
  if (!ArcOf(line, arc)) return false;
  c.o = arc.o;
  c.r = Distance(arc.o, arc.s);
  if (!(c.r > kGeomTolerance)) return false;
  c.start = std::atan2(arc.s.y - arc.o.y, arc.s.x - arc.o.x);
  if (line.shape() == kShapeCircle || SamePoint(arc.s, arc.e)) {
    c.sweep = kFullTurnRadians;
  } else {
    c.sweep = std::fmod(std::atan2(arc.e.y - arc.o.y, arc.e.x - arc.o.x) - c.start +
                            2.0 * kFullTurnRadians,
                        kFullTurnRadians);
    if (c.sweep <= 0.0) c.sweep += kFullTurnRadians;
  }
  return true;
}

Point At(const Circle& c, double angle) {
  return {c.o.x + c.r * std::cos(angle), c.o.y + c.r * std::sin(angle)};
}

// Whether the direction angle lies on the arc, its ends included.
bool OnArc(const Circle& c, double angle) {
  if (c.sweep >= kFullTurnRadians) return true;
  double t = std::fmod(angle - c.start, kFullTurnRadians);
  if (t < 0.0) t += kFullTurnRadians;
  const double slack = kGeomTolerance / c.r;
  return t <= c.sweep + slack || t >= kFullTurnRadians - slack;
}

// Of the candidate angles lying on the arc, the point nearest to the cursor.
template <std::size_t N>
bool NearestOf(const Circle& c, const std::array<double, N>& angles, const Point& cursor,
               Point& found) {
  bool any = false;
  double best = 0.0;
  for (const double a : angles) {
    if (!OnArc(c, a)) continue;
    const Point p = At(c, a);
    const double d = Distance(p, cursor);
    if (!any || d < best) {
      any = true;
      best = d;
      found = p;
    }
  }
  return any;
}

// The foot of the perpendicular from p on the endless line through the segment.
bool Foot(const Segment& s, const Point& p, Point& foot) {
  const double dx = s.p2.x - s.p1.x;
  const double dy = s.p2.y - s.p1.y;
  const double length2 = dx * dx + dy * dy;
  if (!(length2 > kGeomTolerance * kGeomTolerance)) return false;
  const double t = ((p.x - s.p1.x) * dx + (p.y - s.p1.y) * dy) / length2;
  foot = {s.p1.x + t * dx, s.p1.y + t * dy};
  return true;
}

} // namespace

bool SnapToFeature(ElementGeometry& geometry, FeatureSnap snap, const Point& cursor,
                   const Point& from, double reach, Point& found) {
  Point nearest{};
  LineElement* line = geometry.NearestLine(cursor, nearest, reach);
  if (line == nullptr) return false;
  if (!IsRound(*line)) {
    // The segment the nearest point lies on (the search reach is done with: the point is on it).
    LineHit hit;
    if (geometry.NearestOnLine(*line, nearest, hit, 0.0) == 0) return false;
    const Segment& s = hit.segment;
    switch (snap) {
    case FeatureSnap::kMidpoint:
      found = {(s.p1.x + s.p2.x) / 2.0, (s.p1.y + s.p2.y) / 2.0};
      return true;
    case FeatureSnap::kPerpendicular:
      return Foot(s, from, found);
    default:
      return false; // a straight line has no centre, tangent or quadrant
    }
  }
  Circle c;
  if (!CircleOf(*line, c)) return false;
  switch (snap) {
  case FeatureSnap::kMidpoint:
    if (c.sweep >= kFullTurnRadians) return false; // a circle has no middle
    found = At(c, c.start + c.sweep / 2.0);
    return true;
  case FeatureSnap::kCentre:
    found = c.o;
    return true;
  case FeatureSnap::kPerpendicular: {
    if (Distance(from, c.o) <= kGeomTolerance) return false;
    const double a = std::atan2(from.y - c.o.y, from.x - c.o.x);
    return NearestOf(c, std::array{a, a + kFullTurnRadians / 2.0}, cursor, found);
  }
  case FeatureSnap::kTangent: {
    const double d = Distance(from, c.o);
    if (!(d > c.r + kGeomTolerance)) return false; // no tangent from inside or on the circle
    const double a = std::atan2(from.y - c.o.y, from.x - c.o.x);
    const double b = std::acos(c.r / d);
    return NearestOf(c, std::array{a + b, a - b}, cursor, found);
  }
  case FeatureSnap::kQuadrant:
    return NearestOf(c, std::array{0.0, kQuarterTurn, 2.0 * kQuarterTurn, 3.0 * kQuarterTurn},
                     cursor, found);
  }
  return false;
}

} // namespace lumora
