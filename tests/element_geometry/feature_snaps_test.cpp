// Snaps to the middle, centre, perpendicular foot, tangent point and quadrant point of the
// nearest line, on a sheet of known geometry.
#include "element_geometry/feature_snaps.h"
#include "element_geometry/geometry_fixture.h"

#include <cmath>

namespace lumora::test {
namespace {

class FeatureSnapTest : public GeometryTest {
protected:
  // A 100 x 60 rectangle, a circle of radius 20 at (150, 50) and a quarter arc of radius 10
  // round (150, 100) from 0 to 90 degrees.
  void SetUp() override {
    drawing.limits = Box{-20.0, -20.0, 220.0, 160.0};
    Line({{0, 0}, {100, 0}, {100, 60}, {0, 60}}, kShapeClosed);
    Line({{150, 50}, {170, 50}}, kShapeCircle);
    Line({{150, 100}, {160, 100}, {150, 110}}, kShapeArc);
  }
  bool Snap(FeatureSnap snap, const Point& cursor, Point& found, const Point& from = {0, 0}) {
    return SnapToFeature(geo, snap, cursor, from, 5.0, found);
  }
};

TEST_F(FeatureSnapTest, EachSnapFindsItsPointOfTheNearestLine) {
  Point p{};
  ASSERT_TRUE(Snap(FeatureSnap::kMidpoint, {40, 2}, p));
  EXPECT_TRUE(Same(p, {50, 0}));
  // The closing side of the rectangle has its middle too.
  ASSERT_TRUE(Snap(FeatureSnap::kMidpoint, {1, 20}, p));
  EXPECT_TRUE(Same(p, {0, 30}));
  ASSERT_TRUE(Snap(FeatureSnap::kMidpoint, {158, 108}, p));
  EXPECT_TRUE(Same(p, {150 + 10 / std::sqrt(2.0), 100 + 10 / std::sqrt(2.0)}));
  ASSERT_TRUE(Snap(FeatureSnap::kCentre, {168, 55}, p));
  EXPECT_TRUE(Same(p, {150, 50}));
  // The foot from the last point (30, 40) on the bottom side; on the side's extension too.
  ASSERT_TRUE(Snap(FeatureSnap::kPerpendicular, {60, 1}, p, {30, 40}));
  EXPECT_TRUE(Same(p, {30, 0}));
  ASSERT_TRUE(Snap(FeatureSnap::kPerpendicular, {99, 30}, p, {130, 80}));
  EXPECT_TRUE(Same(p, {100, 80}));
  // On a circle: where the line through the centre meets it, the side nearer the cursor.
  ASSERT_TRUE(Snap(FeatureSnap::kPerpendicular, {131, 50}, p, {100, 50}));
  EXPECT_TRUE(Same(p, {130, 50}));
  // Tangent from (100, 50): the touching point on the side of the cursor.
  const double b = std::acos(20.0 / 50.0);
  ASSERT_TRUE(Snap(FeatureSnap::kTangent, {142, 68}, p, {100, 50}));
  EXPECT_TRUE(Same(p, {150 - 20 * std::cos(b), 50 + 20 * std::sin(b)}));
  ASSERT_TRUE(Snap(FeatureSnap::kTangent, {142, 32}, p, {100, 50}));
  EXPECT_TRUE(Same(p, {150 - 20 * std::cos(b), 50 - 20 * std::sin(b)}));
  ASSERT_TRUE(Snap(FeatureSnap::kQuadrant, {168, 45}, p));
  EXPECT_TRUE(Same(p, {170, 50}));
  ASSERT_TRUE(Snap(FeatureSnap::kQuadrant, {148, 69}, p));
  EXPECT_TRUE(Same(p, {150, 70}));
}

TEST_F(FeatureSnapTest, WhatALineLacksIsNotFound) {
  Point p{7, 7};
  // Nothing in reach.
  EXPECT_FALSE(Snap(FeatureSnap::kMidpoint, {50, 30}, p));
  // A straight line has no centre, tangent or quadrant; a circle no middle.
  EXPECT_FALSE(Snap(FeatureSnap::kCentre, {40, 1}, p));
  EXPECT_FALSE(Snap(FeatureSnap::kTangent, {40, 1}, p, {30, 40}));
  EXPECT_FALSE(Snap(FeatureSnap::kQuadrant, {40, 1}, p));
  EXPECT_FALSE(Snap(FeatureSnap::kMidpoint, {170, 50}, p));
  // No tangent from inside the circle; no perpendicular from its centre.
  EXPECT_FALSE(Snap(FeatureSnap::kTangent, {170, 50}, p, {155, 50}));
  EXPECT_FALSE(Snap(FeatureSnap::kPerpendicular, {170, 50}, p, {150, 50}));
  // Of the quarter arc only 0 and 90 degrees lie on it; a tangent point off the arc is none.
  ASSERT_TRUE(Snap(FeatureSnap::kQuadrant, {152, 109}, p));
  EXPECT_TRUE(Same(p, {150, 110}));
  const double b = std::acos(1.0 / 3.0);
  ASSERT_TRUE(Snap(FeatureSnap::kTangent, {155, 108}, p, {180, 100}));
  EXPECT_TRUE(Same(p, {150 + 10 * std::cos(b), 100 + 10 * std::sin(b)}));
  EXPECT_FALSE(Snap(FeatureSnap::kTangent, {159, 102}, p, {150, 80}));
  EXPECT_TRUE(Same(p, {150 + 10 * std::cos(b), 100 + 10 * std::sin(b)})); // left as it was
}

} // namespace
} // namespace lumora::test
