// Regions found among the drawing's visible lines, their boundaries made into lines, and the
// exact area of the fillings on them.
#include "element_geometry/geometry_fixture.h"
#include "element_geometry/region_search.h"

namespace lumora::test {
namespace {

constexpr double kPi = kFullTurnRadians / 2.0;

class RegionFillTest : public GeometryTest {
protected:
  // A 100 x 80 outline, an inner wall at x = 70 ending on it, a door leaf and its quarter swing
  // of radius 9 on the wall's right side, and a column of radius 5 in the left room.
  void Plan() {
    Line({{10, 10}, {110, 10}, {110, 90}, {10, 90}}, kShapeClosed);
    Line({{70, 10}, {70, 90}});
    Line({{70, 40}, {79, 40}});
    Line({{70, 40}, {79, 40}, {70, 49}}, kShapeArc);
    Line({{30, 50}, {35, 50}}, kShapeCircle);
  }
  // The filling made on the region's new boundary, and its area.
  double HatchedArea(const Point& p, std::vector<LineElement*>& entries) {
    Region region;
    if (!FindRegion(geo, p, region)) return -1.0;
    std::vector<LineElement*> made;
    EXPECT_TRUE(MakeRegionBoundary(geo, region, {}, entries, made));
    FillingElement* f = Filling(entries);
    double area = 0.0;
    EXPECT_TRUE(geo.FillingArea(*f, area));
    EXPECT_NEAR(area, region.area, 1e-6);
    return area;
  }
};

TEST_F(RegionFillTest, RoomsOfAPlanBecomeFillingsOfTheirOwnLines) {
  Plan();
  // A line on a hidden layer across the left room does not divide it.
  Line({{20, 20}, {60, 80}}, kShapeOpen, 3);
  drawing.layerVisible[3] = 0;
  std::vector<LineElement*> left;
  EXPECT_NEAR(HatchedArea({20, 20}, left), 60.0 * 80.0 - kPi * 25.0, 1e-6);
  // The room is one closed line over the walls, the column one circle.
  ASSERT_EQ(left.size(), 3u);
  EXPECT_EQ(left[0]->shape(), kShapeClosed);
  EXPECT_EQ(left[1], nullptr);
  EXPECT_EQ(left[2]->shape(), kShapeCircle);
  EXPECT_NEAR(ElementGeometry::ArcRadius(*left[2]), 5.0, 1e-9);
  // The right room goes round the door: the swing as an arc and the straight edges from its
  // one end round to its other as one open line.
  std::vector<LineElement*> right;
  EXPECT_NEAR(HatchedArea({100, 80}, right), 40.0 * 80.0 - kPi * 81.0 / 4.0, 1e-6);
  ASSERT_EQ(right.size(), 2u);
  if (right[0]->shape() == kShapeOpen) std::swap(right[0], right[1]);
  EXPECT_TRUE(Same(Pts(right[0]), {{70, 40}, {79, 40}, {70, 49}}));
  EXPECT_EQ(right[1]->shape(), kShapeOpen);
  EXPECT_EQ(right[1]->ps0(), 7u);
  // The same answers from walking the lists as from the index; nothing closes outside.
  store.UseIndex(false);
  Region region;
  ASSERT_TRUE(FindRegion(geo, {20, 20}, region));
  EXPECT_NEAR(region.area, 60.0 * 80.0 - kPi * 25.0, 1e-6);
  EXPECT_FALSE(FindRegion(geo, {150, 150}, region));
  store.UseIndex(true);
  EXPECT_FALSE(FindRegion(geo, {150, 150}, region));
}

TEST_F(RegionFillTest, ARoomFullOfLooseStrokesIsFound) {
  // Forty thousand short strokes inside one room (furniture and writing drawn as lines) neither
  // close a region nor keep the room from closing round them, on a sheet much larger than the room.
  drawing.limits = Box{0.0, 0.0, 1000.0, 1000.0};
  Line({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, kShapeClosed);
  for (int i = 0; i < 200; ++i) {
    for (int j = 0; j < 200; ++j) {
      const double x = 0.25 + i * 0.5;
      const double y = 0.25 + j * 0.5;
      Line({{x, y}, {x + 0.2, y}});
    }
  }
  Region region;
  ASSERT_TRUE(FindRegion(geo, {50.1, 50.0}, region));
  EXPECT_NEAR(region.area, 10000.0, 1e-6);
  EXPECT_TRUE(region.holes.empty());
}

TEST_F(RegionFillTest, ArcsCountWholeInAFillingsArea) {
  // A plate with a round hole, and a half disc bounded by an arc and its diameter.
  LineElement* plate = Line({{20, 20}, {120, 20}, {120, 70}, {20, 70}}, kShapeClosed);
  LineElement* hole = Line({{70, 45}, {80, 45}}, kShapeCircle);
  double area = 0.0;
  ASSERT_TRUE(geo.FillingArea(*Filling({plate, hole}), area));
  EXPECT_NEAR(area, 5000.0 - kPi * 100.0, 1e-6);
  LineElement* half = Line({{50, 100}, {60, 100}, {40, 100}}, kShapeArc);
  LineElement* diameter = Line({{40, 100}, {60, 100}});
  ASSERT_TRUE(geo.FillingArea(*Filling({diameter, half}), area));
  EXPECT_NEAR(area, kPi * 50.0, 1e-6);
}

} // namespace
} // namespace lumora::test
