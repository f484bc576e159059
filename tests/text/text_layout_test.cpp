#include "text/layout_fixture.h"
#include "text/text_layout.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

void ExpectOffsets(const TextBoxOffsets& o, double dx0, double dy0, double dx1, double dy1) {
  EXPECT_NEAR(o.dx0, dx0, 1e-9);
  EXPECT_NEAR(o.dy0, dy0, 1e-9);
  EXPECT_NEAR(o.dx1, dx1, 1e-9);
  EXPECT_NEAR(o.dy1, dy1, 1e-9);
}

TEST(TextLayout, DisplayStringOfVariableTexts) {
  EXPECT_EQ(DisplayString("#LENGTH#12.5"), "12.5");
  EXPECT_EQ(DisplayString("#DATE#"), "#DATE#"); // the second # ends the text
  EXPECT_EQ(DisplayString("#A#B#C"), "#A#B#C"); // a third #
  EXPECT_EQ(DisplayString("#A#|5"), "#A#|5");   // rows
  EXPECT_EQ(DisplayString(std::string(1200, 'x')).size(), kMaxDisplayLength);
}

TEST(TextLayout, BoxOffsetsOfEveryPositioningWay) {
  const Fonts fonts = RoundFont();
  // "ABC": W = (2 * 1 + 3) * 1 * 2 = 10, H = (0.2 + 1) * 2 = 2.4.
  const auto box = [&fonts](int way) { return TextBox(fonts, "ABC", 20, 6, way, 0, 1.0); };
  // Ways 1..9 run left to right along the bottom row first, then up: 1 lower left, 9 upper right.
  for (int way = 1; way <= 9; ++way) {
    const double dx = -5.0 * ((way - 1) % 3);
    const double dy = -1.2 * ((way - 1) / 3);
    SCOPED_TRACE(way);
    ExpectOffsets(box(way), dx, dy, dx + 10, dy + 2.4);
  }
  ExpectOffsets(box(0), 0, 0, 10, 2.4); // undefined ways lay out as way 1
  // Two rows, the longest of 4: W = (3 + 4) * 2, H = (0.5 + 0.2 + 2) * 2.
  ExpectOffsets(TextBox(fonts, "AB|DEFG", 20, 6, 1, 0, 1.0), 0, 0, 14, 5.4);
  // Paper unit 10 and width ratio 0.4 (code 0): h = 20, r = 0.4, one letter.
  ExpectOffsets(TextBox(fonts, "A", 20, 0, 1, 0, 10.0), 0, 0, 8, 24);
}

TEST(TextLayout, ExtentTurnsWithTheAngleAndTakesInThePoints) {
  const Fonts fonts = RoundFont();
  TestText text("ABC", {{100, 50}, {0, 0}, {300, 40}}, 1, 1);
  Box b = TextExtent(fonts, 1.0, text.t, false);
  EXPECT_NEAR(b.xmin, 100, 1e-9);
  EXPECT_NEAR(b.xmax, 110, 1e-9);
  EXPECT_NEAR(b.ymax, 52.4, 1e-9);
  text.t.SetAngle(90);
  b = TextExtent(fonts, 1.0, text.t, false);
  EXPECT_NEAR(b.xmin, 97.6, 1e-6);
  EXPECT_NEAR(b.xmax, 100, 1e-6);
  EXPECT_NEAR(b.ymax, 60, 1e-6);
  b = TextExtent(fonts, 1.0, text.t, true);
  EXPECT_NEAR(b.xmin, 0, 1e-9);
  EXPECT_NEAR(b.xmax, 300, 1e-9);
}

} // namespace
} // namespace lumora
