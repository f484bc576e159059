#include "view/view_cursor.h"

#include "model/drawing.h"
#include "view/view.h"

#include <cmath>

namespace lumora {
namespace {

constexpr double kDirectionReach = 100.0; // the direction point lies this far along the angle
constexpr double kQuarterTurn = 90.0;

// The unit vector of an angle, exact along the axes: a vertical direction must keep the
// cursor's x on the grid, not a hair beside it.
Point UnitOf(double angle) {
  if (std::fmod(angle, kQuarterTurn) == 0.0) {
    const int quarter = static_cast<int>(std::fmod(angle / kQuarterTurn, 4.0) + 4.0) % 4;
    const Point axes[] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    return axes[quarter];
  }
  const double a = angle * kDegToRad;
  return {std::cos(a), std::sin(a)};
}

} // namespace

double PixelSize(const View& view) {
  return view.twoPixelLength / 2.0;
}

bool InsideSheet(const Drawing& drawing, Point p) {
  const Box& sheet = drawing.limits;
  return p.x >= sheet.xmin - kGeomTolerance && p.x <= sheet.xmax + kGeomTolerance &&
         p.y >= sheet.ymin - kGeomTolerance && p.y <= sheet.ymax + kGeomTolerance;
}

Point ConstrainToDirection(const View& view, const Drawing& drawing, Point point) {
  if (!view.directionShown) return point;
  // The angle itself, not the direction point: the local origin may have moved since.
  const Point& o = view.localOrigin;
  const Point unit = UnitOf(view.cursorAngle);
  const double dx = unit.x;
  const double dy = unit.y;
  Point on = point;
  if (view.followX) {
    on.y = o.y + (point.x - o.x) * dy / dx;
  } else {
    on.x = o.x + (point.y - o.y) * dx / dy;
  }
  return InsideSheet(drawing, on) ? on : point;
}

void ShowDirection(View& view, double angle) {
  const Point unit = UnitOf(angle);
  view.directionShown = true;
  view.cursorAngle = angle;
  view.directionPoint = {view.localOrigin.x + kDirectionReach * unit.x,
                         view.localOrigin.y + kDirectionReach * unit.y};
  view.followX = std::abs(unit.x) >= std::abs(unit.y);
}

} // namespace lumora
