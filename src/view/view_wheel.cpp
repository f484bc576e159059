// Zooming by the mouse wheel round the point under the pointer.
#include "view/view_wheel.h"

namespace lumora {

namespace {
// Widths this close to the whole sheet's are the whole sheet (rounding of repeated steps).
constexpr double kSameWidth = 1e-9;
} // namespace

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
  } else if (wanted >= BoxWidth(widest) * (1.0 - kSameWidth)) {
    return widest;
  }
  const double f = width / wanted;
  Box out{at.x - (at.x - box.xmin) / f, at.y - (at.y - box.ymin) / f, at.x + (box.xmax - at.x) / f,
          at.y + (box.ymax - at.y) / f};
  // Going out never shows beyond the whole sheet: a view that would is moved back inside it.
  if (factor < 1.0) {
    const auto inside = [](double& low, double& high, double min, double max) {
      if (low < min) high += min - low, low = min;
      if (high > max) low -= high - max, high = max;
    };
    inside(out.xmin, out.xmax, widest.xmin, widest.xmax);
    inside(out.ymin, out.ymax, widest.ymin, widest.ymax);
  }
  return out;
}

} // namespace lumora
