#include "geometry/primitives.h"

#include <cmath>
#include <gtest/gtest.h>

namespace lumora {
namespace {

void ExpectPoint(const Point& p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
}

TEST(Arcs, PointToArc) {
  const Point o{0, 0};
  const Point s{10, 0};
  const Point e{0, 10};
  double nx = 0;
  double ny = 0;
  // The centre itself: minus the radius, and the start point.
  EXPECT_NEAR(PointToArc(0, 0, o, s, e, nx, ny), -10, 1e-12);
  EXPECT_EQ(nx, 10);
  EXPECT_EQ(ny, 0);
  EXPECT_NEAR(PointToArc(20, 20, o, s, e, nx, ny), std::sqrt(800.0) - 10, 1e-9);
  EXPECT_NEAR(nx, std::sqrt(50.0), 1e-9);
  EXPECT_NEAR(PointToArc(3, 4, o, s, e, nx, ny), -5, 1e-12);
  EXPECT_NEAR(ny, 8, 1e-12);
  // Off the arc's sector, unless the arc is a full circle.
  EXPECT_EQ(PointToArc(-3, -4, o, s, e, nx, ny), kNoPoint);
  EXPECT_NEAR(PointToArc(-3, -4, o, s, s, nx, ny), -5, 1e-12);
  EXPECT_NEAR(nx, -6, 1e-12);
}

TEST(Arcs, SegmentCrossings) {
  const Point o{0, 0};
  const Point full{5, 0};
  Point q1{};
  Point q2{};
  EXPECT_EQ(IntersectSegmentArc({{-10, 0}, {10, 0}}, o, full, full, q1, q2), 2);
  ExpectPoint(q1, -5, 0);
  ExpectPoint(q2, 5, 0);
  // A tangent counts once, also when it passes a hair outside.
  EXPECT_EQ(IntersectSegmentArc({{-10, 5}, {10, 5}}, o, full, full, q1, q2), 1);
  ExpectPoint(q1, 0, 5);
  EXPECT_EQ(IntersectSegmentArc({{-10, 5.0005}, {10, 5.0005}}, o, full, full, q1, q2), 1);
  ExpectPoint(q1, 0, 5.0005);
  EXPECT_EQ(IntersectSegmentArc({{-10, 6}, {10, 6}}, o, full, full, q1, q2), 0);
  ExpectPoint(q1, kNoPoint, kNoPoint);
  ExpectPoint(q2, kNoPoint, kNoPoint);
  // Only the second point counts: it moves to the first place.
  EXPECT_EQ(IntersectSegmentArc({{0, -10}, {0, 10}}, o, {5, 0}, {-5, 0}, q1, q2), 1);
  ExpectPoint(q1, 0, 5);
  EXPECT_EQ(IntersectSegmentArc({{0, 0}, {10, 0}}, o, full, full, q1, q2), 1);
  ExpectPoint(q1, 5, 0);
  // Ending 0.0005 short of the circle is still a crossing; 0.002 short is not.
  EXPECT_EQ(IntersectSegmentArc({{0, 0}, {4.9995, 0}}, o, full, full, q1, q2), 1);
  EXPECT_EQ(IntersectSegmentArc({{0, 0}, {4.998, 0}}, o, full, full, q1, q2), 0);
  EXPECT_EQ(IntersectSegmentArc({{1, 1}, {1.0005, 1}}, o, full, full, q1, q2), 0);
}

TEST(Arcs, ArcCrossings) {
  const Point o1{0, 0};
  const Point o2{8, 0};
  Point q1{};
  Point q2{};
  EXPECT_EQ(IntersectArcs(o1, {5, 0}, {5, 0}, o2, {13, 0}, {13, 0}, q1, q2), 2);
  ExpectPoint(q1, 4, 3);
  ExpectPoint(q2, 4, -3);
  // Upper half of the first circle keeps the upper point, the lower half the lower one.
  EXPECT_EQ(IntersectArcs(o1, {5, 0}, {-5, 0}, o2, {13, 0}, {13, 0}, q1, q2), 1);
  ExpectPoint(q1, 4, 3);
  EXPECT_EQ(IntersectArcs(o1, {-5, 0}, {5, 0}, o2, {13, 0}, {13, 0}, q1, q2), 1);
  ExpectPoint(q1, 4, -3);
  EXPECT_EQ(IntersectArcs(o1, {-5, 0}, {5, 0}, o2, {13, 0}, {3, 0}, q1, q2), 0);
  // Touching circles meet once; concentric and distant ones not at all.
  EXPECT_EQ(IntersectArcs(o1, {5, 0}, {5, 0}, {10, 0}, {15, 0}, {15, 0}, q1, q2), 1);
  ExpectPoint(q1, 5, 0);
  EXPECT_EQ(IntersectArcs(o1, {5, 0}, {5, 0}, {0.0005, 0}, {3, 0}, {3, 0}, q1, q2), 0);
  ExpectPoint(q1, kNoPoint, kNoPoint);
  EXPECT_EQ(IntersectArcs(o1, {5, 0}, {5, 0}, {20, 0}, {25, 0}, {25, 0}, q1, q2), 0);
  EXPECT_EQ(IntersectArcs(o1, {5, 0}, {5, 0}, {1, 0}, {2, 0}, {2, 0}, q1, q2), 0); // inside
}

TEST(Arcs, ArcThroughThreePoints) {
  Point o{};
  Point s{};
  Point e{};
  EXPECT_EQ(ArcThroughPoints({10, 0}, {0, 10}, {-10, 0}, o, s, e), 1);
  ExpectPoint(o, 0, 0);
  ExpectPoint(s, 10, 0);
  ExpectPoint(e, -10, 0);
  // Given clockwise, the arc runs from the last point to the first.
  EXPECT_EQ(ArcThroughPoints({10, 0}, {0, -10}, {-10, 0}, o, s, e), 1);
  ExpectPoint(o, 0, 0);
  ExpectPoint(s, -10, 0);
  ExpectPoint(e, 10, 0);
  EXPECT_EQ(ArcThroughPoints({6, 3}, {1, 8}, {-3, 0}, o, s, e), 1);
  ExpectPoint(o, 1, 3);
  EXPECT_EQ(ArcThroughPoints({0, 0}, {1, 1}, {3, 3}, o, s, e), 0);
  EXPECT_EQ(ArcThroughPoints({0, 0}, {0, 0}, {3, 1}, o, s, e), 0);
}

} // namespace
} // namespace lumora
