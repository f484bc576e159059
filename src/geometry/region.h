// The smallest closed region around a point, formed by straight and round pieces: the pieces
// are split where they cross or touch, their ends closer than the tolerance become one vertex
// of a planar graph, and the face holding the point is walked, with the closed regions inside
// it as its holes. Loose ends and bridges bound nothing and are left out.
#pragma once

#include "geometry/primitives.h"

#include <span>
#include <vector>

namespace lumora {

// A straight piece from a to b, or a round one about o of radius r, running counter-clockwise
// from the angle `start` (radians) over `sweep` (0 < sweep <= 2 pi; a full turn is the circle).
struct RegionCurve {
  bool round = false;
  Point a{};
  Point b{};
  Point o{};
  double r = 0.0;
  double start = 0.0;
  double sweep = 0.0;
};

// One edge of a loop, in loop order. A round edge runs about o from `from` to `to`,
// counter-clockwise when ccw, over `sweep` radians.
struct RegionEdge {
  bool round = false;
  Point from{};
  Point to{};
  Point o{};
  double r = 0.0;
  double sweep = 0.0;
  bool ccw = true;
};

struct RegionLoop {
  std::vector<RegionEdge> edges;
  double area = 0.0;   // signed, positive counter-clockwise
  bool circle = false; // one whole circle
};

struct Region {
  RegionLoop outer; // counter-clockwise
  std::vector<RegionLoop> holes;
  double area = 0.0; // the outer loop's less the holes'
};

inline constexpr double kFullTurnRadians = 6.283185307179586;

// False when no closed loop holds p.
bool FindRegion(const Point& p, std::span<const RegionCurve> curves, Region& region);

// Where two curves cross or touch, as places along each: a straight piece's share of its length
// from a (0..1), a round piece's angle from its start (0..sweep). Both lists are appended to.
void CurveMeetings(const RegionCurve& a, const RegionCurve& b, std::vector<double>& onA,
                   std::vector<double>& onB);
Point CurvePoint(const RegionCurve& c, double at);
Box CurveBox(const RegionCurve& c);
// The box of a loop, its round edges' whole circles included.
Box LoopBox(const RegionLoop& loop);
// The signed area of a closed loop, round edges counted exactly.
double LoopArea(std::span<const RegionEdge> edges);
// Whether p lies inside the closed loop (by its winding number).
bool InsideLoop(const Point& p, std::span<const RegionEdge> edges);

// The surface area of a pen path whose arcs were written as chords, each loop's area corrected
// by its bulge (the area between its arcs and their chords, counter-clockwise positive; one per
// loop in order), holes taken off as PenPathArea takes them.
double PenPathArea(std::span<const PenPathRecord> records, std::span<const double> bulges);

} // namespace lumora
