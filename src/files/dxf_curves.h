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
// than two distinct points are given.
std::vector<Point> FitPointCurve(std::span<const Point> fit, const Point& startTangent,
                                 const Point& endTangent);

} // namespace lumora
