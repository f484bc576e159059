// Hatch lines swept upwards over the edges of a pen path. The edges wait in order of their
// lower end and leave once the sweep reaches their upper end, so each line sees only the edges
// spanning it.
//
// An edge spans the line at y when its lower end is at or below y and its upper end above it.
// A line through a vertex where the boundary passes on so meets one of its two edges: the vertex
// counts once. Where the boundary turns back, it counts twice below and not at all above, and
// a level edge on the line counts as its neighbours do. Every loop is so crossed an even number
// of times, however close a vertex lies to a line; comparing crossings with a tolerance instead
// would let a shallow edge near a vertex count twice and hatch outside the boundary.
#include "geometry/hatch.h"

#include <algorithm>
#include <cmath>

namespace lumora {

namespace {

// Edge visits allowed over the whole hatch: each visit makes one crossing, so a hatch within
// the segment bound never comes near it.
constexpr std::size_t kMaxEdgeVisits = 4 * kMaxHatchSegments;

struct Edge {
  double lo;
  double hi;
  Point a; // the ends, turned
  Point b;
};

// The records turned by -angle; false for a point that is not a finite number before or after
// turning.
bool TurnRecords(std::span<const PenPathRecord> records, const Transform& t,
                 std::vector<Point>& points) {
  points.reserve(records.size());
  for (const PenPathRecord& r : records) {
    double x = r.x;
    double y = r.y;
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    ApplyTransform(t, x, y);
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    points.push_back({x, y});
  }
  return true;
}

std::vector<Edge> SlopingEdges(std::span<const PenPathRecord> records,
                               const std::vector<Point>& points) {
  std::vector<Edge> edges;
  for (std::size_t k = 1; k < points.size(); ++k) {
    if (records[k].pen == 0) continue;
    const Point& a = points[k - 1];
    const Point& b = points[k];
    if (a.y == b.y) continue; // a level edge crosses no line
    edges.push_back({std::min(a.y, b.y), std::max(a.y, b.y), a, b});
  }
  std::sort(edges.begin(), edges.end(), [](const Edge& p, const Edge& q) { return p.lo < q.lo; });
  return edges;
}

class Sweep {
public:
  explicit Sweep(std::vector<Edge> edges) : edges_(std::move(edges)) {}

  // The crossings of the line at y, sorted; false past the work bound. y only grows.
  bool Cross(double y, std::vector<double>& crossings) {
    while (next_ < edges_.size() && edges_[next_].lo <= y) active_.push_back(edges_[next_++]);
    std::erase_if(active_, [y](const Edge& e) { return !(y < e.hi); });
    visits_ += active_.size();
    if (visits_ > kMaxEdgeVisits) return false;
    crossings.clear();
    for (const Edge& e : active_) {
      const double x = e.b.x + (e.a.x - e.b.x) * (y - e.b.y) / (e.a.y - e.b.y);
      if (!std::isfinite(x)) return false;
      crossings.push_back(x);
    }
    std::sort(crossings.begin(), crossings.end());
    if (crossings.size() % 2 != 0) crossings.pop_back(); // a loop left open
    return true;
  }

private:
  std::vector<Edge> edges_;
  std::vector<Edge> active_;
  std::size_t next_ = 0;
  std::size_t visits_ = 0;
};

} // namespace

HatchStatus HatchPenPath(std::span<const PenPathRecord> records, double gap, double angle,
                         std::vector<Point>& out) {
  if (!std::isfinite(gap) || !std::isfinite(angle)) return HatchStatus::kTooDense;
  if (gap < kMinHatchGap) return HatchStatus::kNoHatch;
  Transform turn;
  MakeTransform(turn, 0.0, 0.0, 0.0, 0.0, 1.0, 1.0, -angle);
  Transform back;
  MakeTransform(back, 0.0, 0.0, 0.0, 0.0, 1.0, 1.0, angle);
  std::vector<Point> points;
  if (!TurnRecords(records, turn, points)) return HatchStatus::kTooDense;
  if (points.size() < 2) return HatchStatus::kDone;
  const auto [low, high] = std::minmax_element(
      points.begin(), points.end(), [](const Point& p, const Point& q) { return p.y < q.y; });
  const double ymin = low->y;
  const double ymax = high->y;
  // Lines at ymin + k·gap, k = 1, 2, …: counted first, and each y computed afresh, since at
  // large coordinates adding the gap may not move y at all.
  if (!((ymax - ymin) / gap <= static_cast<double>(kMaxHatchLines))) return HatchStatus::kTooDense;

  const std::size_t before = out.size();
  Sweep sweep(SlopingEdges(records, points));
  std::vector<double> crossings;
  for (std::size_t k = 1; k <= kMaxHatchLines; ++k) {
    const double y = ymin + static_cast<double>(k) * gap;
    if (!(y < ymax)) break;
    if (!sweep.Cross(y, crossings) ||
        (out.size() - before + crossings.size()) / 2 > kMaxHatchSegments) {
      out.resize(before);
      return HatchStatus::kTooDense;
    }
    for (const double c : crossings) {
      double x = c;
      double yb = y;
      ApplyTransform(back, x, yb);
      out.push_back({x, yb});
    }
  }
  return HatchStatus::kDone;
}

} // namespace lumora
