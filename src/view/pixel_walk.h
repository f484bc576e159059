// Integer pixel walks shared by the canvases: the stepping of a segment, the midpoint circle and
// the sector test of arcs. Both canvases must touch exactly the same pixels, so this is the one
// place that decides them.
#pragma once

#include "view/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace lumora {

struct PixelPoint {
  std::int64_t x = 0;
  std::int64_t y = 0;
  friend constexpr bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Pixel coordinates are kept within this distance of the origin, so integer walks never
// overflow and a line reaching far outside the window never costs more than the window.
inline constexpr double kFarPixel = 1073741824.0; // 2^30

// Rings larger than this are not walked (the window would show an almost straight piece of a
// circle millions of pixels wide).
inline constexpr std::int64_t kMaxRingRadius = std::int64_t{1} << 24;

// Cuts the segment to the square of kFarPixel around the origin. False when nothing is left
// (or a coordinate is not a number).
bool ClipToFarSquare(double& x0, double& y0, double& x1, double& y1);

// Whether every coordinate lies inside the square (not a number never does); such a segment is
// left as it is by ClipToFarSquare.
inline bool InFarSquare(double x0, double y0, double x1, double y1) {
  return std::fabs(x0) <= kFarPixel && std::fabs(y0) <= kFarPixel && std::fabs(x1) <= kFarPixel &&
         std::fabs(y1) <= kFarPixel;
}

// floor(v) for |v| <= kFarPixel, by truncation: cheaper than the library's floor where the
// processor has no rounding instruction.
inline std::int64_t FloorOf(double v) {
  const auto t = static_cast<std::int64_t>(v);
  return static_cast<double>(t) > v ? t - 1 : t;
}

// The pixel holding a point: coordinates are truncated toward minus infinity, so a point just
// left of the window never lands in its first column. Valid for |v| <= kFarPixel.
inline PixelPoint PixelOf(double x, double y) {
  const double cx = std::clamp(x, -kFarPixel, kFarPixel);
  const double cy = std::clamp(y, -kFarPixel, kFarPixel);
  return {FloorOf(cx), FloorOf(cy)};
}

inline bool Contains(const PixelRect& r, std::int64_t x, std::int64_t y) {
  return x >= r.x && y >= r.y && x < std::int64_t{r.x} + r.width &&
         y < std::int64_t{r.y} + r.height;
}

PixelRect Intersect(const PixelRect& a, const PixelRect& b);

namespace detail {
inline std::int64_t CeilDiv(std::int64_t v, std::int64_t d) { // d > 0
  return v >= 0 ? (v + d - 1) / d : -((-v) / d);
}
inline std::int64_t FloorDiv(std::int64_t v, std::int64_t d) { // d > 0
  return v >= 0 ? v / d : -((-v + d - 1) / d);
}
} // namespace detail

// How far a step's pixels reach across the major axis, below and above the walked pixel: a
// wide line paints a run there.
struct MinorReach {
  std::int64_t below = 0;
  std::int64_t above = 0;
};

// Steps from a to b along the major axis, both ends included: the minor coordinate advances
// whenever the accumulated error (starting at minus half the major length) becomes positive.
// visit(x, y, i) is called for the steps i whose major coordinate lies inside the clip's range
// on that axis and whose run across it (reach) meets the clip's range on the other axis; the
// pixels of the run are left to the caller. The visible steps are found in closed form, so a
// long segment costs only its visible part. Returns the number of steps.
template <class Visit>
std::int64_t WalkSegment(PixelPoint a, PixelPoint b, const PixelRect& clip, MinorReach reach,
                         Visit&& visit) {
  const std::int64_t dx = b.x - a.x;
  const std::int64_t dy = b.y - a.y;
  const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  const std::int64_t dMajor = xMajor ? (dx < 0 ? -dx : dx) : (dy < 0 ? -dy : dy);
  const std::int64_t dMinor = xMajor ? (dy < 0 ? -dy : dy) : (dx < 0 ? -dx : dx);
  const std::int64_t sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const std::int64_t sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const std::int64_t major0 = xMajor ? a.x : a.y;
  const std::int64_t minor0 = xMajor ? a.y : a.x;
  const std::int64_t lo = xMajor ? clip.x : clip.y;
  const std::int64_t hi = lo + (xMajor ? clip.width : clip.height) - 1;
  std::int64_t first = sMajor > 0 ? lo - major0 : major0 - hi;
  std::int64_t last = sMajor > 0 ? hi - major0 : major0 - lo;
  if (first < 0) first = 0;
  if (last > dMajor) last = dMajor;
  if (first > last) return dMajor + 1;
  // The minor steps taken by step i are ceil((error0 + i * dMinor) / dMajor), from 0 to dMinor;
  // only those whose run meets the clip's other range count.
  const std::int64_t minorLo = (xMajor ? clip.y : clip.x) - reach.above;
  const std::int64_t minorHi =
      (xMajor ? std::int64_t{clip.y} + clip.height : std::int64_t{clip.x} + clip.width) - 1 +
      reach.below;
  std::int64_t fewest = sMinor > 0 ? minorLo - minor0 : minor0 - minorHi;
  std::int64_t most = sMinor > 0 ? minorHi - minor0 : minor0 - minorLo;
  const bool minorInside = fewest <= 0 && most >= dMinor; // the usual case: no division at all
  if (fewest < 0) fewest = 0;
  if (most > dMinor) most = dMinor;
  if (fewest > most) return dMajor + 1;
  const std::int64_t error0 = -(dMajor / 2);
  if (dMinor > 0 && !minorInside) {
    // The first step with at least `fewest` minor steps and the last with at most `most`.
    const std::int64_t from = detail::FloorDiv((fewest - 1) * dMajor - error0, dMinor) + 1;
    const std::int64_t to = detail::FloorDiv(most * dMajor - error0, dMinor);
    if (from > first) first = from;
    if (to < last) last = to;
    if (first > last) return dMajor + 1;
  }
  // Walked incrementally from the first visible step: error stays in (-dMajor, 0].
  // No minor step is taken at step 0.
  std::int64_t minorSteps =
      dMajor == 0 || first == 0 ? 0 : detail::CeilDiv(error0 + first * dMinor, dMajor);
  std::int64_t error = error0 + first * dMinor - minorSteps * dMajor;
  std::int64_t major = major0 + sMajor * first;
  std::int64_t minor = minor0 + sMinor * minorSteps;
  for (std::int64_t i = first;; ++i) {
    if (xMajor) {
      visit(major, minor, i);
    } else {
      visit(minor, major, i);
    }
    if (i == last) break;
    major += sMajor;
    error += dMinor;
    if (error > 0) {
      error -= dMajor;
      minor += sMinor;
    }
  }
  return dMajor + 1;
}

template <class Visit>
std::int64_t WalkSegment(PixelPoint a, PixelPoint b, const PixelRect& clip, Visit&& visit) {
  return WalkSegment(a, b, clip, MinorReach{}, std::forward<Visit>(visit));
}

// Midpoint circle of the given radius: visit(x, y) for the eight symmetric pixels of every step,
// in a fixed order (a pixel on an axis or a diagonal comes more than once). Offsets from the
// centre are passed as well: visit(x, y, ox, oy).
template <class Visit> void WalkRing(PixelPoint centre, std::int64_t radius, Visit&& visit) {
  if (radius < 0 || radius > kMaxRingRadius) return;
  std::int64_t x = 0;
  std::int64_t y = radius;
  std::int64_t d = 1 - radius;
  while (x <= y) {
    const std::int64_t offsets[8][2] = {{x, y},   {y, x},   {y, -x}, {x, -y},
                                        {-x, -y}, {-y, -x}, {-y, x}, {-x, y}};
    for (const auto& o : offsets) visit(centre.x + o[0], centre.y + o[1], o[0], o[1]);
    if (d < 0) {
      d += 2 * x + 3;
    } else {
      d += 2 * (x - y) + 5;
      --y;
    }
    ++x;
  }
}

// True when no pixel of the ring can fall inside the rectangle.
bool RingMisses(PixelPoint centre, std::int64_t radius, const PixelRect& rect);

// The counter-clockwise sector from direction s to direction e (both from the centre); the
// whole plane when they point the same way.
class Sector {
public:
  Sector(PixelPoint s, PixelPoint e);
  bool Contains(std::int64_t ox, std::int64_t oy) const;

private:
  PixelPoint s_;
  PixelPoint e_;
  bool wide_;  // more than a half turn
  bool whole_; // the full ring
};

// A direction from the centre to a point, both in window pixels, kept small enough for exact
// integer cross products.
PixelPoint DirectionOf(double cx, double cy, double px, double py);

} // namespace lumora
