// Inside tests by counting the boundary crossings of a ray going left from the point.
#include "geometry/primitives.h"

#include <cmath>
#include <cstddef>
#include <optional>

namespace lumora {

namespace {

// Where an edge crosses the height of the point, and what that means for the count.
enum class EdgeHit { kMiss, kBoundary, kLeft };

// The edge runs from its first vertex (x1, y1) to (x2, y2).
EdgeHit ClassifyEdge(double px, double py, double x1, double y1, double x2, double y2) {
  if (!InRange(py, y1, y2)) return EdgeHit::kMiss;
  if (std::abs(y2 - y1) < kGeomTolerance) {
    return InRange(px, x1, x2) ? EdgeHit::kBoundary : EdgeHit::kMiss;
  }
  const double xc = x1 + (py - y1) * (x2 - x1) / (y2 - y1);
  if (std::abs(px - xc) < kGeomTolerance) return EdgeHit::kBoundary;
  return px - xc > kGeomTolerance ? EdgeHit::kLeft : EdgeHit::kMiss;
}

// What one edge does to the count of crossings left of the point.
enum class Crossing { kNone, kBoundary, kCross, kAtVertex };

// The edge runs from p to q. kAtVertex: the ray passes through p, and whether it counts
// depends on where the boundary came from (CountsAtVertex).
Crossing EdgeCrossing(double px, double py, double x1, double y1, double x2, double y2) {
  const EdgeHit hit = ClassifyEdge(px, py, x1, y1, x2, y2);
  if (hit == EdgeHit::kBoundary) return Crossing::kBoundary;
  if (hit != EdgeHit::kLeft) return Crossing::kNone;
  return SameValue(py, y1) ? Crossing::kAtVertex : Crossing::kCross;
}

// When the ray passes through the edge's first vertex, the edge counts only if the boundary
// turns back there (the edge before it already counted a boundary that goes straight on).
// neighbourY is the height of the nearest vertex before this one that is not level with it;
// none when the whole outline is level.
bool CountsAtVertex(double vertexY, double nextY, std::optional<double> neighbourY) {
  return neighbourY && (*neighbourY - vertexY) * (nextY - vertexY) > 0.0;
}

// Looks back from polygon vertex i past any level vertices, however many.
std::optional<double> PolygonNeighbourY(std::span<const Point> points, std::size_t i) {
  const std::size_t n = points.size();
  for (std::size_t back = 1; back < n; ++back) {
    const double y = points[(i + n - back) % n].y;
    if (!SameValue(y, points[i].y)) return y;
  }
  return std::nullopt;
}

// Walks forward from record k through its loop, past the loop's end to the record after its
// start (the loop repeats its start point). Edges of a pen path run from a record back to the
// one before it, so forward is where the boundary came from.
std::optional<double> PenPathNeighbourY(std::span<const PenPathRecord> records, std::size_t k,
                                        std::size_t loopStart) {
  const std::size_t n = records.size();
  std::size_t m = k;
  for (std::size_t step = 0; step < n; ++step) {
    ++m;
    if (m >= n || records[m].pen == 0) m = loopStart + 1;
    if (!SameValue(records[m].y, records[k].y)) return records[m].y;
  }
  return std::nullopt;
}

} // namespace

// A point on the outline is inside a polygon.
int PointInPolygon(double px, double py, std::span<const Point> points) {
  const std::size_t n = points.size();
  bool inside = false;
  for (std::size_t i = 0; i < n; ++i) {
    const Point& p = points[i];
    const Point& q = points[(i + 1) % n];
    const Crossing crossing = EdgeCrossing(px, py, p.x, p.y, q.x, q.y);
    if (crossing == Crossing::kBoundary) return 1;
    if (crossing == Crossing::kCross || (crossing == Crossing::kAtVertex &&
                                         CountsAtVertex(p.y, q.y, PolygonNeighbourY(points, i)))) {
      inside = !inside;
    }
  }
  return inside ? 1 : 0;
}

// A point on the outline is outside a pen path.
int PointInPenPath(double px, double py, std::span<const PenPathRecord> records) {
  const std::size_t n = records.size();
  bool inside = false;
  std::size_t loopStart = 0;
  for (std::size_t k = 1; k < n; ++k) {
    if (records[k].pen == 0) {
      loopStart = k;
      continue;
    }
    const PenPathRecord& p = records[k];
    const PenPathRecord& q = records[k - 1];
    const Crossing crossing = EdgeCrossing(px, py, p.x, p.y, q.x, q.y);
    if (crossing == Crossing::kBoundary) return 0;
    if (crossing == Crossing::kCross ||
        (crossing == Crossing::kAtVertex &&
         CountsAtVertex(p.y, q.y, PenPathNeighbourY(records, k, loopStart)))) {
      inside = !inside;
    }
  }
  return inside ? 1 : 0;
}

} // namespace lumora
