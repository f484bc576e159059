// Segments: distance to a point, points along and beside them, crossings and directions.
#include "geometry/primitives.h"

#include <cmath>

namespace lumora {

namespace {

// Below this the two lines are taken as parallel.
constexpr double kParallelSlack = 1e-9;
constexpr double kFullTurnDegrees = 360.0;

} // namespace

double PointToSegment(double px, double py, const Segment& seg, double& fx, double& fy) {
  const double len = Distance(seg.p1, seg.p2);
  if (len < kGeomTolerance) return kNoPoint;
  const double ux = (seg.p2.x - seg.p1.x) / len;
  const double uy = (seg.p2.y - seg.p1.y) / len;
  const double t = (px - seg.p1.x) * ux + (py - seg.p1.y) * uy;
  fx = seg.p1.x + t * ux;
  fy = seg.p1.y + t * uy;
  if (t <= -kGeomTolerance || t >= len + kGeomTolerance) return kNoPoint;
  return (px - seg.p1.x) * uy - (py - seg.p1.y) * ux;
}

int OffsetPoint(double x1, double y1, double x2, double y2, double dist, double& x, double& y) {
  const double len = Distance(x1, y1, x2, y2);
  if (len < kGeomTolerance) return 0;
  x = x1 + dist * (y2 - y1) / len;
  y = y1 - dist * (x2 - x1) / len;
  return 1;
}

int PointAlong(double x1, double y1, double x2, double y2, double dist, double& x, double& y) {
  const double len = Distance(x1, y1, x2, y2);
  if (len < kGeomTolerance) return 0;
  x = x1 + dist * (x2 - x1) / len;
  y = y1 + dist * (y2 - y1) / len;
  return 1;
}

int IntersectSegments(const Segment& a, const Segment& b, double& x, double& y) {
  const double x1 = a.p1.x, y1 = a.p1.y, x2 = a.p2.x, y2 = a.p2.y;
  const double x3 = b.p1.x, y3 = b.p1.y, x4 = b.p2.x, y4 = b.p2.y;
  const double den = (y4 - y3) * (x2 - x1) - (x4 - x3) * (y2 - y1);
  // Written so that a determinant that is not a number also counts as parallel.
  if (!(std::abs(den) >= kParallelSlack)) {
    x = kNoPoint;
    y = kNoPoint;
    return 0;
  }
  const double ua = ((y1 - y3) * (x4 - x3) - (x1 - x3) * (y4 - y3)) / den;
  const double ub = -((y3 - y1) * (x2 - x1) - (x3 - x1) * (y2 - y1)) / den;
  x = x1 + ua * (x2 - x1);
  y = y1 + ua * (y2 - y1);
  // Each segment is lengthened by about the tolerance at both ends.
  const double slackA = kGeomTolerance / (std::abs(x2 - x1) + std::abs(y2 - y1));
  const double slackB = kGeomTolerance / (std::abs(x4 - x3) + std::abs(y4 - y3));
  if (ua <= -slackA || ua >= 1.0 + slackA || ub <= -slackB || ub >= 1.0 + slackB) return -1;
  return 1;
}

int DirectionRadians(double x1, double y1, double x2, double y2, double& angle) {
  if (SamePoint(x1, y1, x2, y2)) return 0;
  // Adding zero turns a negative zero into a positive one: straight left is +180, never -180.
  angle = std::atan2((y2 - y1) + 0.0, x2 - x1);
  return 1;
}

int DirectionDegrees(double x1, double y1, double x2, double y2, double& angle) {
  double rad = 0.0;
  if (!DirectionRadians(x1, y1, x2, y2, rad)) return 0;
  angle = rad * kRadToDeg;
  return 1;
}

namespace {

// Direction from the far end of the segment towards the crossing, or from the near end when
// the far end is the crossing itself.
int DirectionToCrossing(const Segment& seg, double cx, double cy, double& angle) {
  if (DirectionDegrees(seg.p2.x, seg.p2.y, cx, cy, angle)) return 1;
  return DirectionDegrees(seg.p1.x, seg.p1.y, cx, cy, angle);
}

} // namespace

int AngleBetweenLines(const Segment& a, const Segment& b, double& angle) {
  double cx = 0.0;
  double cy = 0.0;
  if (IntersectSegments(a, b, cx, cy) == 0) return 0;
  double angleA = 0.0;
  double angleB = 0.0;
  if (!DirectionToCrossing(a, cx, cy, angleA) || !DirectionToCrossing(b, cx, cy, angleB)) {
    return 0;
  }
  double diff = angleA - angleB;
  if (diff < 0.0) diff += kFullTurnDegrees;
  // A difference a hair below zero must not come back as a full turn.
  if (diff >= kFullTurnDegrees) diff -= kFullTurnDegrees;
  angle = diff;
  return 1;
}

} // namespace lumora
