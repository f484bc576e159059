// The boundary paths of a filling as other programs take a hatch's: the filling's lines joined
// into loops the way the filling's own boundary walk joins them (a line continues the loop from
// its nearer end, a closed line or circle ends it, a missing line starts a new one), each loop a
// path of straight and circular edges in walking order, closed back to its start.
#pragma once

#include "geometry/point.h"

#include <cstddef>
#include <span>
#include <vector>

namespace lumora {

struct LineElement;

struct HatchEdge {
  bool arc = false;
  Point from{0, 0}; // a straight edge: from, to
  Point to{0, 0};
  Point centre{0, 0}; // an arc: centre, radius and angles in degrees, start < end
  double radius = 0;
  double start = 0;
  double end = 0;
  bool counterClockwise = true;
};

struct HatchLoop {
  std::vector<HatchEdge> edges;
  std::vector<std::size_t> lines; // the boundary lines (by index) the loop was made of
  double area = 0;                // of its corners, unsigned: the largest loop is the outer one
};

std::vector<HatchLoop> HatchLoops(std::span<const LineElement* const> lines);

} // namespace lumora
