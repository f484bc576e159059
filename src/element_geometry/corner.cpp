// Finding the corner between two lines near a picked point, and rounding it with an arc (or
// trimming both lines to their crossing with radius 0).
#include "element_geometry/element_geometry.h"
#include "element_geometry/line_walk.h"
#include "model/property_set.h"

namespace lumora {

namespace {

// A vertex is looked for within this many search units of the picked point.
constexpr double kCornerSearch = 4.0;
// After cutting a line open at the corner, the piece is found again within this radius.
constexpr double kPieceSearch = 1.0;

// The vertex of a line that moves to the tangent point, and the segment that leads away from
// the corner through it.
struct MovingEnd {
  int index = 0;
  Segment segment{};
};

MovingEnd EndAt(const LineElement& line, bool first) {
  const std::span<const Point> v = PointsOf(line);
  const std::size_t n = v.size();
  if (first) return {0, {v[0], v[1]}};
  return {static_cast<int>(n - 1), {v[n - 1], v[n - 2]}};
}

// Whether the corner of one line at `at` takes the rounding, asked before the line is cut there:
// a rounding that does not fit leaves the line whole. A corner that is not one of the line's
// vertices is left for the cut pieces to answer.
bool CornerTakesRadius(const LineElement& line, const Point& at, double radius, double tol) {
  const std::span<const Point> v = PointsOf(line);
  const std::size_t n = v.size();
  const bool closed = line.shape() == kShapeClosed;
  for (std::size_t i = 0; i < n; ++i) {
    if (SamePointWithin(v[i].x, v[i].y, at.x, at.y, tol) == 0) continue;
    if ((i == 0 || i + 1 == n) && !closed) return true;
    const Point& before = v[i == 0 ? n - 1 : i - 1];
    const Point& after = v[i + 1 == n ? 0 : i + 1];
    Point centre{};
    Point onA{};
    Point onB{};
    return RoundCorner({v[i], before}, {v[i], after}, radius, centre, onA, onB) != 0;
  }
  return true;
}

bool OpenLine(const LineElement* line) {
  return line != nullptr && line->shape() == kShapeOpen && line->ps0() >= 2;
}

} // namespace

int ElementGeometry::FindCorner(LineElement* picked, Corner& corner) const {
  corner.line1 = corner.line2 = corner.arc = nullptr;
  corner.radius = 0.0;
  if (picked == nullptr || picked->shape() == kShapeCircle) return 0;
  const double tol = settings.CornerTolerance();
  Point other{};
  if (picked->shape() == kShapeArc) {
    ArcPoints a{};
    if (!ArcOf(*picked, a)) return 0;
    LineElement* atStart = LineEndingAt(picked, a.s, other, tol);
    LineElement* atEnd = LineEndingAt(picked, a.e, other, tol);
    if (!OpenLine(atStart) || !OpenLine(atEnd) || ArcMidpoint(*picked, corner.point) == 0) {
      return 0;
    }
    corner.arc = picked;
    corner.line1 = atStart;
    corner.line2 = atEnd;
    corner.radius = ArcRadius(*picked);
    return 1;
  }
  Point vertex{};
  int index = 0;
  if (NearestVertex(*picked, corner.point, vertex, index, kCornerSearch) == 0) return 0;
  corner.point = vertex;
  corner.line1 = picked;
  if (picked->shape() == kShapeClosed) return 1; // rounding cuts it open at the corner first
  const int ends = EndsAt(*picked, vertex, other, tol);
  if (ends == 0) return 1;
  if (ends == 2) {
    corner.line2 = picked;
    return 1;
  }
  int meeting = 0;
  LineElement* second = LineEndingAt(picked, vertex, other, tol, &meeting);
  // The free end of a line is no corner: no radius could be asked for it.
  if (meeting == 0) return 0;
  if (second == nullptr || second->shape() != kShapeArc) {
    corner.line2 = second;
    return 1;
  }
  // The corner is rounded already: the arc's other end leads to the second line, which is the
  // picked line itself when a closed line was cut open there.
  LineElement* beyond = LineEndingAt(second, other, other, tol);
  Point mid{};
  if (!OpenLine(beyond) || ArcMidpoint(*second, mid) == 0) return 0;
  corner.arc = second;
  corner.line2 = beyond;
  corner.radius = ArcRadius(*second);
  corner.point = mid;
  return 1;
}

int ElementGeometry::RoundLineCorner(Corner& corner, double radius) {
  if (corner.line1 == nullptr) return 0;
  if (corner.line2 == nullptr) {
    // Cut once at the corner and look again; a corner shared by three lines stays unrounded.
    LineElement* line = corner.line1;
    if (!CornerTakesRadius(*line, corner.point, radius, settings.CornerTolerance())) return 0;
    CutLineAtPoints(line, {corner.point}, true);
    Point near{};
    LineElement* piece = NearestLine(corner.point, near, kPieceSearch);
    if (FindCorner(piece, corner) == 0 || corner.line2 == nullptr) return 0;
  }
  LineElement& line1 = *corner.line1;
  LineElement& line2 = *corner.line2;
  if (line1.ps0() < 2 || line2.ps0() < 2 || IsRound(line1) || IsRound(line2)) return 0;

  Point end1 = corner.point;
  Point end2 = corner.point;
  if (corner.arc != nullptr) {
    ArcPoints a{};
    if (corner.arc->ps0() != 3 || !ArcOf(*corner.arc, a)) return 0;
    end1 = a.s;
    end2 = a.e;
    LineHit hit;
    if (NearestOnLine(line1, end1, hit, 0.0) == 0) std::swap(end1, end2);
  }
  const double tol = settings.CornerTolerance();
  const auto nearFirst = [tol](const LineElement& line, const Point& end) {
    const Point& first = line.points[0];
    return SamePointWithin(first.x, first.y, end.x, end.y, tol) != 0;
  };
  // A closed line cut open at the corner is both lines: one end each.
  const bool same = &line1 == &line2;
  const MovingEnd move1 = EndAt(line1, same || nearFirst(line1, end1));
  const MovingEnd move2 = EndAt(line2, !same && nearFirst(line2, end2));

  Point centre{};
  Point t1{};
  Point t2{};
  if (RoundCorner(move1.segment, move2.segment, radius, centre, t1, t2) == 0) return 0;
  if (corner.arc != nullptr) store_.painter().Draw(*corner.arc, DrawMode::kErase);
  MoveVertex(line1, move1.index, t1);
  MoveVertex(line2, move2.index, t2);
  if (radius == 0.0) {
    if (corner.arc != nullptr) {
      DropFromBoundaries(*corner.arc);
      store_.DeleteLine(corner.arc);
    }
    corner.point = t1;
    corner.radius = 0.0;
    return 1;
  }
  if (Cross(t1.x - centre.x, t1.y - centre.y, t2.x - centre.x, t2.y - centre.y, 0) < 0) {
    std::swap(t1, t2);
  }
  const Point arcPoints[] = {centre, t1, t2};
  if (corner.arc == nullptr) {
    PropertySet set;
    UnpackLine(line1, set, PackFields::kAll);
    set.SetShape(kShapeArc);
    corner.arc = store_.AddLine(set, arcPoints, 3);
    if (corner.arc == nullptr) return 0;
    store_.painter().Draw(*corner.arc, DrawMode::kNormal);
    InheritPartMembership(corner.arc, static_cast<const LineElement*>(&line1));
    PassBoundaryToArc(*corner.arc, &line1, &line2);
  } else {
    store_.Keep(*corner.arc);
    std::copy(std::begin(arcPoints), std::end(arcPoints), corner.arc->points);
    ElementChanged(*corner.arc);
    store_.painter().Draw(line1, DrawMode::kNormal);
    store_.painter().Draw(line2, DrawMode::kNormal);
    store_.painter().Draw(*corner.arc, DrawMode::kNormal);
  }
  corner.radius = radius;
  return 1;
}

} // namespace lumora
