// Stateless plane geometry: tolerant comparisons, distances, intersections of segments and arcs,
// rounding arcs, inside tests, surface area, boxes, zone masks and affine transforms.
//
// Truth results are 1 and 0. Output arguments are written only as each function says. An arc
// is given as its centre O, start S and end E and runs counter-clockwise from S to E; S equal to
// E (within the tolerance) is the full circle.
#pragma once

#include "geometry/point.h"

#include <cstdint>
#include <span>

namespace lumora {

// Two coordinates closer than this are the same.
inline constexpr double kGeomTolerance = 0.001;
// Written to outputs when no point exists; returned as a distance meaning "not near".
inline constexpr double kNoPoint = 1e12;
// Degree and radian conversions use pi = 3.1415926535 everywhere, so that angles stored in
// drawings come back the same.
inline constexpr double kDegToRad = 0.017453292519444445;
inline constexpr double kRadToDeg = 57.29577951471995;

struct Segment {
  Point p1;
  Point p2;
};

// xmin, ymin, xmax, ymax. A default box is empty, as ResetBox leaves it.
struct Box {
  double xmin = kNoPoint;
  double ymin = kNoPoint;
  double xmax = -kNoPoint;
  double ymax = -kNoPoint;
  friend bool operator==(const Box&, const Box&) = default;
};

// One record of a pen path: pen nonzero = an edge is drawn to this record from the one before;
// pen 0 = a new loop starts here. Loops repeat their start point at their end.
struct PenPathRecord {
  double x;
  double y;
  std::int32_t pen;
};

// x' = a·x + b·y + c, y' = d·x + e·y + f. The default is the identity.
struct Transform {
  double a = 1.0;
  double b = 0.0;
  double c = 0.0;
  double d = 0.0;
  double e = 1.0;
  double f = 0.0;
};

// ---- Equality and range -------------------------------------------------------------------

int SameValue(double a, double b);
int SameFloat(float a, float b);
int SamePoint(double x1, double y1, double x2, double y2);
int SamePoint(const Point& p, const Point& q);
int SamePointWithin(double x1, double y1, double x2, double y2, double tol);
// lo - tol < v < hi + tol with lo, hi the smaller and larger of a and b.
int InRange(double v, double a, double b);
// Inside the rectangle of the two corners, with the tolerance as slack. Corners with
// x2 < x1 or y2 < y1 read as a rectangle reversed in both axes.
int InBox(double px, double py, double x1, double y1, double x2, double y2);
// Inside a Box; an empty box holds no point.
int InBox(double px, double py, const Box& box);
// A box as ResetBox leaves it, in either axis: it holds nothing and has no corners to map.
bool IsResetBox(const Box& box);

// ---- Distances and projections ------------------------------------------------------------

// euclid != 0: straight distance; euclid == 0: Manhattan distance.
double Distance(double x1, double y1, double x2, double y2, int euclid = 1);
double Distance(const Point& p, const Point& q, int euclid = 1);
// Signed distance from P to the segment (positive to the right of its direction), or kNoPoint
// when the foot falls beyond an end. The foot on the carrying line is written even then; a
// segment shorter than the tolerance gives kNoPoint and leaves the outputs alone.
double PointToSegment(double px, double py, const Segment& seg, double& fx, double& fy);
// Signed distance from P to the arc (positive outside the circle) and the nearest point of the
// circle, or kNoPoint when that point is not on the arc. P at the centre gives -r and S.
double PointToArc(double px, double py, const Point& o, const Point& s, const Point& e, double& nx,
                  double& ny);
// The point at dist to the right of the first end. 0 for a segment shorter than the tolerance.
int OffsetPoint(double x1, double y1, double x2, double y2, double dist, double& x, double& y);
// The point at dist from the first end towards the second. 0 for a too short segment.
int PointAlong(double x1, double y1, double x2, double y2, double dist, double& x, double& y);
// x·cos(angle) + y·sin(angle), angle in degrees; its absolute value when absolute != 0.
double Projection(double x, double y, double angle, int absolute);
// With unit != 0 each vector longer than the tolerance is first made of unit length.
double Cross(double ux, double uy, double vx, double vy, int unit);
double Dot(double ux, double uy, double vx, double vy, int unit);
// A key that grows with the clockwise turn from P1 - O to P2 - O (from -1 to 3 with unit != 0).
double TurnKey(double x1, double y1, double x2, double y2, double ox, double oy, int unit);

// ---- Intersections and constructions ------------------------------------------------------

// 1 the segments meet (each lengthened by the tolerance), -1 the lines meet outside a segment
// (point written), 0 parallel (outputs kNoPoint).
int IntersectSegments(const Segment& a, const Segment& b, double& x, double& y);
// Number of crossing points 0, 1 or 2; a single point is always q1.
int IntersectSegmentArc(const Segment& seg, const Point& o, const Point& s, const Point& e,
                        Point& q1, Point& q2);
int IntersectArcs(const Point& o1, const Point& s1, const Point& e1, const Point& o2,
                  const Point& s2, const Point& e2, Point& q1, Point& q2);
// The rounding arc of radius r in the corner of the two segments: its centre and its tangent
// points. 1 when the arc fits on both segments.
int RoundCorner(const Segment& a, const Segment& b, double r, Point& centre, Point& onA,
                Point& onB);
// The counter-clockwise arc through the three points that passes through p2. 0 when collinear.
int ArcThroughPoints(const Point& p1, const Point& p2, const Point& p3, Point& o, Point& s,
                     Point& e);
// 1 when P lies in the angular sector of the arc, at any distance from O.
int OnArc(double px, double py, const Point& o, const Point& s, const Point& e);
int OnArc(const Point& p, const Point& o, const Point& s, const Point& e);
// The angle in [0, 360) degrees between the directions towards the lines' crossing.
int AngleBetweenLines(const Segment& a, const Segment& b, double& angle);
// Direction from P1 to P2 in (-180, 180] degrees; 0 when the points are the same.
int DirectionDegrees(double x1, double y1, double x2, double y2, double& angle);
int DirectionRadians(double x1, double y1, double x2, double y2, double& angle);

// ---- Inside tests and area ----------------------------------------------------------------

// 1 inside or on the boundary of the closed polygon.
int PointInPolygon(double px, double py, std::span<const Point> points);
// 1 strictly inside the loops of the pen path; on the boundary is outside.
int PointInPenPath(double px, double py, std::span<const PenPathRecord> records);
// Surface area of the loops; a loop lying inside the loops before it is a hole.
double PenPathArea(std::span<const PenPathRecord> records);

// ---- Boxes, zones and transforms ----------------------------------------------------------

void ResetBox(Box& box);
void ExtendBox(double x, double y, Box& box);
void BoxOfPoints(std::span<const Point> points, Box& box);
void BoxOfArc(const Point& o, const Point& s, const Point& e, Box& box);
void BoxOfCircle(const Point& o, const Point& s, Box& box);
void ExtendBoxBySegment(const Segment& seg, Box& box);
// Which of 16 equal strips of [start, end] the extent [lo, hi] touches; bit 15 is the lowest.
std::uint16_t ZoneMask(double lo, double hi, double start, double end);
int ZonesOverlap(std::uint16_t ax, std::uint16_t ay, std::uint16_t bx, std::uint16_t by);
void SwapPoints(double& x1, double& y1, double& x2, double& y2);
// Maps R to L, scaling by sx, sy (negative mirrors) and then turning by angle degrees.
void MakeTransform(Transform& t, double rx, double ry, double lx, double ly, double sx, double sy,
                   double angle);
void ApplyTransform(const Transform& t, double& x, double& y);
// The box of the four mapped corners.
void TransformBox(Box& box, const Transform& t);

} // namespace lumora
