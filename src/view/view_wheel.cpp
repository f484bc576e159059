// Zooming by the mouse wheel round the point under the pointer.
#include "view/view_wheel.h"

namespace lumora {

Box WholeSheetView(const View& view, const Box& sheet) {
  View whole = view;
  whole.viewBox = sheet;
  FitView(whole, view.windowWidth, view.windowHeight);
  return whole.viewBox;
}

Box ZoomedAround(const Box& box, const Point& at, double factor, const Box& widest,
                 double narrowestWidth) {
  const double width = BoxWidth(box);
  if (!(factor > 0.0) || !(width > 0.0)) return box;
  double wanted = width / factor;
  if (factor > 1.0) {
    if (width <= narrowestWidth) return box;
    if (wanted < narrowestWidth) wanted = narrowestWidth;
  } else if (wanted >= BoxWidth(widest)) {
    return widest;
  }
  const double f = width / wanted;
  return {at.x - (at.x - box.xmin) / f, at.y - (at.y - box.ymin) / f, at.x + (box.xmax - at.x) / f,
          at.y + (box.ymax - at.y) / f};
}

} // namespace lumora
