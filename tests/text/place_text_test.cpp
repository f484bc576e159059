#include "model/store_fixture.h"
#include "text/place_text.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace lumora {
namespace {

TextElement MakeText(std::uint32_t mitta, double angle, std::uint32_t positioning) {
  TextElement t;
  t.SetMitta(mitta);
  t.SetAngle(angle);
  t.SetPositioning(positioning);
  t.SetHeight(100);
  return t;
}

TEST(PlaceText, MeasuresStayReadableFromLeftToRight) {
  const Transform identity;
  std::vector<Point> points{{0, 0}};
  for (auto [angle, turn, expected] : {std::tuple{170.0, 0.0, -10.0},
                                       {-95.0, 0.0, 85.0},
                                       {100.0, 0.0, 100.0},
                                       {0.0, 270.0, 90.0}}) {
    TextElement t = MakeText(1, angle, 1);
    PlaceText(t, points, nullptr, identity, 1, 1, turn);
    EXPECT_NEAR(t.angle(), expected, 1e-3) << angle;
  }
  TextElement huge = MakeText(1, 3e38, 1); // no endless stepping by half turns
  PlaceText(huge, points, nullptr, identity, 1, 1, 0);
  EXPECT_GE(huge.angle(), -80);
  EXPECT_LE(huge.angle(), 100);
  TextElement plain = MakeText(0, 170, 1);
  PlaceText(plain, points, nullptr, identity, 1, 1, 0);
  EXPECT_FLOAT_EQ(plain.angle(), 170); // plain texts may read upside down
}

TEST(PlaceText, MirrorsMovePositioningAndSwapAngleMeasureSides) {
  std::vector<Point> points{{0, 0}};
  Transform mirrorY;
  MakeTransform(mirrorY, 0, 0, 0, 0, 1, -1, 0);
  for (auto [way, expected] : {std::pair{1u, 7u}, {8u, 2u}, {5u, 5u}, {12u, 12u}}) {
    TextElement t = MakeText(0, 30, way);
    PlaceText(t, points, nullptr, mirrorY, 1, -1, 0);
    EXPECT_EQ(t.positioning(), expected);
    EXPECT_FLOAT_EQ(t.angle(), -30);
  }
  std::vector<Point> sides{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2}};
  TextElement angleMeasure = MakeText(2, 0, 5);
  PlaceText(angleMeasure, sides, nullptr, mirrorY, 1, -1, 0);
  EXPECT_EQ(sides[1].y, -1); // was the left side's first point (0, 1)
  EXPECT_EQ(sides[3].x, 1);  // was the right side's first point (1, 0)
}

TEST(PlaceText, MeasureValuesScaleWithEqualFactors) {
  std::vector<Point> points{{0, 0}, {0, 0}, {10, 0}};
  Transform doubled;
  MakeTransform(doubled, 0, 0, 0, 0, 2, 2, 0);
  for (auto [before, after] :
       {std::pair{"a 12.5 mm", "a 25 mm"},
        {"-0.0005", "-0.001"},
        {"approx. 25", "approx. 50"}, // a point or sign without digits is no number
        {"a - b = 3", "a - b = 6"},
        {"- .", "- ."}}) {
    std::vector<Point> copy = points;
    TextElement t = MakeText(1, 0, 1);
    std::string value = before;
    PlaceText(t, copy, &value, doubled, 2, 2, 0);
    EXPECT_EQ(value, after);
    EXPECT_EQ(t.height(), 200u);
  }
}

TEST(ClampTextHeight, FitsTheNineBitField) {
  EXPECT_EQ(ClampTextHeight(510.999), 511u);
  EXPECT_EQ(ClampTextHeight(510.99), 510u);
  EXPECT_EQ(ClampTextHeight(1e300), 511u);
  EXPECT_EQ(ClampTextHeight(std::nan("")), 511u);
  EXPECT_EQ(ClampTextHeight(-40), 1u);
}

TEST(ReplaceString, CountsAChangeOnlyWhenTheTextDiffers) {
  Drawing drawing;
  test::CountingAllocator allocator;
  test::RecordingEnvironment env;
  TextElement t;
  ASSERT_EQ(ReplaceString(drawing, allocator, env, t, "12.5"), 1);
  EXPECT_STREQ(t.text, "12.5");
  EXPECT_EQ(ReplaceString(drawing, allocator, env, t, "12.5"), 1);
  EXPECT_EQ(drawing.changes, 1u);
  allocator.failAt = allocator.calls + 1;
  EXPECT_EQ(ReplaceString(drawing, allocator, env, t, "25"), 0);
  EXPECT_STREQ(t.text, "12.5"); // the old string is kept, and nothing counts as changed
  EXPECT_EQ(drawing.changes, 1u);
  EXPECT_EQ(env.errors, std::vector<std::string>{"Memory overflow !"});
  allocator.Free(t.text);
}

} // namespace
} // namespace lumora
