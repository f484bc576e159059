#include "geometry/primitives.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace lumora {
namespace {

void ExpectBox(const Box& b, double xmin, double ymin, double xmax, double ymax) {
  EXPECT_NEAR(b.xmin, xmin, 1e-9);
  EXPECT_NEAR(b.ymin, ymin, 1e-9);
  EXPECT_NEAR(b.xmax, xmax, 1e-9);
  EXPECT_NEAR(b.ymax, ymax, 1e-9);
}

TEST(Boxes, ResetThenExtendAndPointLists) {
  Box b{1, 2, 3, 4};
  ResetBox(b);
  ExpectBox(b, kNoPoint, kNoPoint, -kNoPoint, -kNoPoint);
  ExtendBox(5, -7, b);
  ExpectBox(b, 5, -7, 5, -7);
  ExtendBox(-1, 3, b);
  ExtendBoxBySegment({{2, 10}, {8, -9}}, b);
  ExpectBox(b, -1, -9, 8, 10);

  const Point pts[] = {{3, 1}, {-2, 4}, {0, -6}};
  BoxOfPoints(pts, b);
  ExpectBox(b, -2, -6, 3, 4);
  BoxOfPoints({}, b);
  ExpectBox(b, kNoPoint, kNoPoint, -kNoPoint, -kNoPoint);
}

TEST(Boxes, ArcsTakeOnlyTheExtremesTheyPass) {
  Box b;
  // Quarter from east to north: no extreme point between the ends but the ends themselves.
  BoxOfArc({0, 0}, {10, 0}, {0, 10}, b);
  ExpectBox(b, 0, 0, 10, 10);
  // From north-east round to south-east, counter-clockwise: passes north, west and south.
  const double c = 10 / std::sqrt(2.0);
  BoxOfArc({1, 1}, {1 + c, 1 + c}, {1 + c, 1 - c}, b);
  ExpectBox(b, -9, -9, 1 + c, 11);
  // The same ends the other way round is the short arc through the east point.
  BoxOfArc({1, 1}, {1 + c, 1 - c}, {1 + c, 1 + c}, b);
  ExpectBox(b, 1 + c, 1 - c, 11, 1 + c);
  // Start = end is the full circle, as is an end within the tolerance of the start.
  BoxOfArc({0, 0}, {0, 5}, {0, 5}, b);
  ExpectBox(b, -5, -5, 5, 5);
  BoxOfArc({0, 0}, {5, 0}, {5, 0.0005}, b);
  ExpectBox(b, -5, -5, 5, 5);
  BoxOfCircle({2, 3}, {5, 7}, b);
  ExpectBox(b, -3, -2, 7, 8);
}

TEST(Zones, SixteenStripsLowestInTheTopBit) {
  EXPECT_EQ(ZoneMask(0, 160, 0, 160), 0xFFFF);
  EXPECT_EQ(ZoneMask(-50, 500, 0, 160), 0xFFFF);
  EXPECT_EQ(ZoneMask(2, 3, 0, 160), 0x8000);
  EXPECT_EQ(ZoneMask(155, 158, 0, 160), 0x0001);
  EXPECT_EQ(ZoneMask(25, 25, 0, 160), 0x2000);
  // Touching a strip boundary sets both strips.
  EXPECT_EQ(ZoneMask(10, 10, 0, 160), 0xC000);
  EXPECT_EQ(ZoneMask(5, 20, 0, 160), 0xE000);
  // Outside the range, or an empty or reversed range: nothing.
  EXPECT_EQ(ZoneMask(170, 180, 0, 160), 0);
  EXPECT_EQ(ZoneMask(-9, -1, 0, 160), 0);
  EXPECT_EQ(ZoneMask(0, 10, 50, 50), 0);
  EXPECT_EQ(ZoneMask(0, 10, 60, 50), 0);
}

TEST(Zones, LargeCoordinatesKeepSixteenStripsAndBadRangesEnd) {
  // Map coordinates: summing the strip width would make a seventeenth strip here and push the
  // first strip out of the mask.
  const double start = 2704624.3662747219;
  const double end = 2704633.3115940862;
  EXPECT_EQ(ZoneMask(start, start, start, end), 0x8000);
  EXPECT_EQ(ZoneMask(end, end, start, end), 0x0001);
  EXPECT_EQ(ZoneMask(start, end, start, end), 0xFFFF);
  // Strips narrower than the spacing of doubles there, and ranges that are not numbers.
  EXPECT_EQ(ZoneMask(0, 2e17, 1e17, 1e17 + 64), 0xFFFF);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(ZoneMask(0, 1, nan, 10), 0);
  EXPECT_EQ(ZoneMask(0, 1, 0, nan), 0);
  EXPECT_EQ(ZoneMask(0, 1, -inf, inf), 0);
  EXPECT_EQ(ZoneMask(nan, nan, 0, 10), 0);
}

TEST(Zones, OverlapNeedsBothAxes) {
  EXPECT_EQ(ZonesOverlap(0x8000, 0x0F00, 0xC000, 0x0100), 1);
  EXPECT_EQ(ZonesOverlap(0x8000, 0x0F00, 0x4000, 0x0100), 0);
  EXPECT_EQ(ZonesOverlap(0x8000, 0x0F00, 0x8000, 0xF000), 0);
  EXPECT_EQ(ZonesOverlap(0, 0, 0xFFFF, 0xFFFF), 0);
}

TEST(Compare, ToleranceIsStrict) {
  EXPECT_EQ(SameValue(1.0, 1.0009), 1);
  EXPECT_EQ(SameValue(1.0, 1.0011), 0);
  EXPECT_EQ(SameValue(-1.0, -1.0011), 0);
  EXPECT_EQ(SameFloat(1.0f, 1.0005f), 1);
  EXPECT_EQ(SameFloat(1.0f, 1.002f), 0);
  EXPECT_EQ(SamePoint(1, 2, 1.0009, 1.9991), 1);
  EXPECT_EQ(SamePoint(1, 2, 1.0, 2.0011), 0);
  EXPECT_EQ(SamePoint(Point{1, 2}, Point{1.0011, 2}), 0);
  EXPECT_EQ(SamePointWithin(0, 0, 0.4, -0.4, 0.5), 1);
  EXPECT_EQ(SamePointWithin(0, 0, 0.4, -0.6, 0.5), 0);
  EXPECT_EQ(InRange(5.0009, 5, 1), 1);
  EXPECT_EQ(InRange(0.9991, 5, 1), 1);
  EXPECT_EQ(InRange(5.0011, 1, 5), 0);
  EXPECT_EQ(InRange(0.9989, 1, 5), 0);
}

TEST(Compare, InBoxTakesCornersInAnyOrderAndEmptyBoxesHoldNothing) {
  EXPECT_EQ(InBox(5, 5, 0, 0, 10, 10), 1);
  EXPECT_EQ(InBox(10.0009, -0.0009, 0, 0, 10, 10), 1);
  EXPECT_EQ(InBox(10.0011, 5, 0, 0, 10, 10), 0);
  EXPECT_EQ(InBox(5, 5, 10, 10, 0, 0), 1);
  EXPECT_EQ(InBox(11, 5, 10, 10, 0, 0), 0);
  // One axis reversed is still the same rectangle.
  EXPECT_EQ(InBox(5, 5, 0, 10, 10, 0), 1);
  EXPECT_EQ(InBox(5, 11, 0, 10, 10, 0), 0);
  Box b;
  EXPECT_EQ(InBox(0, 0, b), 0);
  EXPECT_EQ(InBox(0, 0, b.xmin, b.ymin, b.xmax, b.ymax), 0);
  ExtendBox(1, 1, b);
  EXPECT_EQ(InBox(1, 1, b), 1);
  EXPECT_EQ(InBox(1.01, 1, b), 0);
}

TEST(Arcs, OnArcSectors) {
  const Point o{0, 0};
  // Quarter arc from east to north.
  EXPECT_EQ(OnArc(5, 5, o, {10, 0}, {0, 10}), 1);
  EXPECT_EQ(OnArc(50, 0.00001, o, {10, 0}, {0, 10}), 1);
  EXPECT_EQ(OnArc(-5, 5, o, {10, 0}, {0, 10}), 0);
  EXPECT_EQ(OnArc(5, -5, o, {10, 0}, {0, 10}), 0);
  // Reversed it is the three-quarter arc.
  EXPECT_EQ(OnArc(5, 5, o, {0, 10}, {10, 0}), 0);
  EXPECT_EQ(OnArc(-5, 5, o, {0, 10}, {10, 0}), 1);
  EXPECT_EQ(OnArc(5, -5, o, {0, 10}, {10, 0}), 1);
  // Half circle from east to west goes over the top.
  EXPECT_EQ(OnArc(0, 3, o, {10, 0}, {-10, 0}), 1);
  EXPECT_EQ(OnArc(0, -3, o, {10, 0}, {-10, 0}), 0);
  EXPECT_EQ(OnArc(3, -0.00005, o, {10, 0}, {-10, 0}), 1); // within the slack at the ends
  // Start = end is the full circle.
  EXPECT_EQ(OnArc(0, -3, o, {10, 0}, {10, 0}), 1);
  EXPECT_EQ(OnArc(7, 0.5, o, {10, 0}, {10, 0}), 1);
}

TEST(Vectors, ProductsDistancesAndTurnKeys) {
  EXPECT_DOUBLE_EQ(Distance(1, 1, 4, 5), 5.0);
  EXPECT_DOUBLE_EQ(Distance(1, 1, 4, -3, 0), 7.0);
  EXPECT_DOUBLE_EQ(Distance(Point{0, 0}, Point{-3, 4}), 5.0);
  EXPECT_DOUBLE_EQ(Cross(2, 0, 0, 3, 0), 6.0);
  EXPECT_DOUBLE_EQ(Cross(2, 0, 0, 3, 1), 1.0);
  EXPECT_DOUBLE_EQ(Cross(0, 3, 2, 0, 1), -1.0);
  EXPECT_DOUBLE_EQ(Dot(3, 4, 6, 8, 0), 50.0);
  EXPECT_DOUBLE_EQ(Dot(3, 4, 6, 8, 1), 1.0);
  // A vector too short to normalise keeps its length.
  EXPECT_DOUBLE_EQ(Dot(0.0005, 0, 10, 0, 1), 0.0005);
  // Clockwise turns from east around the origin: 0, 90, 180, 270 degrees.
  EXPECT_NEAR(TurnKey(1, 0, 5, 0, 0, 0, 1), -1.0, 1e-12);
  EXPECT_NEAR(TurnKey(1, 0, 0, -5, 0, 0, 1), 0.0, 1e-12);
  EXPECT_NEAR(TurnKey(1, 0, -5, 0, 0, 0, 1), 1.0, 1e-12);
  EXPECT_NEAR(TurnKey(1, 0, 0, 5, 0, 0, 1), 2.0, 1e-12);
  EXPECT_LT(TurnKey(1, 0, 1, -0.1, 0, 0, 1), TurnKey(1, 0, 1, -1, 0, 0, 1));
  EXPECT_LT(TurnKey(1, 0, -1, 1, 0, 0, 1), TurnKey(1, 0, 1, 0.1, 0, 0, 1));
  EXPECT_NEAR(Projection(3, 4, 90, 0), 4.0, 1e-9);
  EXPECT_NEAR(Projection(3, 4, 180, 0), -3.0, 1e-9);
  EXPECT_NEAR(Projection(3, 4, 180, 1), 3.0, 1e-9);
}

} // namespace
} // namespace lumora
