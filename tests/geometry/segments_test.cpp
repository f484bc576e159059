#include "geometry/primitives.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(Segments, CrossingsWithEndSlack) {
  double x = 0;
  double y = 0;
  // Meeting at a shared end point.
  EXPECT_EQ(IntersectSegments({{0, 0}, {10, 0}}, {{10, 0}, {10, 10}}, x, y), 1);
  EXPECT_NEAR(x, 10, 1e-12);
  EXPECT_NEAR(y, 0, 1e-12);
  // 0.0005 beyond the end is inside the slack; 0.002 is not, but the point is still written.
  EXPECT_EQ(IntersectSegments({{0, 0}, {10, 0}}, {{10.0005, -5}, {10.0005, 5}}, x, y), 1);
  EXPECT_EQ(IntersectSegments({{0, 0}, {10, 0}}, {{10.002, -5}, {10.002, 5}}, x, y), -1);
  EXPECT_NEAR(x, 10.002, 1e-12);
  EXPECT_EQ(IntersectSegments({{0, 0}, {10, 0}}, {{5, 0.002}, {5, 9}}, x, y), -1);
  EXPECT_EQ(IntersectSegments({{0, 0}, {10, 10}}, {{0, 10}, {10, 0}}, x, y), 1);
  EXPECT_NEAR(x, 5, 1e-12);
  EXPECT_NEAR(y, 5, 1e-12);
  EXPECT_EQ(IntersectSegments({{0, 0}, {1, 1}}, {{0, 10}, {10, 0}}, x, y), -1);
  EXPECT_NEAR(x, 5, 1e-12);
  // Parallel and overlapping lines, and a segment of no length.
  EXPECT_EQ(IntersectSegments({{0, 0}, {10, 0}}, {{0, 1}, {10, 1}}, x, y), 0);
  EXPECT_EQ(x, kNoPoint);
  EXPECT_EQ(y, kNoPoint);
  EXPECT_EQ(IntersectSegments({{0, 0}, {10, 0}}, {{5, 0}, {15, 0}}, x, y), 0);
  EXPECT_EQ(IntersectSegments({{0, 0}, {10, 0}}, {{5, 5}, {5, 5}}, x, y), 0);
}

TEST(Segments, PointToSegmentSignFootAndEnds) {
  const Segment east{{0, 0}, {10, 0}};
  double fx = 0;
  double fy = 0;
  EXPECT_NEAR(PointToSegment(5, -3, east, fx, fy), 3.0, 1e-12); // right of the direction
  EXPECT_NEAR(fx, 5, 1e-12);
  EXPECT_NEAR(fy, 0, 1e-12);
  EXPECT_NEAR(PointToSegment(5, 3, east, fx, fy), -3.0, 1e-12);
  EXPECT_NEAR(PointToSegment(10.0009, 1, east, fx, fy), -1.0, 1e-12);
  // Beyond an end: no distance, but the foot on the carrying line.
  EXPECT_EQ(PointToSegment(15, 2, east, fx, fy), kNoPoint);
  EXPECT_NEAR(fx, 15, 1e-12);
  EXPECT_NEAR(fy, 0, 1e-12);
  EXPECT_EQ(PointToSegment(-0.002, 2, east, fx, fy), kNoPoint);
  // A segment shorter than the tolerance leaves the outputs alone.
  fx = 77;
  fy = 78;
  EXPECT_EQ(PointToSegment(1, 1, {{0, 0}, {0.0005, 0.0005}}, fx, fy), kNoPoint);
  EXPECT_EQ(fx, 77);
  EXPECT_EQ(fy, 78);
}

TEST(Segments, OffsetAndAlong) {
  double x = 0;
  double y = 0;
  EXPECT_EQ(OffsetPoint(0, 0, 10, 0, 2, x, y), 1);
  EXPECT_NEAR(x, 0, 1e-12);
  EXPECT_NEAR(y, -2, 1e-12); // to the right of east is south
  EXPECT_EQ(OffsetPoint(1, 1, 1, 5, 3, x, y), 1);
  EXPECT_NEAR(x, 4, 1e-12);
  EXPECT_NEAR(y, 1, 1e-12);
  EXPECT_EQ(PointAlong(1, 1, 4, 5, 10, x, y), 1);
  EXPECT_NEAR(x, 7, 1e-12);
  EXPECT_NEAR(y, 9, 1e-12);
  x = 77;
  EXPECT_EQ(OffsetPoint(0, 0, 0.0005, 0, 2, x, y), 0);
  EXPECT_EQ(PointAlong(0, 0, 0, 0.0009, 2, x, y), 0);
  EXPECT_EQ(x, 77);
}

TEST(Segments, Directions) {
  double a = 123;
  EXPECT_EQ(DirectionDegrees(3, 3, 3, -2, a), 1);
  EXPECT_NEAR(a, -90, 1e-8);
  EXPECT_EQ(DirectionDegrees(0, 0, 5, 5, a), 1);
  EXPECT_NEAR(a, 45, 1e-8);
  // Straight left is the top of the range, also when the height difference is a negative zero.
  EXPECT_EQ(DirectionDegrees(0, 0, -5, 0, a), 1);
  EXPECT_NEAR(a, 180, 1e-8);
  EXPECT_EQ(DirectionDegrees(5, 0.0, 0, -0.0, a), 1);
  EXPECT_GT(a, 179);
  a = 123;
  EXPECT_EQ(DirectionDegrees(1, 1, 1.0009, 0.9991, a), 0);
  EXPECT_EQ(a, 123);
  EXPECT_EQ(DirectionRadians(0, 0, 0, 2, a), 1);
  EXPECT_NEAR(a, 1.5707963267948966, 1e-9);
}

TEST(Segments, AngleBetweenLines) {
  double a = 0;
  EXPECT_EQ(AngleBetweenLines({{0, 0}, {10, 0}}, {{0, 0}, {0, 10}}, a), 1);
  EXPECT_NEAR(a, 270, 1e-8);
  EXPECT_EQ(AngleBetweenLines({{0, 0}, {0, 10}}, {{0, 0}, {10, 0}}, a), 1);
  EXPECT_NEAR(a, 90, 1e-8);
  // A far end that is the crossing itself: the near end gives the direction.
  EXPECT_EQ(AngleBetweenLines({{10, 0}, {0, 0}}, {{0, 0}, {0, 10}}, a), 1);
  EXPECT_NEAR(a, 270, 1e-8);
  // Lines that cross away from the segments.
  EXPECT_EQ(AngleBetweenLines({{2, 2}, {4, 4}}, {{-2, 0}, {-4, 0}}, a), 1);
  EXPECT_NEAR(a, 225, 1e-8);
  EXPECT_EQ(AngleBetweenLines({{0, 0}, {10, 0}}, {{0, 5}, {10, 5}}, a), 0);
}

TEST(Corners, RoundingArcFitsOrNot) {
  Point c{};
  Point ta{};
  Point tb{};
  EXPECT_EQ(RoundCorner({{0, 0}, {10, 0}}, {{0, 0}, {0, 10}}, 2, c, ta, tb), 1);
  EXPECT_NEAR(c.x, 2, 1e-9);
  EXPECT_NEAR(c.y, 2, 1e-9);
  EXPECT_NEAR(ta.x, 2, 1e-9);
  EXPECT_NEAR(ta.y, 0, 1e-9);
  EXPECT_NEAR(tb.x, 0, 1e-9);
  EXPECT_NEAR(tb.y, 2, 1e-9);
  // Given far end first, turning the other way, and not reaching the corner.
  EXPECT_EQ(RoundCorner({{10, 0}, {0, 0}}, {{0, -10}, {0, 0}}, 2, c, ta, tb), 1);
  EXPECT_NEAR(c.x, 2, 1e-9);
  EXPECT_NEAR(c.y, -2, 1e-9);
  EXPECT_NEAR(tb.y, -2, 1e-9);
  EXPECT_EQ(RoundCorner({{3, 0}, {10, 0}}, {{0, 3}, {0, 10}}, 2, c, ta, tb), 1);
  EXPECT_NEAR(ta.x, 2, 1e-9);
  // A 45 degree corner: the tangent points are r / tan(22.5) from the corner.
  EXPECT_EQ(RoundCorner({{0, 0}, {10, 0}}, {{0, 0}, {10, 10}}, 1, c, ta, tb), 1);
  EXPECT_NEAR(ta.x, 2.414213562, 1e-6);
  EXPECT_NEAR(c.y, 1, 1e-9);
  // Too large for the shorter segment, and parallel segments.
  EXPECT_EQ(RoundCorner({{0, 0}, {10, 0}}, {{0, 0}, {0, 3}}, 4, c, ta, tb), 0);
  EXPECT_EQ(RoundCorner({{0, 0}, {3, 0}}, {{0, 0}, {0, 10}}, 4, c, ta, tb), 0);
  EXPECT_EQ(RoundCorner({{0, 0}, {10, 0}}, {{0, 1}, {10, 1}}, 1, c, ta, tb), 0);
}

} // namespace
} // namespace lumora
