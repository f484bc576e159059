// Measures of a single line: radius and midpoint of an arc, box, inside an area; and moving one
// of its stored points.
#include "element_geometry/element_geometry.h"
#include "element_geometry/line_walk.h"

namespace lumora {

double ElementGeometry::ArcRadius(const LineElement& arc) {
  const std::span<const Point> points = PointsOf(arc);
  return points.size() < 2 ? 0.0 : Distance(points[0], points[1]);
}

int ElementGeometry::ArcMidpoint(const LineElement& arc, Point& mid) {
  ArcPoints a{};
  if (!ArcOf(arc, a)) return 0;
  const double cx = a.e.x - a.s.x;
  const double cy = a.e.y - a.s.y;
  const double length = Distance(a.s, a.e);
  if (length < kGeomTolerance) return 0;
  const double r = ArcRadius(arc);
  mid = {a.o.x + r * cy / length, a.o.y - r * cx / length};
  return 1;
}

Box ElementGeometry::BoxOfLine(const LineElement& line) {
  return LineBox(line);
}

int ElementGeometry::ElementInsidePolygon(const LineElement& line, Area area, bool all) {
  const std::span<const Point> points = PointsOf(line);
  if (points.empty()) return 0;
  const auto inside = [area](const Point& p) { return PointInPolygon(p.x, p.y, area) != 0; };
  if (line.shape() == kShapeArc) {
    ArcPoints a{};
    return ArcOf(line, a) && inside(a.s) && inside(a.e) ? 1 : 0;
  }
  if (line.shape() == kShapeCircle) {
    const Box b = LineBox(line);
    return inside({b.xmin, b.ymin}) && inside({b.xmax, b.ymin}) && inside({b.xmax, b.ymax}) &&
                   inside({b.xmin, b.ymax})
               ? 1
               : 0;
  }
  for (const Point& p : points) {
    if (inside(p) != all) return all ? 0 : 1;
  }
  return all ? 1 : 0;
}

void ElementGeometry::MoveVertex(LineElement& line, int index, const Point& to) {
  const std::span<Point> points = PointsOf(line);
  if (index < 0 || static_cast<std::size_t>(index) >= points.size()) return;
  store_.Keep(line);
  store_.painter().Draw(line, DrawMode::kErase);
  const auto i = static_cast<std::size_t>(index);
  if (!IsRound(line)) {
    points[i] = to;
  } else if (i == 0) {
    const Point shift{to.x - points[0].x, to.y - points[0].y};
    for (Point& p : points) p = {p.x + shift.x, p.y + shift.y};
  } else if (SamePoint(to, points[0]) == 0) {
    points[i] = to;
    // The other end of an arc keeps its direction from the centre on the new radius.
    const Point& o = points[0];
    const double r = Distance(o, to);
    for (std::size_t k = 1; line.shape() == kShapeArc && k < points.size(); ++k) {
      if (k != i) PointAlong(o.x, o.y, points[k].x, points[k].y, r, points[k].x, points[k].y);
    }
  }
  ElementChanged(line);
  store_.painter().Draw(line, DrawMode::kNormal);
}

} // namespace lumora
