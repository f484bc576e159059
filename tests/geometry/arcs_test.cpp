#include "geometry/near.h"

#include <cmath>
#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(Arcs, PointToArc) {
  const Point o{0, 0};
  const Point s{10, 0};
  const Point e{0, 10};
  Point n{};
  EXPECT_NEAR(PointToArc(0, 0, o, s, e, n.x, n.y), -10, 1e-12); // the centre: -r and S
  EXPECT_TRUE(Near(n, s));
  EXPECT_NEAR(PointToArc(20, 20, o, s, e, n.x, n.y), std::sqrt(800.0) - 10, 1e-9);
  EXPECT_NEAR(PointToArc(3, 4, o, s, e, n.x, n.y), -5, 1e-12);
  EXPECT_TRUE(Near(n, {6, 8}));
  EXPECT_EQ(PointToArc(-3, -4, o, s, e, n.x, n.y), kNoPoint);
  EXPECT_NEAR(PointToArc(-3, -4, o, s, s, n.x, n.y), -5, 1e-12); // full circle
}

TEST(Arcs, SegmentCrossings) {
  const Point o{0, 0};
  const Point full{5, 0};
  Point q1{};
  Point q2{};
  EXPECT_EQ(IntersectSegmentArc({{-10, 0}, {10, 0}}, o, full, full, q1, q2), 2);
  EXPECT_TRUE(Near(q1, {-5, 0}) && Near(q2, {5, 0}));
  // A tangent counts once, also a hair outside.
  EXPECT_EQ(IntersectSegmentArc({{-10, 5}, {10, 5}}, o, full, full, q1, q2), 1);
  EXPECT_TRUE(Near(q1, {0, 5}));
  EXPECT_EQ(IntersectSegmentArc({{-10, 6}, {10, 6}}, o, full, full, q1, q2), 0);
  EXPECT_TRUE(Near(q1, {kNoPoint, kNoPoint}) && Near(q2, {kNoPoint, kNoPoint}));
  // When only the second point counts it comes first.
  EXPECT_EQ(IntersectSegmentArc({{0, -10}, {0, 10}}, o, {5, 0}, {-5, 0}, q1, q2), 1);
  EXPECT_TRUE(Near(q1, {0, 5}));
  EXPECT_EQ(IntersectSegmentArc({{0, 0}, {4.9995, 0}}, o, full, full, q1, q2), 1);
  EXPECT_TRUE(Near(q1, {5, 0}));
  EXPECT_EQ(IntersectSegmentArc({{0, 0}, {4.998, 0}}, o, full, full, q1, q2), 0);
}

TEST(Arcs, ArcCrossings) {
  const Point o1{0, 0};
  const Point o2{8, 0};
  Point q1{};
  Point q2{};
  EXPECT_EQ(IntersectArcs(o1, {5, 0}, {5, 0}, o2, {13, 0}, {13, 0}, q1, q2), 2);
  EXPECT_TRUE(Near(q1, {4, 3}) && Near(q2, {4, -3}));
  EXPECT_EQ(IntersectArcs(o1, {5, 0}, {-5, 0}, o2, {13, 0}, {13, 0}, q1, q2), 1);
  EXPECT_TRUE(Near(q1, {4, 3}));
  EXPECT_EQ(IntersectArcs(o1, {-5, 0}, {5, 0}, o2, {13, 0}, {3, 0}, q1, q2), 0);
  // Touching circles meet once; concentric, distant and nested ones not at all.
  EXPECT_EQ(IntersectArcs(o1, {5, 0}, {5, 0}, {10, 0}, {15, 0}, {15, 0}, q1, q2), 1);
  EXPECT_TRUE(Near(q1, {5, 0}));
  EXPECT_EQ(IntersectArcs(o1, {5, 0}, {5, 0}, {0.0005, 0}, {3, 0}, {3, 0}, q1, q2), 0);
  EXPECT_TRUE(Near(q1, {kNoPoint, kNoPoint}));
  EXPECT_EQ(IntersectArcs(o1, {5, 0}, {5, 0}, {1, 0}, {2, 0}, {2, 0}, q1, q2), 0);
}

TEST(Arcs, ArcThroughThreePoints) {
  Point o{};
  Point s{};
  Point e{};
  EXPECT_EQ(ArcThroughPoints({10, 0}, {0, 10}, {-10, 0}, o, s, e), 1);
  EXPECT_TRUE(Near(o, {0, 0}) && Near(s, {10, 0}) && Near(e, {-10, 0}));
  // Given clockwise, the arc runs from the last point to the first.
  EXPECT_EQ(ArcThroughPoints({10, 0}, {0, -10}, {-10, 0}, o, s, e), 1);
  EXPECT_TRUE(Near(o, {0, 0}) && Near(s, {-10, 0}) && Near(e, {10, 0}));
  EXPECT_EQ(ArcThroughPoints({0, 0}, {1, 1}, {3, 3}, o, s, e), 0);
  EXPECT_EQ(ArcThroughPoints({0, 0}, {0, 0}, {3, 1}, o, s, e), 0);
}

} // namespace
} // namespace lumora
