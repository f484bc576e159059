// Integer pixel walks shared by the canvases: the stepping of a segment, the midpoint circle and
// the sector test of arcs. Both canvases must touch exactly the same pixels, so this is the one
// place that decides them.
#pragma once

#include "view/canvas.h"

#include <cstdint>

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

// The pixel holding a point: coordinates are truncated toward minus infinity, so a point just
// left of the window never lands in its first column. Valid for |v| <= kFarPixel.
PixelPoint PixelOf(double x, double y);

inline bool Contains(const PixelRect& r, std::int64_t x, std::int64_t y) {
  return x >= r.x && y >= r.y && x < std::int64_t{r.x} + r.width &&
         y < std::int64_t{r.y} + r.height;
}

PixelRect Intersect(const PixelRect& a, const PixelRect& b);

namespace detail {
inline std::int64_t CeilDiv(std::int64_t v, std::int64_t d) { // d > 0
  return v >= 0 ? (v + d - 1) / d : -((-v) / d);
}
} // namespace detail

// Steps from a to b along the major axis, both ends included: the minor coordinate advances
// whenever the accumulated error (starting at minus half the major length) becomes positive.
// visit(x, y, i) is called for the steps i whose major coordinate lies inside the clip's range
// on that axis (the minor coordinate is left to the caller); the walk is computed in closed
// form, so a long segment costs only its visible part. Returns the number of steps.
template <class Visit>
std::int64_t WalkSegment(PixelPoint a, PixelPoint b, const PixelRect& clip, Visit&& visit) {
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
  const std::int64_t error0 = -(dMajor / 2);
  for (std::int64_t i = first; i <= last; ++i) {
    const std::int64_t minorSteps = dMajor == 0 ? 0 : detail::CeilDiv(error0 + i * dMinor, dMajor);
    const std::int64_t major = major0 + sMajor * i;
    const std::int64_t minor = minor0 + sMinor * minorSteps;
    if (xMajor) {
      visit(major, minor, i);
    } else {
      visit(minor, major, i);
    }
  }
  return dMajor + 1;
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
