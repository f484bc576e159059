// Walking the segments of a line element: the nearest point of one line to a point, with an
// optional probe that replaces the foot by the crossing in a given direction.
#pragma once

#include "element_geometry/element_geometry.h"

namespace lumora {

// A probe segment through the point along a direction; unused outside direction mode.
struct Probe {
  bool on = false;
  Segment segment{};
};

Probe MakeProbe(const Point& p, double r, bool direction, double angle);

// The segment of a polyline from vertex i to the next; the closing segment of a closed line
// runs from the last vertex back to the first.
int SegmentCount(const LineElement& line);
Segment SegmentAt(const LineElement& line, int i);

// The arc of an arc or circle: centre, start and the last stored point.
struct ArcPoints {
  Point o;
  Point s;
  Point e;
};
bool ArcOf(const LineElement& line, ArcPoints& arc);

// How far a point lies from the zone strips an element's masks cover: no point of the
// element's box is nearer. Strips at the ends of the limits reach on without bound, since an
// element may stick out of the limits there. The strip edges are worked out once per search.
class ZoneGaps {
public:
  ZoneGaps(const Box& limits, const Point& p);
  // The gaps along x and y, or 0 on an axis whose range is empty.
  double X(std::uint16_t mask) const { return Gap(mask, x_); }
  double Y(std::uint16_t mask) const { return Gap(mask, y_); }

private:
  static constexpr int kStrips = 16;
  struct Axis {
    bool valid = false;
    double below[kStrips]{}; // gap when the first strip touched is strip i
    double above[kStrips]{}; // gap when the last strip touched is strip i
  };
  static void Fill(Axis& axis, double start, double end, double v);
  static double Gap(std::uint16_t mask, const Axis& axis);
  Axis x_;
  Axis y_;
};

// The smallest absolute distance below limit from p to the line, with its point; kNoPoint
// when none is below limit.
double NearestOnLineWithin(const LineElement& line, const Point& p, double limit,
                           const Probe& probe, LineHit& hit);

} // namespace lumora
