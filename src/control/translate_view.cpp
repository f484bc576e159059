#include "control/translate_view.h"

#include "model/drawing.h"
#include "view/view.h"

namespace lumora {

Point ViewCursorGeometry::PixelToDrawing(int x, int y) const {
  return lumora::PixelToDrawing(view_, x, y);
}

Point ViewCursorGeometry::GlobalOrigin() const {
  return view_.globalOrigin;
}

double ViewCursorGeometry::GridStep() const {
  return drawing_.step;
}

double ViewCursorGeometry::PixelSize() const {
  return view_.twoPixelLength / 2.0;
}

bool ViewCursorGeometry::InsideSheet(Point p) const {
  const Box& sheet = drawing_.limits;
  return p.x >= sheet.xmin - kGeomTolerance && p.x <= sheet.xmax + kGeomTolerance &&
         p.y >= sheet.ymin - kGeomTolerance && p.y <= sheet.ymax + kGeomTolerance;
}

// The cursor moving angle arrives with the view's angle functions; until then points pass.
Point ViewCursorGeometry::ApplyCursorAngle(const InputRecord& /*in*/, Point point) const {
  return point;
}

void ViewCursorGeometry::SetLocalOrigin(Point point) {
  view_.localOrigin = point;
}

} // namespace lumora
