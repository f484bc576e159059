// Surface area of the loops of a pen path, holes taken off.
#include "geometry/primitives.h"
#include "geometry/region.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace lumora {

namespace {

struct Loop {
  std::size_t begin;
  std::size_t end; // one past the last record
  double area;
  Point inner; // a point inside the loop itself
};

// A point inside the loop itself, to ask whether the loop lies inside another: its vertex
// average where that is inside (a loop near convex), else a point just beside the middle of its
// longest edge, on the inner side. The average of a U-shaped loop may lie in what the U holds.
Point InnerPoint(std::span<const PenPathRecord> records, std::size_t begin, std::size_t end,
                 Point average, bool clockwise) {
  const auto own = records.subspan(begin, end - begin);
  if (PointInPenPath(average.x, average.y, own) != 0) return average;
  double longest = 0.0;
  std::size_t at = begin + 1;
  for (std::size_t k = begin + 1; k < end; ++k) {
    const double length =
        std::hypot(records[k].x - records[k - 1].x, records[k].y - records[k - 1].y);
    if (length > longest) {
      longest = length;
      at = k;
    }
  }
  if (!(longest > 0.0)) return average;
  const PenPathRecord& a = records[at - 1];
  const PenPathRecord& b = records[at];
  // The inside lies left of a counter-clockwise edge; the step is far below any drawn size.
  constexpr double kStepShare = 1e-6;
  const double side = (clockwise ? -1.0 : 1.0) * kStepShare;
  return {(a.x + b.x) / 2.0 - (b.y - a.y) * side, (a.y + b.y) / 2.0 + (b.x - a.x) * side};
}

Loop MeasureLoop(std::span<const PenPathRecord> records, std::size_t begin, std::size_t end,
                 double bulge) {
  double twiceArea = 0.0;
  double sumX = records[begin].x;
  double sumY = records[begin].y;
  for (std::size_t k = begin + 1; k < end; ++k) {
    twiceArea += records[k].x * records[k - 1].y - records[k - 1].x * records[k].y;
    sumX += records[k].x;
    sumY += records[k].y;
  }
  const double count = static_cast<double>(end - begin);
  // twiceArea grows clockwise; a bulge counter-clockwise.
  return {begin, end, std::abs(bulge - twiceArea / 2.0),
          InnerPoint(records, begin, end, {sumX / count, sumY / count}, twiceArea > 0.0)};
}

std::vector<Loop> SplitLoops(std::span<const PenPathRecord> records,
                             std::span<const double> bulges) {
  std::vector<Loop> loops;
  std::size_t begin = 0;
  for (std::size_t k = 1; k <= records.size(); ++k) {
    if (k == records.size() || records[k].pen == 0) {
      const double bulge = loops.size() < bulges.size() ? bulges[loops.size()] : 0.0;
      loops.push_back(MeasureLoop(records, begin, k, bulge));
      begin = k;
    }
  }
  return loops;
}

} // namespace

double PenPathArea(std::span<const PenPathRecord> records) {
  return PenPathArea(records, {});
}

double PenPathArea(std::span<const PenPathRecord> records, std::span<const double> bulges) {
  if (records.empty()) return 0.0;
  const std::vector<Loop> loops = SplitLoops(records, bulges);
  double total = 0.0;
  for (const Loop& loop : loops) {
    // A loop is a hole when it lies inside an odd number of larger loops. With the outer loop
    // first this is the loops before it; it also holds when a hole was listed first.
    bool hole = false;
    for (const Loop& other : loops) {
      if (&other == &loop || other.area <= loop.area) continue;
      const auto span = records.subspan(other.begin, other.end - other.begin);
      if (PointInPenPath(loop.inner.x, loop.inner.y, span)) hole = !hole;
    }
    total += hole ? -loop.area : loop.area;
  }
  return total;
}

} // namespace lumora
