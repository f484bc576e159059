// Filling boundaries from their lines, and picking among overlapping fillings.
#include "element_geometry/geometry_fixture.h"

namespace lumora::test {
namespace {

TEST_F(GeometryTest, OpenLinesInAnyOrderAndDirectionCloseOneLoop) {
  LineElement* lines[] = {Line({{10, 0}, {0, 0}}), Line({{10, 10}, {10, 0}}),
                          Line({{0, 0}, {10, 10}})};
  const std::vector<PenPathRecord> path = geo.BuildBoundary(lines, 0.04);
  ASSERT_EQ(path.size(), 5u); // the loop is closed by a record back at its start
  EXPECT_EQ(path[0].pen, 0);
  EXPECT_TRUE(Same({path.back().x, path.back().y}, {path[0].x, path[0].y}));
  EXPECT_EQ(PointInPenPath(7, 3, path), 1);
  EXPECT_EQ(PointInPenPath(3, 7, path), 0);
  // A null entry starts a second loop; a circle is a loop of its own made of chords.
  LineElement* two[] = {Line({{0, 0}, {20, 0}, {20, 20}, {0, 20}}, kShapeClosed), nullptr,
                        Line({{10, 10}, {13, 10}}, kShapeCircle)};
  const std::vector<PenPathRecord> holed = geo.BuildBoundary(two, 0.04);
  EXPECT_EQ(PointInPenPath(10, 10, holed), 0);
  EXPECT_EQ(PointInPenPath(10, 14, holed), 1);
  EXPECT_NEAR(PenPathArea(holed), 400 - 28.27, 0.6);
  // An arc of no radius ends the walk; what came before is still closed.
  LineElement* cut[] = {Line({{0, 0}, {5, 0}, {5, 5}}), Line({{1, 1}, {1, 1}, {1, 1}}, kShapeArc),
                        Line({{9, 9}, {20, 9}})};
  const std::vector<PenPathRecord> shortened = geo.BuildBoundary(cut, 0.04);
  ASSERT_EQ(shortened.size(), 4u);
  EXPECT_TRUE(Same({shortened[3].x, shortened[3].y}, {5, 5}));
}

TEST_F(GeometryTest, RepeatedPicksStepThroughEveryOverlappingFilling) {
  LineElement* square = Line({{0, 0}, {20, 0}, {20, 20}, {0, 20}}, kShapeClosed);
  LineElement* circle = Line({{10, 10}, {18, 10}}, kShapeCircle);
  FillingElement* a = Filling({square});
  FillingElement* b = Filling({circle});
  FillingElement* c = Filling({square});
  std::vector<FillingElement*> seen;
  for (int i = 0; i < 6; ++i) seen.push_back(geo.PickFilling({10, 12}));
  EXPECT_EQ(seen, (std::vector<FillingElement*>{c, b, a, c, b, a}));
  EXPECT_EQ(geo.PickFilling({19, 19}), c);
  EXPECT_EQ(geo.PickFilling({20, 10}), nullptr); // the boundary itself is outside
  b->SetHidden(1);
  EXPECT_EQ(geo.PickFilling({10, 12}), c);
  EXPECT_EQ(geo.PickFilling({10, 12}), a);
}

} // namespace
} // namespace lumora::test
