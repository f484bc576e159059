// Whole pictures of the renderer, compared pixel for pixel with reviewed goldens.
#include "support/golden.h"
#include "view/render_fixture.h"

#include <cmath>
#include <gtest/gtest.h>

namespace lumora::test {
namespace {

// Four styles in every colour, widths, a closed line, an arc through 0 degrees, an arc whose
// ends coincide (a full circle) and a circle.
void DrawSampler(RenderFixture& f) {
  for (int colour = 1; colour <= 8; ++colour) {
    for (int style = 1; style <= 4; ++style) {
      const double y = 72.0 - colour * 4.0;
      const double x = 2.0 + (style - 1) * 12.0;
      f.Line(kShapeOpen, {{x, y}, {x + 10.0, y + 2.0}}, {colour, style, 0});
    }
  }
  f.Line(kShapeOpen, {{2, 30}, {40, 30}}, {7, 7, 0}); // style 7 is solid
  f.Line(kShapeOpen, {{2, 26}, {40, 26}}, {1, 1, 5}); // 0.5 mm at 4 px per unit: 2 pixels
  f.Line(kShapeOpen, {{2, 20}, {40, 20}}, {5, 1, 15});
  f.Line(kShapeClosed, {{4, 4}, {30, 4}, {16, 14}}, {3, 1, 0});
  const Point centre{70.0, 50.0};
  const double r = 15.0;
  const double sixty = 1.0471975512;
  const Point from300{centre.x + r * std::cos(-sixty), centre.y + r * std::sin(-sixty)};
  const Point to60{centre.x + r * std::cos(sixty), centre.y + r * std::sin(sixty)};
  f.Line(kShapeArc, {centre, from300, to60}, {2, 1, 5});
  f.Line(kShapeArc, {{70, 20}, {80, 20}, {80, 20}}, {4, 1, 0});
  f.Line(kShapeCircle, {{70, 20}, {74, 20}}, {6, 3, 0});
  Redraw(f.Scene(), true);
}

TEST(RenderGolden, StylesColoursWidthsAndArcs) {
  RenderFixture dark;
  DrawSampler(dark);
  EXPECT_TRUE(testing::MatchesGolden(dark.canvas, "render_lines_dark"));
  RenderFixture light(Background::kLight);
  DrawSampler(light);
  EXPECT_TRUE(testing::MatchesGolden(light.canvas, "render_lines_light"));
}

TEST(RenderGolden, HighlightEraseMarkersAndOutlines) {
  RenderFixture f;
  LineElement* kept = f.Line(kShapeOpen, {{5, 60}, {45, 60}}, {5, 1, 5});
  LineElement* selected = f.Line(kShapeOpen, {{5, 50}, {45, 50}}, {3, 1, 5});
  LineElement* erased = f.Line(kShapeOpen, {{5, 40}, {45, 40}}, {2, 1, 5});
  ASSERT_NE(kept, nullptr);
  ASSERT_NE(erased, nullptr);
  Redraw(f.Scene(), false);
  f.app.store.Select(selected);
  DrawLine(f.Scene(), *erased, DrawMode::kErase);
  f.app.store.AddMarker({60, 60}, '+');
  f.app.store.AddMarker({70, 60}, 'O');
  f.app.store.AddMarker({80, 60}, 'X');
  const Point outline[] = {{55, 10}, {95, 10}, {95, 40}, {55, 40}};
  f.app.store.AddOutline(outline, 4);
  EXPECT_TRUE(testing::MatchesGolden(f.canvas, "render_modes"));
}

} // namespace
} // namespace lumora::test
