#include "view/render_pen.h"
#include "view/view.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>

namespace lumora {
namespace {

constexpr int kBand = kMessageBandPixels;

TEST(RenderView, FitViewWidensTheViewToTheAreaAroundItsCentre) {
  View wide;
  wide.viewBox = Box{0.0, 0.0, 100.0, 10.0};
  FitView(wide, 800, 600 + kBand);
  EXPECT_DOUBLE_EQ(wide.viewBox.xmax, 100.0);
  EXPECT_DOUBLE_EQ(wide.viewBox.ymin, 5.0 - 37.5);
  EXPECT_DOUBLE_EQ(wide.viewBox.ymax, 5.0 + 37.5);
  EXPECT_DOUBLE_EQ(wide.scaleX, 8.0);

  View tall; // the default sheet in the default window is limited by its height
  tall.viewBox = Box{0.0, 0.0, 198.0, 281.0};
  FitView(tall, 1000, 800);
  EXPECT_DOUBLE_EQ(tall.viewBox.ymax - tall.viewBox.ymin, 281.0);
  EXPECT_NEAR((tall.viewBox.xmin + tall.viewBox.xmax) / 2, 99.0, 1e-9);

  // A repaint fits the view again: the second fit must not move it by a rounding, or a point
  // on a pixel boundary (the sheet's centre) is drawn one pixel off after every expose.
  for (const Box& start : {Box{0, 0, 198, 281}, Box{0, 0, 281, 198}, Box{-3.3, 7.1, 0.7, 9.9}}) {
    for (const auto& [w, h] : {std::pair{1000, 800}, std::pair{777, 513}, std::pair{640, 900}}) {
      View once;
      once.viewBox = start;
      FitView(once, w, h);
      View twice = once;
      FitView(twice, w, h);
      const auto corners = [](const Box& b) { return std::array{b.xmin, b.ymin, b.xmax, b.ymax}; };
      EXPECT_EQ(corners(twice.viewBox), corners(once.viewBox)) << w << "x" << h;
      EXPECT_EQ(twice.scaleX, once.scaleX);
      EXPECT_EQ(twice.offsetY, once.offsetY);
    }
  }
}

TEST(RenderView, FitViewStaysFiniteForDegenerateViewsAndWindows) {
  View flat;
  flat.viewBox = Box{5.0, 5.0, 5.0, 5.0};
  FitView(flat, 400, 300);
  EXPECT_TRUE(std::isfinite(flat.scaleX) && std::isfinite(flat.scaleY));
  View band; // a window no taller than the message band
  FitView(band, 300, 20);
  EXPECT_TRUE(std::isfinite(band.scaleX) && std::isfinite(band.scaleY));
  EXPECT_GT(band.scaleY, 0.0);
}

TEST(RenderView, PixelAndDrawingMapBackWithinAPixel) {
  View view;
  view.viewBox = Box{0.0, 0.0, 198.0, 281.0};
  FitView(view, 1000, 800);
  const double pixel = 1.0 / view.scaleX;
  for (const Point origin : {Point{0.0, 0.0}, Point{12.5, -3.0}}) {
    view.globalOrigin = origin;
    for (const Point p : {Point{0.0, 0.0}, Point{99.3, 140.7}, Point{-20.1, 250.0}}) {
      const WindowPixel px = DrawingToPixel(view, p);
      const Point back = PixelToDrawing(view, px.x, px.y);
      EXPECT_NEAR(back.x, p.x, pixel);
      EXPECT_NEAR(back.y, p.y, pixel);
    }
  }
  view.globalOrigin = {0.0, 0.0};
  // The sheet's lower left corner sits in the window's bottom row; y grows upwards.
  const WindowPixel corner = DrawingToPixel(view, {0.0, 0.0});
  EXPECT_EQ(corner.y, 799);
  EXPECT_LT(DrawingToPixel(view, {0.0, 100.0}).y, corner.y);
  // Points far off the window still give a pixel, never an overflow.
  const WindowPixel far = DrawingToPixel(view, {1e300, -1e300});
  EXPECT_GT(far.x, 1000);
  EXPECT_GT(far.y, 800);
}

TEST(RenderView, ArcStepFollowsThePaperAccuracyButNeverFallsBelowADegree) {
  constexpr double kDegree = 0.017453292519444445;
  EXPECT_NEAR(ArcStep(1.0, 0.04, 10.0), std::sqrt(0.032), 1e-12);
  EXPECT_DOUBLE_EQ(ArcStep(1.0, 0.04, 1e6), kDegree); // a huge circle
  EXPECT_DOUBLE_EQ(ArcStep(1.0, 0.0, 0.0), kDegree);  // nothing to measure
  EXPECT_DOUBLE_EQ(ArcStep(1.0, -1.0, 5.0), kDegree); // a broken setup value
}

} // namespace
} // namespace lumora
