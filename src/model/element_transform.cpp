#include "model/element_transform.h"

#include "model/elements.h"
#include "model/property_set.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace lumora {

namespace {

constexpr std::size_t kCentre = 0;
constexpr std::size_t kArcStart = 1;
constexpr std::size_t kArcEnd = 2;
// Whole degrees of a rotation taken modulo the 16-bit range, so any double can be added to a
// 16-bit angle without an out-of-range conversion.
constexpr double kAngleWrap = 65536.0;

bool IsRound(std::uint32_t shape) {
  return shape == kShapeArc || shape == kShapeCircle;
}

} // namespace

void TransformLinePoints(const LineElement& line, std::span<Point> points, const Transform& m,
                         double sx, double sy) {
  const std::uint32_t shape = line.shape();
  const bool keepRound =
      IsRound(shape) && points.size() > kArcStart && !SameValue(std::fabs(sx), std::fabs(sy));
  const double oldRadius = keepRound ? Distance(points[kCentre], points[kArcStart]) : 0.0;
  for (Point& p : points) ApplyTransform(m, p.x, p.y);
  if (keepRound) {
    const double radius = oldRadius * std::min(std::fabs(sx), std::fabs(sy));
    const Point centre = points[kCentre];
    for (std::size_t k = kArcStart; k < points.size(); ++k)
      PointAlong(centre.x, centre.y, points[k].x, points[k].y, radius, points[k].x, points[k].y);
  }
  if (shape == kShapeArc && sx * sy < 0 && points.size() > kArcEnd)
    std::swap(points[kArcStart], points[kArcEnd]);
}

void TransformFillingHatch(PropertySet& filling, double sx, double sy, double angle) {
  filling.gap *= filling.hatchAngle != 0 ? std::fabs(sx) : std::fabs(sy);
  std::int32_t hatch = filling.hatchAngle;
  if (sx < 0) hatch = -hatch;
  if (sy < 0) hatch = -hatch;
  const double turn = std::isfinite(angle) ? std::trunc(std::fmod(angle, kAngleWrap)) : 0.0;
  hatch += static_cast<std::int32_t>(turn);
  filling.hatchAngle = static_cast<std::int16_t>(static_cast<std::uint16_t>(hatch));
}

} // namespace lumora
