// All crossing points of two lines.
#include "element_geometry/element_geometry.h"
#include "element_geometry/line_walk.h"

namespace lumora {

namespace {

// Collects points up to the capacity of out.
class Crossings {
public:
  explicit Crossings(std::span<Point> out) : out_(out) {}
  bool Room(std::size_t wanted) const { return count_ + wanted <= out_.size(); }
  void Add(const Point& p) {
    if (count_ < out_.size()) out_[count_++] = p;
  }
  // Later duplicates are dropped; the first of each point keeps its place.
  int Distinct() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count_; ++i) {
      bool seen = false;
      for (std::size_t j = 0; j < kept && !seen; ++j) seen = SamePoint(out_[i], out_[j]) != 0;
      if (!seen) out_[kept++] = out_[i];
    }
    return static_cast<int>(kept);
  }

private:
  std::span<Point> out_;
  std::size_t count_ = 0;
};

void SegmentsWithArc(const LineElement& polyline, const ArcPoints& arc, Crossings& found) {
  const int segments = SegmentCount(polyline);
  for (int i = 0; i < segments && found.Room(2); ++i) {
    Point q1{};
    Point q2{};
    const int n = IntersectSegmentArc(SegmentAt(polyline, i), arc.o, arc.s, arc.e, q1, q2);
    if (n >= 1) found.Add(q1);
    if (n == 2) found.Add(q2);
  }
}

} // namespace

int ElementGeometry::LineIntersections(const LineElement& a, const LineElement& b,
                                       std::span<Point> out) {
  Crossings found(out);
  ArcPoints arcA{};
  ArcPoints arcB{};
  const bool roundA = IsRound(a) && ArcOf(a, arcA);
  const bool roundB = IsRound(b) && ArcOf(b, arcB);
  if (roundA && roundB) {
    Point q1{};
    Point q2{};
    const int n = IntersectArcs(arcA.o, arcA.s, arcA.e, arcB.o, arcB.s, arcB.e, q1, q2);
    if (n >= 1 && found.Room(1)) found.Add(q1);
    if (n == 2 && found.Room(1)) found.Add(q2);
  } else if (roundA) {
    if (!IsRound(b)) SegmentsWithArc(b, arcA, found);
  } else if (roundB) {
    if (!IsRound(a)) SegmentsWithArc(a, arcB, found);
  } else if (!IsRound(a) && !IsRound(b)) {
    const int segmentsA = SegmentCount(a);
    const int segmentsB = SegmentCount(b);
    for (int i = 0; i < segmentsA && found.Room(1); ++i) {
      for (int j = 0; j < segmentsB && found.Room(1); ++j) {
        Point q{};
        if (IntersectSegments(SegmentAt(a, i), SegmentAt(b, j), q.x, q.y) == 1) found.Add(q);
      }
    }
  }
  return found.Distinct();
}

} // namespace lumora
