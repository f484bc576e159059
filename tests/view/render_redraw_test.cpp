#include "view/render_fixture.h"

#include <gtest/gtest.h>

namespace lumora::test {
namespace {

// Counts the figures a redraw starts, to see what it skipped.
class CountingCanvas final : public SoftCanvas {
public:
  CountingCanvas() : SoftCanvas(RenderFixture::kWidth, RenderFixture::kHeight) {}
  void SetPen(int colour, int style, double width) override {
    ++pens;
    SoftCanvas::SetPen(colour, style, width);
  }
  int pens = 0;
};

TEST(ScreenPainter, DrawsOnTheCanvasAndKeepsTheBoxesOfWhatItErased) {
  RenderFixture f;
  LineElement* line = f.Line(kShapeOpen, {{10, 10}, {30, 10}});
  const int background = f.CountPixels(BackgroundColour(Background::kDark));
  f.app.painter.Draw(*line, DrawMode::kNormal);
  EXPECT_LT(f.CountPixels(BackgroundColour(Background::kDark)), background);
  EXPECT_TRUE(f.app.window.erased.empty());
  f.app.painter.Draw(*line, DrawMode::kErase);
  EXPECT_EQ(f.CountPixels(BackgroundColour(Background::kDark)), background);
  ASSERT_EQ(f.app.window.erased.size(), 1u);
  EXPECT_DOUBLE_EQ(f.app.window.erased[0].xmax, 30.0);
  // A filling drawn normally gets its hatch first; without a canvas nothing is drawn or kept.
  LineElement* square = f.Line(kShapeClosed, {{40, 40}, {60, 40}, {60, 60}, {40, 60}});
  PropertySet hatched;
  hatched.gap = 2.0;
  FillingElement* filling = f.app.store.AddFilling(hatched, &square, 1);
  ASSERT_NE(filling, nullptr);
  f.app.canvas = nullptr;
  f.app.painter.Draw(*filling, DrawMode::kErase);
  EXPECT_EQ(f.app.window.erased.size(), 1u);
  f.app.canvas = &f.canvas;
  f.app.painter.Draw(*filling, DrawMode::kNormal);
  EXPECT_NE(filling->hatch, nullptr);
}

TEST(RenderRedraw, SkipsElementsOutsideTheViewHiddenOrOnHiddenLayers) {
  RenderFixture f;
  f.Line(kShapeOpen, {{2, 2}, {8, 2}});     // in the zoomed corner
  f.Line(kShapeOpen, {{80, 70}, {95, 70}}); // far away
  LineElement* hidden = f.Line(kShapeOpen, {{3, 3}, {6, 3}});
  hidden->SetHidden(1);
  LineElement* layered = f.Line(kShapeOpen, {{3, 4}, {6, 4}});
  layered->SetLayer(9);
  f.app.drawing.layerVisible[9] = 0;
  CountingCanvas counting;
  f.app.canvas = &counting;
  f.app.view.viewBox = Box{0, 0, 10, 7.5};
  Redraw(f.Scene(), false);
  EXPECT_EQ(counting.pens, 2); // the sheet frame and the one line in view
  counting.pens = 0;
  f.app.view.viewBox = f.app.drawing.limits;
  Redraw(f.Scene(), false);
  EXPECT_EQ(counting.pens, 3);
}

// A measure draws beyond its points and its text: a zoomed view that meets only the end of an
// angle measure's arc (and its extension line) still shows it.
TEST(RenderRedraw, AnAngleMeasureIsDrawnWhereOnlyItsArcMeetsTheView) {
  RenderFixture f;
  PropertySet set;
  set.SetMitta(2);
  set.SetHeight(10);
  const Point points[] = {{40, 40}, {20, 20}, {22, 20}, {20, 20}, {20, 22}};
  ASSERT_NE(f.app.store.AddText(set, points, 5, "90"), nullptr);
  f.app.view.viewBox = Box{14, 44, 26, 53}; // above the text and every point
  FitView(f.app.view, RenderFixture::kWidth, RenderFixture::kHeight);
  Redraw(f.Scene(), false);
  const PixelRect area = DrawingAreaRect(f.app.view);
  int drawn = 0;
  for (int y = area.y; y < area.y + area.height; ++y)
    for (int x = area.x; x < area.x + area.width; ++x) drawn += f.canvas.Pixel(x, y) != kBlackPixel;
  EXPECT_GT(drawn, 0);
}

TEST(RenderRedraw, RecomputeTakesTheZonesAnewAgainstChangedLimits) {
  RenderFixture f;
  f.Line(kShapeOpen, {{50, 50}, {60, 50}});
  CountingCanvas counting;
  f.app.canvas = &counting;
  f.app.drawing.limits = Box{0, 0, 10, 7.5}; // the line now lies off the sheet
  f.app.view.viewBox = f.app.drawing.limits;
  Redraw(f.Scene(), false);
  EXPECT_EQ(counting.pens, 2); // stale zones still claim the line
  counting.pens = 0;
  Redraw(f.Scene(), true);
  EXPECT_EQ(counting.pens, 1); // only the frame
}

TEST(RenderRedraw, ColourZeroDrawsAsColourOneInEveryMode) {
  RenderFixture f;
  LineElement* line = f.Line(kShapeOpen, {{10, 30}, {90, 30}}, {0, 1, 0});
  Redraw(f.Scene(), false);
  EXPECT_EQ(f.At(50, 30), kWhitePixel);
  f.app.store.Select(line);
  EXPECT_EQ(f.At(50, 30), kGreyPixel); // highlighted, not inverted away
  f.app.store.Unselect(line);
  EXPECT_EQ(f.At(50, 30), kBlackPixel); // unselecting erases to the background
  DrawLine(f.Scene(), *line, DrawMode::kNormal);
  EXPECT_EQ(f.At(50, 30), kWhitePixel);
}

TEST(RenderRedraw, PartBoxesFlashForASecondAndGoAway) {
  RenderFixture f;
  ClearDrawingArea(f.Scene());
  PartElement* shown = f.app.store.AddPart("Shown", 0, 0);
  PartElement* nested = f.app.store.AddPart("Nested", 0, 0);
  PartElement* hidden = f.app.store.AddPart("Hidden", 0, 0);
  shown->box = Box{10, 10, 30, 30};
  nested->box = Box{40, 10, 60, 30};
  nested->SetNested(1);
  hidden->box = Box{70, 10, 90, 30};
  hidden->SetHidden(1);
  // How many pixels differ from the blank screen at every wait.
  FakeClock clock;
  std::vector<int> lit;
  clock.onWait = [&](double) { lit.push_back(f.CountPixels(kWhitePixel)); };
  FlashPartBoxes(f.Scene(), clock, false);
  ASSERT_EQ(clock.Waits(), (std::vector<double>{1.0, 1.0}));
  EXPECT_GT(lit[0], 0);
  EXPECT_EQ(lit[1], 0);
  FlashPartBoxes(f.Scene(), clock, true);
  EXPECT_GT(lit[2], lit[0]); // the nested part too
  EXPECT_EQ(lit[3], 0);
}

} // namespace
} // namespace lumora::test
