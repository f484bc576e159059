// Bounding boxes and the 16-strip zone masks that give drawing and picking a quick rejection.
#include "geometry/primitives.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace lumora {

namespace {

constexpr int kZoneStrips = 16;
constexpr double kStripFraction = 0.0625; // 1 / kZoneStrips
// A range shorter than this has no strips.
constexpr double kZoneRangeSlack = 1e-9;

} // namespace

void ResetBox(Box& box) {
  box = Box{};
}

void ExtendBox(double x, double y, Box& box) {
  if (x < box.xmin) box.xmin = x;
  if (y < box.ymin) box.ymin = y;
  if (x > box.xmax) box.xmax = x;
  if (y > box.ymax) box.ymax = y;
}

void BoxOfPoints(std::span<const Point> points, Box& box) {
  ResetBox(box);
  for (const Point& p : points) ExtendBox(p.x, p.y, box);
}

void BoxOfArc(const Point& o, const Point& s, const Point& e, Box& box) {
  ResetBox(box);
  const double r = Distance(o, s);
  // The extreme points of the circle, where the arc passes them, then both ends.
  const Point extremes[] = {{o.x + r, o.y}, {o.x, o.y + r}, {o.x - r, o.y}, {o.x, o.y - r}};
  for (const Point& p : extremes) {
    if (OnArc(p, o, s, e)) ExtendBox(p.x, p.y, box);
  }
  ExtendBox(s.x, s.y, box);
  ExtendBox(e.x, e.y, box);
}

void BoxOfCircle(const Point& o, const Point& s, Box& box) {
  const double r = Distance(o, s);
  box = Box{o.x - r, o.y - r, o.x + r, o.y + r};
}

void ExtendBoxBySegment(const Segment& seg, Box& box) {
  ExtendBox(seg.p1.x, seg.p1.y, box);
  ExtendBox(seg.p2.x, seg.p2.y, box);
}

std::uint16_t ZoneMask(double lo, double hi, double start, double end) {
  if (!std::isfinite(start) || !std::isfinite(end) || start >= end - kZoneRangeSlack) return 0;
  if (std::isnan(lo) || std::isnan(hi)) return 0;
  const double step = (end - start) * kStripFraction;
  // Strip edges come from their index rather than a running sum, so there are always exactly
  // sixteen strips and the last one ends at the end of the range, whatever its magnitude.
  const auto from = [&](int i) { return start + i * step; };
  const auto to = [&](int i) { return i == kZoneStrips - 1 ? end : start + (i + 1) * step; };
  // The strips met form one run, from the first that ends at or after lo to the last that
  // begins at or before hi. A quotient guesses each end of it; the edges themselves decide.
  // (A product by the step's reciprocal was no faster: BM_Speedup_ZoneMask*, 7.5 ns a mask
  // either way in one build.)
  const auto guess = [&](double at) {
    const double strip = std::clamp((at - start) / step, 0.0, double(kZoneStrips - 1));
    return static_cast<int>(strip); // truncation, as the strip is not negative
  };
  int first = guess(lo);
  while (first > 0 && to(first - 1) >= lo) --first;
  while (first < kZoneStrips && to(first) < lo) ++first;
  int last = guess(hi);
  while (last < kZoneStrips - 1 && from(last + 1) <= hi) ++last;
  while (last >= 0 && from(last) > hi) --last;
  if (first > last) return 0;
  // Strip i is bit 15 - i: the first strip is the highest bit.
  const unsigned run = (2u << (last - first)) - 1u;
  return static_cast<std::uint16_t>(run << (kZoneStrips - 1 - last));
}

int ZonesOverlap(std::uint16_t ax, std::uint16_t ay, std::uint16_t bx, std::uint16_t by) {
  return (ax & bx) != 0 && (ay & by) != 0 ? 1 : 0;
}

void SwapPoints(double& x1, double& y1, double& x2, double& y2) {
  std::swap(x1, x2);
  std::swap(y1, y2);
}

} // namespace lumora
