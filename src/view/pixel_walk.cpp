#include "view/pixel_walk.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

// Directions are scaled down to this size so cross products of two of them fit 64 bits.
constexpr double kMaxDirection = 268435456.0; // 2^28

std::int64_t Cross(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) {
  return ax * by - ay * bx;
}

// One Liang-Barsky edge: narrows [t0, t1] by the half-plane p * t <= q.
bool ClipEdge(double p, double q, double& t0, double& t1) {
  if (p == 0.0) return q >= 0.0;
  const double t = q / p;
  if (p < 0.0) {
    if (t > t1) return false;
    t0 = std::max(t0, t);
  } else {
    if (t < t0) return false;
    t1 = std::min(t1, t);
  }
  return true;
}

} // namespace

bool ClipToFarSquare(double& x0, double& y0, double& x1, double& y1) {
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) {
    return false;
  }
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  double t0 = 0.0;
  double t1 = 1.0;
  if (!ClipEdge(-dx, x0 + kFarPixel, t0, t1) || !ClipEdge(dx, kFarPixel - x0, t0, t1) ||
      !ClipEdge(-dy, y0 + kFarPixel, t0, t1) || !ClipEdge(dy, kFarPixel - y0, t0, t1)) {
    return false;
  }
  const double ox = x0;
  const double oy = y0;
  if (t1 < 1.0) {
    x1 = ox + t1 * dx;
    y1 = oy + t1 * dy;
  }
  if (t0 > 0.0) {
    x0 = ox + t0 * dx;
    y0 = oy + t0 * dy;
  }
  return true;
}

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  const int x0 = std::max(a.x, b.x);
  const int y0 = std::max(a.y, b.y);
  const long x1 = std::min(long{a.x} + a.width, long{b.x} + b.width);
  const long y1 = std::min(long{a.y} + a.height, long{b.y} + b.height);
  if (x1 <= x0 || y1 <= y0) return {x0, y0, 0, 0};
  return {x0, y0, static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)};
}

bool RingMisses(PixelPoint centre, std::int64_t radius, const PixelRect& rect) {
  if (rect.width <= 0 || rect.height <= 0) return true;
  const double left = double(rect.x) - double(centre.x);
  const double right = left + rect.width - 1;
  const double bottom = double(rect.y) - double(centre.y);
  const double top = bottom + rect.height - 1;
  const double nearX = std::clamp(0.0, left, right);
  const double nearY = std::clamp(0.0, bottom, top);
  const double farX = std::max(std::fabs(left), std::fabs(right));
  const double farY = std::max(std::fabs(bottom), std::fabs(top));
  const double r = double(radius);
  // One pixel of slack on either side covers the rounding of the midpoint walk.
  return std::hypot(nearX, nearY) > r + 1.0 || std::hypot(farX, farY) < r - 1.0;
}

Sector::Sector(PixelPoint s, PixelPoint e) : s_(s), e_(e) {
  const std::int64_t turn = Cross(s.x, s.y, e.x, e.y);
  wide_ = turn < 0;
  // Start and end in the same direction (or at the centre): the arc closes on itself.
  whole_ = turn == 0 && s.x * e.x + s.y * e.y >= 0;
}

bool Sector::Contains(std::int64_t ox, std::int64_t oy) const {
  if (whole_) return true;
  const bool afterStart = Cross(s_.x, s_.y, ox, oy) >= 0;
  const bool beforeEnd = Cross(ox, oy, e_.x, e_.y) >= 0;
  return wide_ ? (afterStart || beforeEnd) : (afterStart && beforeEnd);
}

PixelPoint DirectionOf(double cx, double cy, double px, double py) {
  const PixelPoint c = PixelOf(cx, cy);
  const PixelPoint p = PixelOf(px, py);
  double dx = double(p.x - c.x);
  double dy = double(p.y - c.y);
  const double size = std::max(std::fabs(dx), std::fabs(dy));
  if (size > kMaxDirection) {
    dx = std::round(dx / size * kMaxDirection);
    dy = std::round(dy / size * kMaxDirection);
  }
  return {static_cast<std::int64_t>(dx), static_cast<std::int64_t>(dy)};
}

} // namespace lumora
