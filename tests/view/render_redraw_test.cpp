#include "util/clock.h"
#include "view/render_fixture.h"

#include <gtest/gtest.h>

namespace lumora::test {
namespace {

// Counts the figures a redraw starts, to see what it skipped before touching any geometry.
class CountingCanvas final : public Canvas {
public:
  int pens = 0;
  int Width() const override { return RenderFixture::kWidth; }
  int Height() const override { return RenderFixture::kHeight; }
  void SetBackground(Background) override {}
  Background GetBackground() const override { return Background::kDark; }
  void SetClip(const PixelRect&) override {}
  PixelRect Clip() const override { return {0, 0, Width(), Height()}; }
  void SetPen(int, int, double) override { ++pens; }
  void MoveTo(double, double) override {}
  void LineTo(double, double) override {}
  void EndPath() override {}
  void Circle(double, double, double) override {}
  void Arc(double, double, double, double, double, double, double) override {}
  void FillRect(const PixelRect&, Rgb) override {}
  void DrawGlyphs(int, int, std::string_view, Rgb) override {}
  bool ReadBlock(const PixelRect&, PixelBlock&) override { return false; }
  void WriteBlock(const PixelBlock&) override {}
  void Flush() override {}
};

// Remembers how many pixels differ from the blank screen at every wait.
class WatchingClock final : public Clock {
public:
  explicit WatchingClock(const RenderFixture& f) : f_(f) {}
  std::vector<double> waits;
  std::vector<int> lit;
  double Seconds() const override { return 0.0; }
  LocalDateTime LocalTime(long long) const override { return {}; }
  void Wait(double seconds) override {
    waits.push_back(seconds);
    lit.push_back(f_.CountPixels(kWhitePixel));
  }

private:
  const RenderFixture& f_;
};

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

TEST(RenderRedraw, InversionTwiceRestoresTheScreen) {
  RenderFixture f;
  LineElement* line = f.Line(kShapeClosed, {{10, 10}, {50, 12}, {30, 40}}, {1, 2, 0});
  LineElement* arc = f.Line(kShapeArc, {{60, 40}, {75, 40}, {60, 55}});
  LineElement* circle = f.Line(kShapeCircle, {{60, 20}, {66, 20}});
  Redraw(f.Scene(), false);
  const RgbImage before = f.canvas.Image();
  for (int pass = 0; pass < 2; ++pass) {
    for (const LineElement* e : {line, arc, circle}) DrawLine(f.Scene(), *e, kModeInvert);
    DrawMarker(f.Scene(), {20, 20}, 'X');
    if (pass == 0) {
      EXPECT_NE(f.canvas.Image().rgb, before.rgb);
    }
  }
  EXPECT_EQ(f.canvas.Image().rgb, before.rgb);
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
  DrawLine(f.Scene(), *line, kModeNormal);
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
  WatchingClock clock(f);
  FlashPartBoxes(f.Scene(), clock, false);
  ASSERT_EQ(clock.waits, (std::vector<double>{1.0, 1.0}));
  const int oneBox = clock.lit[0];
  EXPECT_GT(oneBox, 0);
  EXPECT_EQ(clock.lit[1], 0);
  WatchingClock withNested(f);
  FlashPartBoxes(f.Scene(), withNested, true);
  EXPECT_GT(withNested.lit[0], oneBox);
  EXPECT_EQ(withNested.lit[1], 0);
}

} // namespace
} // namespace lumora::test
