#include "text/layout_fixture.h"
#include "text/place_text.h"

#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

namespace lumora {
namespace {

Transform Placement(double sx, double sy, double angle) {
  Transform t;
  MakeTransform(t, 0, 0, 0, 0, sx, sy, angle);
  return t;
}

int PositioningAfter(int way, double sx, double sy) {
  TestText text("x", {{0, 0}}, way);
  PlaceText(text.t, text.points.data(), 1, nullptr, Placement(sx, sy, 0), sx, sy, 0);
  return int(text.t.positioning());
}

TEST(PlaceText, MirroringTurnsPositioningAndAngle) {
  // Ways before and after a mirror about the y axis, the x axis and both.
  for (const auto& [way, sx, sy, after] : {std::tuple{1, -1, 1, 3},
                                           {6, -1, 1, 4},
                                           {2, -1, 1, 2},
                                           {1, 1, -1, 7},
                                           {8, 1, -1, 2},
                                           {3, -1, -1, 7}})
    EXPECT_EQ(PositioningAfter(way, sx, sy), after) << way << " " << sx << " " << sy;
  TestText text("x", {{10, 0}}, 1);
  text.t.SetAngle(20);
  PlaceText(text.t, text.points.data(), 1, nullptr, Placement(-1, 1, 30.7), -1, 1, 30.7);
  EXPECT_FLOAT_EQ(text.t.angle(), 10); // -20 + 30: the rotation counts in whole degrees
  EXPECT_NEAR(text.points[0].x, -10 * std::cos(30.7 * kDegToRad), 1e-9);
}

TEST(PlaceText, HeightFollowsTheMeanScale) {
  const auto heightAfter = [](int height, double sx, double sy) {
    TestText text("x", {{0, 0}}, 1);
    text.t.SetHeight(std::uint32_t(height));
    PlaceText(text.t, text.points.data(), 1, nullptr, Placement(sx, sy, 0), sx, sy, 0);
    return int(text.t.height());
  };
  EXPECT_EQ(heightAfter(100, 2, 2), 200);
  EXPECT_EQ(heightAfter(100, -2, 1), 150);
  EXPECT_EQ(heightAfter(35, 1.0005, 1), 35); // within the tolerance of 1
  EXPECT_EQ(heightAfter(300, 2, 2), 511);
  EXPECT_EQ(heightAfter(3, 0.1, 0.1), 1);
}

TEST(PlaceText, MeasureAnglesStayBetweenMinus80And100) {
  const auto angleAfter = [](double angle, double rotation, int mitta) {
    TestText text("x", {{0, 0}}, 1, mitta);
    text.t.SetAngle(angle);
    PlaceText(text.t, text.points.data(), 1, nullptr, Placement(1, 1, rotation), 1, 1, rotation);
    return double(text.t.angle());
  };
  EXPECT_DOUBLE_EQ(angleAfter(80, 90, 1), -10);
  EXPECT_DOUBLE_EQ(angleAfter(0, -95, 2), 85);
  EXPECT_DOUBLE_EQ(angleAfter(0, -80, 1), -80);
  EXPECT_DOUBLE_EQ(angleAfter(80, 90, 0), 170); // plain texts keep their angle
  // A wild angle from a file ends in the range instead of looping.
  const double wild = angleAfter(1e30, 0, 1);
  EXPECT_TRUE(wild >= -80 && wild <= 100);
  EXPECT_DOUBLE_EQ(MeasureAngleInRange(-260), -80);
}

TEST(PlaceText, MeasureValueFollowsTheScale) {
  const auto valueAfter = [](std::string value, double sx, double sy, int mitta = 1) {
    TestText text(value, {{0, 0}, {0, 0}, {10, 0}}, 2, mitta);
    PlaceText(text.t, text.points.data(), 3, &value, Placement(sx, sy, 0), sx, sy, 0);
    return value;
  };
  EXPECT_EQ(valueAfter("L=12.5 mm", 2, 2), "L=25 mm");
  EXPECT_EQ(valueAfter("12.5", -0.5, 0.5), "6.25");
  EXPECT_EQ(valueAfter("12.5", 3, 1), "30"); // unequal: the measured span along the text
  EXPECT_EQ(valueAfter("12.5", 1, 1), "12.5");
  EXPECT_EQ(valueAfter("- mm", 2, 2), "- mm");
  EXPECT_EQ(valueAfter("45`", 2, 2, 2), "45`"); // angle measures keep their value
}

TEST(PlaceText, MirroredAngleMeasureExchangesItsSides) {
  TestText text("45`", {{5, 5}, {1, 0}, {2, 0}, {0, 1}, {0, 2}}, 5, 2);
  PlaceText(text.t, text.points.data(), 5, nullptr, Placement(-1, 1, 0), -1, 1, 0);
  EXPECT_TRUE(text.points[1].x == 0 && text.points[1].y == 1);
  EXPECT_TRUE(text.points[2].x == 0 && text.points[2].y == 2);
  EXPECT_TRUE(text.points[3].x == -1 && text.points[3].y == 0);
  EXPECT_TRUE(text.points[4].x == -2 && text.points[4].y == 0);
}

class FailingAllocator : public StoreAllocator {
public:
  void* Allocate(std::size_t) override { return nullptr; }
  void Free(void*) override {}
};

TEST(ReplaceString, CountsAChangeOnlyWhenTheTextChanges) {
  HeapAllocator heap;
  RecordingSink sink;
  TextElement t;
  std::uint32_t changes = 0;
  EXPECT_EQ(ReplaceString(t, "first", changes, heap, sink), 1);
  EXPECT_EQ(changes, 1u);
  EXPECT_EQ(ReplaceString(t, "first", changes, heap, sink), 1);
  EXPECT_EQ(changes, 1u);
  FailingAllocator failing;
  EXPECT_EQ(ReplaceString(t, "second", changes, failing, sink), 0);
  EXPECT_STREQ(t.text, "first");
  EXPECT_EQ(changes, 1u);
  EXPECT_EQ(sink.shown.at(0).second, "Memory overflow !");
  EXPECT_EQ(ReplaceString(t, "second", changes, heap, sink), 1);
  EXPECT_STREQ(t.text, "second");
  EXPECT_EQ(changes, 2u);
  heap.Free(t.text);
}

} // namespace
} // namespace lumora
