// The offset copy of a line at a signed distance: right of the direction of travel for a
// polyline, outwards for an arc or circle.
#include "element_geometry/element_geometry.h"

#include <cmath>

namespace lumora {

namespace {

// Below this radius an offset arc would have no direction left.
constexpr double kSmallestRadius = 0.001;

// The vertices with runs of equal points taken once; a closed line also loses a last vertex
// that repeats its first, since that edge has no direction either.
std::vector<Point> DistinctVertices(std::span<const Point> points, bool closed) {
  std::vector<Point> out;
  for (const Point& p : points) {
    if (out.empty() || SamePoint(out.back(), p) == 0) out.push_back(p);
  }
  if (closed && out.size() > 1 && SamePoint(out.back(), out.front()) != 0) out.pop_back();
  return out;
}

// The edge from a to b moved by d to its right.
Segment OffsetEdge(const Point& a, const Point& b, double d) {
  Segment s{};
  OffsetPoint(a.x, a.y, b.x, b.y, d, s.p1.x, s.p1.y);
  OffsetPoint(b.x, b.y, a.x, a.y, -d, s.p2.x, s.p2.y);
  return s;
}

int OffsetPolyline(std::span<const Point> stored, bool closed, double d, OffsetResult& result) {
  const std::vector<Point> v = DistinctVertices(stored, closed);
  const std::size_t n = v.size();
  std::vector<Point>& out = result.points;
  const auto add = [&out](const Point& p) {
    if (out.empty() || SamePoint(out.back(), p) == 0) out.push_back(p);
  };
  for (std::size_t i = 0; i < n && n >= 2; ++i) {
    const Point& prev = v[(i + n - 1) % n];
    const Point& next = v[(i + 1) % n];
    if (!closed && i == 0) {
      add(OffsetEdge(v[0], next, d).p1);
      continue;
    }
    if (!closed && i == n - 1) {
      add(OffsetEdge(prev, v[i], d).p2);
      continue;
    }
    Point corner{};
    if (IntersectSegments(OffsetEdge(prev, v[i], d), OffsetEdge(v[i], next, d), corner.x,
                          corner.y) != 0) {
      add(corner);
    }
  }
  if (closed && out.size() > 1 && SamePoint(out.back(), out.front()) != 0) out.pop_back();
  if (out.size() < 2) return 0;
  if (closed && out.size() == 2) result.shape = kShapeOpen;
  return static_cast<int>(out.size());
}

} // namespace

int ElementGeometry::OffsetLine(const LineElement& line, double d, OffsetResult& result) {
  result = {line.shape(), {}};
  const std::span<const Point> points = PointsOf(line);
  if (points.size() >= static_cast<std::size_t>(kOffsetMaxPoints) || !std::isfinite(d)) return 0;
  if (!IsRound(line)) {
    const int count = OffsetPolyline(points, line.shape() == kShapeClosed, d, result);
    if (count == 0) result.points.clear();
    return count;
  }
  if (points.size() < 2) return 0;
  // Inwards past the centre the points would come out mirrored: no such arc.
  if (Distance(points[0], points[1]) + d < kSmallestRadius) return 0;
  const Point& o = points[0];
  result.points.push_back(o);
  for (std::size_t i = 1; i < points.size(); ++i) {
    Point moved{};
    if (PointAlong(points[i].x, points[i].y, o.x, o.y, -d, moved.x, moved.y) == 0) {
      result.points.clear();
      return 0;
    }
    result.points.push_back(moved);
  }
  return static_cast<int>(result.points.size());
}

} // namespace lumora
