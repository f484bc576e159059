#include "geometry/near.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace lumora {
namespace {

TEST(Boxes, ExtendPointsArcsAndCircles) {
  Box b{1, 2, 3, 4};
  ResetBox(b);
  EXPECT_TRUE(Near(b, {kNoPoint, kNoPoint, -kNoPoint, -kNoPoint}));
  ExtendBox(5, -7, b);
  EXPECT_TRUE(Near(b, {5, -7, 5, -7}));
  ExtendBoxBySegment({{2, 10}, {8, -9}}, b);
  EXPECT_TRUE(Near(b, {2, -9, 8, 10}));
  const Point pts[] = {{3, 1}, {-2, 4}, {0, -6}};
  BoxOfPoints(pts, b);
  EXPECT_TRUE(Near(b, {-2, -6, 3, 4}));
  // Arcs take the extreme points of the circle they pass, and their ends.
  BoxOfArc({0, 0}, {10, 0}, {0, 10}, b);
  EXPECT_TRUE(Near(b, {0, 0, 10, 10}));
  const double c = 10 / std::sqrt(2.0);
  BoxOfArc({1, 1}, {1 + c, 1 + c}, {1 + c, 1 - c}, b);
  EXPECT_TRUE(Near(b, {-9, -9, 1 + c, 11}));
  // Ends within the tolerance of each other make a full circle.
  BoxOfArc({0, 0}, {5, 0}, {5, 0.0005}, b);
  EXPECT_TRUE(Near(b, {-5, -5, 5, 5}));
  BoxOfCircle({2, 3}, {5, 7}, b);
  EXPECT_TRUE(Near(b, {-3, -2, 7, 8}));
}

TEST(Zones, SixteenStripsLowestInTheTopBit) {
  EXPECT_EQ(ZoneMask(0, 160, 0, 160), 0xFFFF);
  EXPECT_EQ(ZoneMask(2, 3, 0, 160), 0x8000);
  EXPECT_EQ(ZoneMask(155, 158, 0, 160), 0x0001);
  EXPECT_EQ(ZoneMask(10, 10, 0, 160), 0xC000); // a strip boundary sets both strips
  EXPECT_EQ(ZoneMask(170, 180, 0, 160), 0);
  EXPECT_EQ(ZoneMask(0, 10, 50, 50), 0);
  EXPECT_EQ(ZonesOverlap(0x8000, 0x0F00, 0xC000, 0x0100), 1);
  EXPECT_EQ(ZonesOverlap(0x8000, 0x0F00, 0x4000, 0x0100), 0);
  EXPECT_EQ(ZonesOverlap(0x8000, 0x0F00, 0x8000, 0xF000), 0);
}

// The masks are stored in the records and files: the quick run must set exactly the strips
// that testing each strip's edges sets, on edges, far outside and at any magnitude.
TEST(Zones, MaskIsTheStripsWhoseEdgesMeetTheRange) {
  const auto strips = [](double lo, double hi, double start, double end) {
    if (start >= end - 1e-9) return std::uint16_t(0); // a range too narrow has no strips
    const double step = (end - start) * 0.0625;
    unsigned mask = 0;
    for (int i = 0; i < 16; ++i) {
      const double to = i == 15 ? end : start + (i + 1) * step;
      mask = (mask << 1) | ((lo <= to && hi >= start + i * step) ? 1u : 0u);
    }
    return std::uint16_t(mask);
  };
  std::mt19937 random(5);
  std::uniform_int_distribution<int> pick(0, 7);
  for (int n = 0; n < 200000; ++n) {
    const double scale = std::ldexp(1.0, std::uniform_int_distribution<int>(-20, 40)(random));
    const double start = std::uniform_real_distribution<double>(-1, 1)(random) * scale;
    const double end = start + std::uniform_real_distribution<double>(1e-6, 2)(random) * scale;
    const double step = (end - start) / 16;
    const auto value = [&] {
      const int strip = std::uniform_int_distribution<int>(-3, 19)(random);
      switch (pick(random)) {
      case 0:
        return start + strip * step; // on an edge
      case 1:
        return std::nextafter(start + strip * step, 1e300);
      case 2:
        return -std::numeric_limits<double>::infinity();
      case 3:
        return std::numeric_limits<double>::infinity();
      default:
        return start + std::uniform_real_distribution<double>(-0.2, 1.2)(random) * (end - start);
      }
    };
    const double lo = value();
    const double hi = pick(random) == 0 ? lo : value();
    ASSERT_EQ(ZoneMask(lo, hi, start, end), strips(lo, hi, start, end))
        << lo << " " << hi << " in " << start << " " << end;
  }
  EXPECT_EQ(ZoneMask(std::nan(""), 1, 0, 16), 0);
}

TEST(Zones, LargeCoordinatesKeepSixteenStripsAndBadRangesEnd) {
  // Map coordinates: a running sum of strip widths would make a seventeenth strip here.
  const double start = 2704624.3662747219;
  const double end = 2704633.3115940862;
  EXPECT_EQ(ZoneMask(start, start, start, end), 0x8000);
  EXPECT_EQ(ZoneMask(end, end, start, end), 0x0001);
  // Strips narrower than the spacing of doubles, and ranges that are not numbers.
  EXPECT_EQ(ZoneMask(0, 2e17, 1e17, 1e17 + 64), 0xFFFF);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ZoneMask(0, 1, nan, 10), 0);
  EXPECT_EQ(ZoneMask(0, 1, -INFINITY, INFINITY), 0);
}

TEST(Compare, TolerancesAndBoxes) {
  EXPECT_EQ(SameValue(1.0, 1.0009), 1);
  EXPECT_EQ(SameFloat(1.0f, 1.002f), 0);
  EXPECT_EQ(SamePoint(1, 2, 1.0, 2.0011), 0);
  EXPECT_EQ(InRange(0.9991, 5, 1), 1);
  EXPECT_EQ(InBox(10.0009, -0.0009, 0, 0, 10, 10), 1);
  EXPECT_EQ(InBox(10.0011, 5, 0, 0, 10, 10), 0);
  // Corners in reverse order read as reversed in both axes; one axis reversed holds nothing.
  EXPECT_EQ(InBox(5, 5, 10, 10, 0, 0), 1);
  EXPECT_EQ(InBox(5, 5, 0, 10, 10, 0), 0);
  // An empty box holds nothing, in either form.
  Box b;
  EXPECT_EQ(InBox(0, 0, b), 0);
  EXPECT_EQ(InBox(0, 0, b.xmin, b.ymin, b.xmax, b.ymax), 0);
  ExtendBox(1, 1, b);
  EXPECT_EQ(InBox(1, 1, b), 1);
}

TEST(Arcs, OnArcSectors) {
  const Point o{0, 0};
  EXPECT_EQ(OnArc(5, 5, o, {10, 0}, {0, 10}), 1);
  EXPECT_EQ(OnArc(-5, 5, o, {10, 0}, {0, 10}), 0);
  EXPECT_EQ(OnArc(5, -5, o, {0, 10}, {10, 0}), 1); // reversed: three quarters
  // The half circle takes the 180 degrees or more rule, with slack at its ends.
  EXPECT_EQ(OnArc(0, 3, o, {10, 0}, {-10, 0}), 1);
  EXPECT_EQ(OnArc(0, -3, o, {10, 0}, {-10, 0}), 0);
  EXPECT_EQ(OnArc(3, -0.00005, o, {10, 0}, {-10, 0}), 1);
  EXPECT_EQ(OnArc(0, -3, o, {10, 0}, {10, 0}), 1); // start = end: every point
}

TEST(Vectors, ProductsAndTurnKeys) {
  EXPECT_DOUBLE_EQ(Distance(1, 1, 4, -3, 0), 7.0);
  EXPECT_DOUBLE_EQ(Cross(0, 3, 2, 0, 1), -1.0);
  EXPECT_DOUBLE_EQ(Dot(0.0005, 0, 10, 0, 1), 0.0005); // too short to normalise
  // Clockwise turns of 0, 90, 180 and 270 degrees from east.
  EXPECT_NEAR(TurnKey(1, 0, 5, 0, 0, 0, 1), -1.0, 1e-12);
  EXPECT_NEAR(TurnKey(1, 0, -5, 0, 0, 0, 1), 1.0, 1e-12);
  EXPECT_NEAR(TurnKey(1, 0, 0, 5, 0, 0, 1), 2.0, 1e-12);
  EXPECT_LT(TurnKey(1, 0, -1, 1, 0, 0, 1), TurnKey(1, 0, 1, 0.1, 0, 0, 1));
  EXPECT_NEAR(Projection(3, 4, 180, 1), 3.0, 1e-8);
}

} // namespace
} // namespace lumora
