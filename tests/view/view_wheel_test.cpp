// The wheel zooms round the point under the pointer, between the whole sheet and a few grid
// steps across.
#include "view/view_wheel.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(ViewWheel, ThePointUnderThePointerStaysBetweenTheLimits) {
  View view;
  const Box sheet{0.0, 0.0, 198.0, 281.0};
  view.viewBox = sheet;
  FitView(view, 1000, 800);
  const Box whole = WholeSheetView(view, sheet);
  EXPECT_DOUBLE_EQ(BoxWidth(whole), BoxWidth(view.viewBox));
  // Three steps in at a corner of a rectangle: the corner keeps its pixel and the view is
  // 1.25^3 narrower.
  const Point corner{20.0, 40.0};
  const WindowPixel before = DrawingToPixel(view, corner);
  for (int step = 0; step < 3; ++step) {
    view.viewBox = ZoomedAround(view.viewBox, corner, kWheelZoomFactor, whole, 1.0);
    FitView(view, 1000, 800);
  }
  const WindowPixel after = DrawingToPixel(view, corner);
  EXPECT_LE(std::abs(after.x - before.x), 1);
  EXPECT_LE(std::abs(after.y - before.y), 1);
  EXPECT_NEAR(BoxWidth(whole) / BoxWidth(view.viewBox), 1.953125, 1e-9);
  // Out again, and further: the whole sheet and no wider.
  for (int step = 0; step < 5; ++step) {
    view.viewBox = ZoomedAround(view.viewBox, corner, 1.0 / kWheelZoomFactor, whole, 1.0);
  }
  EXPECT_DOUBLE_EQ(view.viewBox.xmin, whole.xmin);
  EXPECT_DOUBLE_EQ(view.viewBox.xmax, whole.xmax);
  EXPECT_DOUBLE_EQ(view.viewBox.ymax, whole.ymax);
  // In as far as the narrowest width, and no further.
  Box box = view.viewBox;
  for (int step = 0; step < 40; ++step)
    box = ZoomedAround(box, corner, kWheelZoomFactor, whole, 10.0);
  EXPECT_NEAR(BoxWidth(box), 10.0, 1e-9);
  EXPECT_TRUE(box.xmin <= corner.x && corner.x <= box.xmax);
  // Out at another point than the way in: inside the whole sheet all the way, then all of it.
  const Point far{-60.0, 250.0};
  for (int step = 0; step < 40; ++step) {
    box = ZoomedAround(box, far, 1.0 / kWheelZoomFactor, whole, 10.0);
    EXPECT_TRUE(box.xmin >= whole.xmin && box.xmax <= whole.xmax && box.ymin >= whole.ymin &&
                box.ymax <= whole.ymax);
  }
  EXPECT_DOUBLE_EQ(box.xmin, whole.xmin);
  EXPECT_DOUBLE_EQ(box.ymax, whole.ymax);
  for (int step = 0; step < 40; ++step)
    box = ZoomedAround(box, corner, kWheelZoomFactor, whole, 10.0);
  const Box held = ZoomedAround(box, corner, kWheelZoomFactor, whole, 10.0);
  EXPECT_DOUBLE_EQ(held.xmin, box.xmin);
  EXPECT_DOUBLE_EQ(held.xmax, box.xmax);
}

} // namespace
} // namespace lumora
