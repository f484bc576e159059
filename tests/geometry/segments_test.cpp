#include "geometry/near.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(Segments, CrossingsWithEndSlack) {
  Point x{};
  const Segment east{{0, 0}, {10, 0}};
  EXPECT_EQ(IntersectSegments(east, {{10, 0}, {10, 10}}, x.x, x.y), 1); // shared end
  EXPECT_TRUE(Near(x, {10, 0}));
  EXPECT_EQ(IntersectSegments(east, {{10.002, -5}, {10.002, 5}}, x.x, x.y), -1);
  EXPECT_TRUE(Near(x, {10.002, 0}));
  EXPECT_EQ(IntersectSegments({{0, 0}, {1, 1}}, {{0, 10}, {10, 0}}, x.x, x.y), -1);
  EXPECT_TRUE(Near(x, {5, 5}));
  EXPECT_EQ(IntersectSegments(east, {{0, 1}, {10, 1}}, x.x, x.y), 0);
  EXPECT_TRUE(Near(x, {kNoPoint, kNoPoint}));
  EXPECT_EQ(IntersectSegments(east, {{5, 5}, {5, 5}}, x.x, x.y), 0);
}

TEST(Segments, PointToSegmentSignFootAndEnds) {
  const Segment east{{0, 0}, {10, 0}};
  Point f{};
  EXPECT_NEAR(PointToSegment(5, -3, east, f.x, f.y), 3.0, 1e-12); // right of the direction
  EXPECT_TRUE(Near(f, {5, 0}));
  EXPECT_NEAR(PointToSegment(10.0009, 1, east, f.x, f.y), -1.0, 1e-12);
  // Beyond an end: no distance, but the foot on the carrying line.
  EXPECT_EQ(PointToSegment(15, 2, east, f.x, f.y), kNoPoint);
  EXPECT_TRUE(Near(f, {15, 0}));
  EXPECT_EQ(PointToSegment(-0.002, 2, east, f.x, f.y), kNoPoint);
  // Too short a segment leaves the outputs alone.
  f = {77, 78};
  EXPECT_EQ(PointToSegment(1, 1, {{0, 0}, {0.0005, 0.0005}}, f.x, f.y), kNoPoint);
  EXPECT_TRUE(Near(f, {77, 78}));

  EXPECT_EQ(OffsetPoint(1, 1, 1, 5, 3, f.x, f.y), 1);
  EXPECT_TRUE(Near(f, {4, 1}));
  EXPECT_EQ(PointAlong(1, 1, 4, 5, 10, f.x, f.y), 1);
  EXPECT_TRUE(Near(f, {7, 9}));
  EXPECT_EQ(OffsetPoint(0, 0, 0.0005, 0, 2, f.x, f.y), 0);
}

TEST(Segments, DirectionsAndAngles) {
  double a = 123;
  EXPECT_EQ(DirectionDegrees(3, 3, 3, -2, a), 1);
  EXPECT_NEAR(a, -90, 1e-8);
  // Straight left is +180, also when the height difference is a negative zero.
  EXPECT_EQ(DirectionDegrees(5, 0.0, 0, -0.0, a), 1);
  EXPECT_NEAR(a, 180, 1e-8);
  a = 123;
  EXPECT_EQ(DirectionDegrees(1, 1, 1.0009, 0.9991, a), 0);
  EXPECT_EQ(a, 123);
  EXPECT_EQ(DirectionRadians(0, 0, 0, 2, a), 1);
  EXPECT_NEAR(a, 1.5707963267948966, 1e-9);

  EXPECT_EQ(AngleBetweenLines({{0, 0}, {10, 0}}, {{0, 0}, {0, 10}}, a), 1);
  EXPECT_NEAR(a, 270, 1e-8);
  EXPECT_EQ(AngleBetweenLines({{10, 0}, {0, 0}}, {{0, 0}, {0, 10}}, a), 1); // far end at X
  EXPECT_NEAR(a, 270, 1e-8);
  EXPECT_EQ(AngleBetweenLines({{2, 2}, {4, 4}}, {{-2, 0}, {-4, 0}}, a), 1);
  EXPECT_NEAR(a, 225, 1e-8);
  EXPECT_EQ(AngleBetweenLines({{0, 0}, {10, 0}}, {{0, 5}, {10, 5}}, a), 0);
}

TEST(Corners, RoundingArcFitsOrNot) {
  Point c{};
  Point ta{};
  Point tb{};
  EXPECT_EQ(RoundCorner({{0, 0}, {10, 0}}, {{0, 0}, {0, 10}}, 2, c, ta, tb), 1);
  EXPECT_TRUE(Near(c, {2, 2}) && Near(ta, {2, 0}) && Near(tb, {0, 2}));
  // Far ends first and turning the other way; segments that stop short of the corner.
  EXPECT_EQ(RoundCorner({{10, 0}, {0, 0}}, {{0, -10}, {0, 0}}, 2, c, ta, tb), 1);
  EXPECT_TRUE(Near(c, {2, -2}) && Near(ta, {2, 0}) && Near(tb, {0, -2}));
  EXPECT_EQ(RoundCorner({{3, 0}, {10, 0}}, {{0, 3}, {0, 10}}, 2, c, ta, tb), 1);
  EXPECT_TRUE(Near(ta, {2, 0}));
  // A 45 degree corner: tangent points r / tan(22.5 degrees) from the corner.
  EXPECT_EQ(RoundCorner({{0, 0}, {10, 0}}, {{0, 0}, {10, 10}}, 1, c, ta, tb), 1);
  EXPECT_TRUE(Near(ta, {2.41421356237, 0}, 1e-9) && Near(c, {2.41421356237, 1}, 1e-9));
  // Too large for either segment; parallel segments.
  EXPECT_EQ(RoundCorner({{0, 0}, {10, 0}}, {{0, 0}, {0, 3}}, 4, c, ta, tb), 0);
  EXPECT_EQ(RoundCorner({{0, 0}, {3, 0}}, {{0, 0}, {0, 10}}, 4, c, ta, tb), 0);
  EXPECT_EQ(RoundCorner({{0, 0}, {10, 0}}, {{0, 1}, {10, 1}}, 1, c, ta, tb), 0);
}

} // namespace
} // namespace lumora
