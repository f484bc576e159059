#include "control/translate_view.h"

#include "model/drawing.h"
#include "protocol/input_record.h"
#include "view/view.h"

namespace lumora {

double PixelSize(const View& view) {
  return view.twoPixelLength / 2.0;
}

bool InsideSheet(const Drawing& drawing, Point p) {
  const Box& sheet = drawing.limits;
  return p.x >= sheet.xmin - kGeomTolerance && p.x <= sheet.xmax + kGeomTolerance &&
         p.y >= sheet.ymin - kGeomTolerance && p.y <= sheet.ymax + kGeomTolerance;
}

// The cursor moving angle arrives with the view's angle functions; until then points pass.
Point ApplyCursorAngle(const View& /*view*/, const InputRecord& /*in*/, Point point) {
  return point;
}

// Snapping arrives with the element searches; until then nothing is found.
bool SnapSearch(const View& /*view*/, const Drawing& /*drawing*/, InputRecord& /*in*/) {
  return false;
}

} // namespace lumora
