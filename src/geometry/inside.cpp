// Inside tests by counting the boundary crossings of a ray going left from the point.
#include "geometry/primitives.h"

#include <cmath>
#include <cstddef>

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

// When the ray passes through the edge's first vertex, the edge counts only if the boundary
// turns back there (the edge before it already counted a boundary that goes straight on).
// neighbourY is the height of the nearest vertex before this one that is not level with it.
bool CountsAtVertex(double vertexY, double nextY, bool found, double neighbourY) {
  return found && (neighbourY - vertexY) * (nextY - vertexY) > 0.0;
}

} // namespace

int PointInPolygon(double px, double py, std::span<const Point> points) {
  const std::size_t n = points.size();
  bool inside = false;
  for (std::size_t i = 0; i < n; ++i) {
    const Point& p = points[i];
    const Point& q = points[(i + 1) % n];
    const EdgeHit hit = ClassifyEdge(px, py, p.x, p.y, q.x, q.y);
    if (hit == EdgeHit::kBoundary) return 1;
    if (hit != EdgeHit::kLeft) continue;
    if (!SameValue(py, p.y)) {
      inside = !inside;
      continue;
    }
    // Look back past any level vertices, however many, to where the boundary came from.
    bool found = false;
    double neighbourY = p.y;
    for (std::size_t back = 1; back < n && !found; ++back) {
      neighbourY = points[(i + n - back) % n].y;
      found = !SameValue(neighbourY, p.y);
    }
    if (CountsAtVertex(p.y, q.y, found, neighbourY)) inside = !inside;
  }
  return inside ? 1 : 0;
}

int PointInPenPath(double px, double py, std::span<const PenPathRecord> records) {
  const std::size_t n = records.size();
  bool inside = false;
  std::size_t loopStart = 0;
  for (std::size_t k = 1; k < n; ++k) {
    if (records[k].pen == 0) {
      loopStart = k;
      continue;
    }
    // Edges are taken from record k back to record k - 1.
    const PenPathRecord& p = records[k];
    const PenPathRecord& q = records[k - 1];
    const EdgeHit hit = ClassifyEdge(px, py, p.x, p.y, q.x, q.y);
    if (hit == EdgeHit::kBoundary) return 0;
    if (hit != EdgeHit::kLeft) continue;
    if (!SameValue(py, p.y)) {
      inside = !inside;
      continue;
    }
    // Walk forward through the loop, past its end to the record after its start (the loop
    // repeats its start point), to where the boundary came from.
    bool found = false;
    double neighbourY = p.y;
    std::size_t m = k;
    for (std::size_t step = 0; step < n && !found; ++step) {
      ++m;
      if (m >= n || records[m].pen == 0) m = loopStart + 1;
      neighbourY = records[m].y;
      found = !SameValue(neighbourY, p.y);
    }
    if (CountsAtVertex(p.y, q.y, found, neighbourY)) inside = !inside;
  }
  return inside ? 1 : 0;
}

} // namespace lumora
