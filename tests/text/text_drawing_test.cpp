#include "text/layout_fixture.h"
#include "text/recording_pen.h"
#include "text/text_drawing.h"

#include <cmath>
#include <gtest/gtest.h>

namespace lumora {
namespace {

struct Scene {
  Fonts fonts = RoundFont();
  TextScene scene{fonts, 1.0, {3, 4, 0.5}};
  RecordingPen pen;
};

// The calls between the measure pen and its end.
std::vector<PenCall> MeasureCalls(const RecordingPen& pen) {
  std::vector<PenCall> out;
  int pens = 0;
  for (const auto& c : pen.calls) {
    pens += c.op == 'P' ? 1 : 0;
    if (pens == 2 && c.op != 'P' && c.op != 'E') out.push_back(c);
  }
  return out;
}

void ExpectArrow(const std::vector<PenCall>& c, std::size_t at, Point tip, Point base1,
                 Point base2) {
  ASSERT_GE(c.size(), at + 4);
  EXPECT_TRUE(c[at].op == 'M' && Near(c[at].p, tip, 1e-9));
  EXPECT_TRUE(Near(c[at + 1].p, base1, 1e-9)) << c[at + 1].p.x << " " << c[at + 1].p.y;
  EXPECT_TRUE(Near(c[at + 2].p, base2, 1e-9));
  EXPECT_TRUE(Near(c[at + 3].p, tip, 1e-9));
}

TEST(TextDrawing, StringStartsAtTheBoxCornerAboveTheLowerPortion) {
  Scene s;
  TestText text("A", {{100, 100}}, 5);
  DrawText(s.scene, s.pen, text.t, DrawMode::kNormal);
  ASSERT_GE(s.pen.calls.size(), 3u);
  EXPECT_EQ(s.pen.calls[0].p.x, 3); // colour 3 times mode 1, style 1
  EXPECT_EQ(s.pen.calls[0].p.y, 1);
  EXPECT_DOUBLE_EQ(s.pen.calls[0].q.y, 0.5); // width code 5 is 0.5 mm
  // Box (-1, -1.2, 1, 1.2); the base line lies 0.2 * h above the box bottom.
  EXPECT_TRUE(Near(s.pen.calls[1].p, {99, 99.2}, 1e-9));
  EXPECT_TRUE(Near(s.pen.calls[2].p, {101, 101.2}, 1e-9));
  EXPECT_EQ(s.pen.Only('P').size(), 1u); // a plain text draws no measure
}

TEST(TextDrawing, LinearMeasureArrowsInsideAndOutside) {
  Scene s;
  // "AB" at way 2: the box bottom runs from 47 to 53 at y = 10; the span is 0 to 100.
  TestText wide("AB", {{50, 10}, {0, 0}, {100, 0}}, 2, 1);
  DrawText(s.scene, s.pen, wide.t, DrawMode::kNormal);
  auto c = MeasureCalls(s.pen);
  ASSERT_EQ(c.size(), 14u);
  EXPECT_TRUE(Near(c[0].p, {0, 10}) && Near(c[1].p, {100, 10}));
  ExpectArrow(c, 2, {0, 10}, {2.4, 10.3}, {2.4, 9.7});
  ExpectArrow(c, 6, {100, 10}, {97.6, 9.7}, {97.6, 10.3});
  EXPECT_TRUE(Near(c[10].p, {0, 1}) && Near(c[11].p, {0, 10.8})); // gap 0.5 h, overshoot 0.4 h
  EXPECT_TRUE(Near(c[12].p, {100, 1}) && Near(c[13].p, {100, 10.8}));
  EXPECT_EQ(s.pen.Only('P')[1].p.x, 4); // measure colour
  EXPECT_DOUBLE_EQ(s.pen.Only('P')[1].q.y, 0.3);

  // The span 49 to 51 is narrower than the box: the line reaches 1.8 h beyond each foot and
  // the arrows point inwards from outside. Measured points in either order draw the same.
  for (const auto& [p1, p2] :
       {std::pair{Point{49, 0}, Point{51, 0}}, {Point{51, 0}, Point{49, 0}}}) {
    Scene n;
    TestText narrow("AB", {{50, 10}, p1, p2}, 2, 1);
    DrawText(n.scene, n.pen, narrow.t, DrawMode::kNormal);
    c = MeasureCalls(n.pen);
    ASSERT_GE(c.size(), 10u);
    EXPECT_NEAR(std::fabs(c[0].p.x - c[1].p.x), 2 + 2 * 3.6, 1e-9);
    EXPECT_NEAR(std::min(c[0].p.x, c[1].p.x), 45.4, 1e-9);
    const double tip = c[2].p.x;
    const double base = c[3].p.x;
    EXPECT_NEAR(std::fabs(tip - base), 2.4, 1e-9);
    EXPECT_EQ(tip < 50, base < tip); // the arrowhead lies outside its foot
  }
}

TEST(TextDrawing, AngleMeasureInsideAndOutsideTheAngle) {
  const double r = std::sqrt(17.8 * 17.8 + 18.8 * 18.8); // nearest frame corner of the text
  {
    Scene s;
    TestText in("A", {{20, 20}, {10, 0}, {20, 0}, {0, 10}, {0, 20}}, 5, 2);
    DrawText(s.scene, s.pen, in.t, DrawMode::kNormal);
    const auto arcs = s.pen.Only('A');
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_TRUE(Near(arcs[0].p, {0, 0}, 1e-9));
    EXPECT_TRUE(Near(arcs[0].q, {r, 0}, 1e-9));
    EXPECT_TRUE(Near(arcs[0].r, {0, r}, 1e-9));
    const auto c = MeasureCalls(s.pen);
    ExpectArrow(c, 1, {r, 0}, {r - 0.3, 2.4}, {r + 0.3, 2.4}); // along the arc, inside
    // Extension line from the right side's start towards the arc.
    EXPECT_TRUE(Near(c[9].p, {11, 0}, 1e-9));
    EXPECT_TRUE(Near(c[10].p, {r + 0.8, 0}, 1e-9));
  }
  {
    Scene s;
    TestText out("A", {{-20, -20}, {10, 0}, {20, 0}, {0, 10}, {0, 20}}, 5, 2);
    DrawText(s.scene, s.pen, out.t, DrawMode::kNormal);
    const double r2 = std::hypot(17.8, 18); // the frame corner nearest to the vertex
    const auto c = MeasureCalls(s.pen);
    ExpectArrow(c, 1, {r2, 0}, {r2 + 0.3, -2.4}, {r2 - 0.3, -2.4}); // outside, pointing in
  }
  {
    Scene s; // parallel sides: no measure graphics
    TestText parallel("A", {{20, 20}, {0, 0}, {10, 0}, {0, 5}, {10, 5}}, 5, 2);
    DrawText(s.scene, s.pen, parallel.t, DrawMode::kNormal);
    EXPECT_TRUE(MeasureCalls(s.pen).empty());
  }
}

TEST(TextDrawing, PlottingStopsAtTheFirstFailure) {
  Scene s;
  TestText measure("A", {{50, 10}, {0, 0}, {100, 0}}, 2, 1);
  RecordingPlotter ok;
  EXPECT_EQ(PlotText(s.scene, ok, measure.t), 1);
  EXPECT_EQ(PlotMeasure(s.scene, ok, measure.t), 1);
  EXPECT_EQ(ok.steps, 2 + 14);
  RecordingPlotter failing;
  failing.failAt = 5;
  EXPECT_EQ(PlotMeasure(s.scene, failing, measure.t), 0);
  EXPECT_EQ(failing.steps, 5);
}

} // namespace
} // namespace lumora
