#include "element_geometry/line_walk.h"

#include <bit>
#include <cmath>

namespace lumora {

namespace {

constexpr double kProbeHalfLength = 2.0; // the probe reaches this many radii to either side
// Strip edges are rebuilt here by multiplication where the masks summed steps: this share of
// the range covers the difference.
constexpr double kStripSlack = 1e-9;

} // namespace

Probe MakeProbe(const Point& p, double r, bool direction, double angle) {
  Probe probe;
  if (!direction) return probe;
  const double reach = kProbeHalfLength * r;
  const double c = std::cos(angle * kDegToRad) * reach;
  const double s = std::sin(angle * kDegToRad) * reach;
  probe.on = true;
  probe.segment = {{p.x - c, p.y - s}, {p.x + c, p.y + s}};
  return probe;
}

ZoneGaps::ZoneGaps(const Box& limits, const Point& p) {
  Fill(x_, limits.xmin, limits.xmax, p.x);
  Fill(y_, limits.ymin, limits.ymax, p.y);
}

void ZoneGaps::Fill(Axis& axis, double start, double end, double v) {
  axis.valid = end > start;
  if (!axis.valid) return;
  const double step = (end - start) / kStrips;
  const double slack = kStripSlack * (end - start);
  for (int i = 0; i < kStrips; ++i) {
    const double low = start + i * step - slack;
    const double high = start + (i + 1) * step + slack;
    axis.below[i] = i > 0 && v < low ? low - v : 0.0;
    axis.above[i] = i < kStrips - 1 && v > high ? v - high : 0.0;
  }
}

double ZoneGaps::Gap(std::uint16_t mask, const Axis& axis) {
  if (mask == 0 || !axis.valid) return 0.0;
  const int first = std::countl_zero(mask); // bit 15 is the lowest strip
  const int last = kStrips - 1 - std::countr_zero(mask);
  return axis.below[first] + axis.above[last];
}

int SegmentCount(const LineElement& line) {
  const int n = static_cast<int>(line.ps0());
  if (n < 2 || line.points == nullptr) return 0;
  return line.shape() == kShapeClosed ? n : n - 1;
}

Segment SegmentAt(const LineElement& line, int i) {
  const int n = static_cast<int>(line.ps0());
  return {line.points[i], line.points[(i + 1) % n]};
}

bool ArcOf(const LineElement& line, ArcPoints& arc) {
  const std::span<const Point> points = PointsOf(line);
  if (points.size() < 2) return false;
  arc = {points[0], points[1], points.back()};
  return true;
}

double NearestOnLineWithin(const LineElement& line, const Point& p, double limit,
                           const Probe& probe, LineHit& hit) {
  double best = kNoPoint;
  double r = limit;
  if (IsRound(line)) {
    ArcPoints arc{};
    if (!ArcOf(line, arc)) return kNoPoint;
    Point n{};
    const double signedDistance = PointToArc(p.x, p.y, arc.o, arc.s, arc.e, n.x, n.y);
    const double d = std::fabs(signedDistance);
    if (!(d < r)) return kNoPoint;
    if (probe.on) {
      Point q1{};
      Point q2{};
      const int count = IntersectSegmentArc(probe.segment, arc.o, arc.s, arc.e, q1, q2);
      if (count == 0) return kNoPoint;
      n = (count == 2 && Distance(p, q2, 0) < Distance(p, q1, 0)) ? q2 : q1;
    }
    hit = {n, signedDistance, {arc.s, arc.e}};
    return d;
  }
  const int segments = SegmentCount(line);
  for (int i = 0; i < segments; ++i) {
    const Segment seg = SegmentAt(line, i);
    Point foot{};
    const double signedDistance = PointToSegment(p.x, p.y, seg, foot.x, foot.y);
    const double d = std::fabs(signedDistance);
    if (!(d < r)) continue;
    if (probe.on && IntersectSegments(seg, probe.segment, foot.x, foot.y) != 1) continue;
    hit = {foot, signedDistance, seg};
    best = d;
    r = d;
  }
  return best;
}

} // namespace lumora
