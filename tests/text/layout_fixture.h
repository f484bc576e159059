// A font with round metrics and text elements built on the stack, for the layout tests.
#pragma once

#include "model/elements.h"
#include "text/font.h"
#include "text/recording_sink.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lumora {

// HEIGHT 10, WIDTH 5; CHAR_SPACE 1, ROW_SPACE 0.5, LOWER_PORTION 0.2 once normalised.
inline Fonts RoundFont() {
  Fonts fonts;
  RecordingSink sink;
  EXPECT_TRUE(ParseFont("#HEIGHT: 10\n#WIDTH: 5\n#CHAR_SPACE: 5\n#ROW_SPACE: 5\n"
                        "#LOWER_PORTION: 2\n#CHARACTERS:\n\"A\" 0 0 0 5 10 1\n",
                        fonts.slots[0], sink));
  fonts.count = 1;
  return fonts;
}

// A text of height 2 mm (code 20) and width ratio 1 (code 6) at paper unit 1: h = 2, r = 1.
struct TestText {
  TextElement t;
  std::vector<Point> points;
  std::string text;

  TestText(std::string s, std::vector<Point> pts, int positioning, int mitta = 0)
      : points(std::move(pts)), text(std::move(s)) {
    t.SetHeight(20);
    t.SetWidthRatio(6);
    t.SetPositioning(std::uint32_t(positioning));
    t.SetMitta(std::uint32_t(mitta));
    t.SetColour(3);
    t.SetWidth(5);
    t.SetPointCount(std::uint32_t(points.size()));
    t.points = points.data();
    t.text = text.data();
  }
};

} // namespace lumora
