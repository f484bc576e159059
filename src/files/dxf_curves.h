// The curves of DXF that the program has no element for, as polylines within a given chord
// accuracy, and a polyline's bulged segments as arcs.
#pragma once

#include "geometry/point.h"

#include <span>
#include <vector>

namespace lumora {

// Most points one approximated curve gets, however fine the accuracy asks.
inline constexpr int kMaxCurvePoints = 4096;

// The arc of a bulged segment from p to q as centre, start and end, counter-clockwise.
// False when the bulge is too small to leave the chord.
bool BulgeArc(const Point& p, const Point& q, double bulge, Point out[3]);

// An ellipse (centre, end of the major axis relative to it, minor/major ratio) from parameter
// t1 to t2 in radians.
std::vector<Point> EllipsePoints(const Point& centre, const Point& major, double ratio, double t1,
                                 double t2, double accuracy);

// A B-spline of the given degree from its knots, control points and weights (empty: all 1).
// Empty when the counts do not fit together.
std::vector<Point> SplinePoints(int degree, std::span<const double> knots,
                                std::span<const Point> control, std::span<const double> weights,
                                double accuracy);

// A smooth curve through fit points: a cubic spline over their chord lengths, leaving the ends
// along the given tangents (zero vectors: the curve is left free to bend there). Empty when fewer
// than two distinct points are given. Chords stray from it by the accuracy at most (0: no
// bound, the usual number per span).
std::vector<Point> FitPointCurve(std::span<const Point> fit, const Point& startTangent,
                                 const Point& endTangent, double accuracy = 0);

// What a line of points was cut from: an ellipse, a B-spline or a curve through fit points.
// A block placed larger than it was drawn cuts its curves again, finer, at the size they show.
struct DxfCurve {
  enum class Kind : unsigned char { kEllipse, kSpline, kFit };
  Kind kind = Kind::kEllipse;
  int segments = 0;   // the chords the line was first cut into
  bool whole = false; // a whole ellipse: the closing point repeats the first and is left off
  Point centre{0, 0}; // ellipse
  Point major{0, 0};
  double ratio = 1;
  double t1 = 0;
  double t2 = 0;
  int degree = 0; // spline
  std::vector<double> knots;
  std::vector<Point> control; // spline control points, or the fit points
  std::vector<double> weights;
  Point startTangent{0, 0}; // fit points
  Point endTangent{0, 0};
};

// The chords a curve first cut into `segments` is cut into when drawn `larger` times its size
// (a chord's distance from its curve grows with the size and falls with the square of the
// chords): never fewer, never more than a curve gets.
int SegmentsWhenLarger(int segments, double larger);

// The curve cut again for a size `larger` times its own; empty when it cannot be.
std::vector<Point> CutLarger(const DxfCurve& curve, double larger);

} // namespace lumora
