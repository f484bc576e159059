#include "view/view.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr double kHalf = 0.5;
constexpr double kTwoPixels = 2.0;
constexpr double kSameShape = 1e-12; // relative: a box's shape and the area's agree to rounding
constexpr int kSmallestArea = 1;  // pixels; a window no taller than the band still maps somewhere
constexpr double kIntLimit = 1e9; // pixel positions far off the window are held here

int PixelIndex(double v) {
  if (!(v > -kIntLimit)) return static_cast<int>(-kIntLimit);
  if (!(v < kIntLimit)) return static_cast<int>(kIntLimit);
  return static_cast<int>(std::floor(v));
}

} // namespace

double BoxWidth(const Box& box) {
  return box.xmax - box.xmin;
}
double BoxHeight(const Box& box) {
  return box.ymax - box.ymin;
}

void FitView(View& view, int windowWidth, int windowHeight) {
  view.windowWidth = windowWidth;
  view.windowHeight = windowHeight;
  const double a = DrawingAreaWidth(view);
  const double b = DrawingAreaHeight(view);
  Box& box = view.viewBox;
  double w = BoxWidth(box);
  double h = BoxHeight(box);
  // A box that already has the area's shape is kept as it is: fitting again (every repaint
  // does) must not move the view by a rounding.
  const bool fitted = h >= kGeomTolerance && std::abs(w * b - h * a) <= kSameShape * w * b;
  if (!fitted) {
    const double cx = (box.xmin + box.xmax) * kHalf;
    const double cy = (box.ymin + box.ymax) * kHalf;
    if (h >= kGeomTolerance && w / h < a / b) {
      w = h * a / b;
    } else {
      // A view with no width at all would give an endless scale: keep it the smallest visible.
      w = std::max(w, kGeomTolerance);
      h = w * b / a;
    }
    box = Box{cx - w * kHalf, cy - h * kHalf, cx + w * kHalf, cy + h * kHalf};
    w = BoxWidth(box);
    h = BoxHeight(box);
  }
  view.scaleX = a / w;
  view.scaleY = b / h;
  view.offsetX = -box.xmin * view.scaleX;
  view.offsetY = -box.ymin * view.scaleY;
  view.twoPixelLength = kTwoPixels / view.scaleX;
}

int DrawingAreaWidth(const View& view) {
  return std::max(view.windowWidth, kSmallestArea);
}

int DrawingAreaHeight(const View& view) {
  return std::max(view.windowHeight - kMessageBandPixels, kSmallestArea);
}

double PixelsPerUnit(const View& view) {
  return (view.scaleX + view.scaleY) * kHalf;
}

Point CanvasToDrawing(const View& view, const Point& c) {
  return {(c.x - view.offsetX) / view.scaleX, (c.y - view.offsetY) / view.scaleY};
}

Point PixelToDrawing(const View& view, int px, int py) {
  const Point canvas{px + kHalf, view.windowHeight - py - kHalf};
  const Point p = CanvasToDrawing(view, canvas);
  return {p.x - view.globalOrigin.x, p.y - view.globalOrigin.y};
}

WindowPixel DrawingToPixel(const View& view, const Point& relative) {
  const Point c =
      DrawingToCanvas(view, {relative.x + view.globalOrigin.x, relative.y + view.globalOrigin.y});
  return {PixelIndex(c.x), view.windowHeight - 1 - PixelIndex(c.y)};
}

} // namespace lumora
