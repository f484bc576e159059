#include "text/recording_pen.h"
#include "text/recording_sink.h"
#include "text/stroke_text.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

// HEIGHT 10, WIDTH 5, CHAR_SPACE 5 (so the advance is twice the width), ROW_SPACE 5.
Fonts OneFont() {
  Fonts fonts;
  RecordingSink sink;
  EXPECT_TRUE(ParseFont("#HEIGHT: 10\n#WIDTH: 5\n#CHAR_SPACE: 5\n#ROW_SPACE: 5\n#CHARACTERS:\n"
                        "\"A\" 0 0 0 5 10 1\n\"B\" 0 0 0 0 10 1\n\"D\" 0 0 0 5 0 1\n",
                        fonts.slots[0], sink));
  fonts.count = 1;
  return fonts;
}

TEST(StrokeText, RowsCharactersAndAdvance) {
  Fonts fonts = OneFont();
  SetTextStyle(fonts, 0, 2.0, 0, 1.0, 0); // h 2: factors 0.2 and 0.4, advance 4, row 3
  RecordingPen pen;
  DrawString(fonts, pen, 100, 50, "AB|D");
  const auto segs = pen.Segments();
  ASSERT_EQ(segs.size(), 3u);
  EXPECT_TRUE(Near(segs[0].first, {100, 53})); // A one row advance above the base line
  EXPECT_TRUE(Near(segs[0].second, {102, 55}));
  EXPECT_TRUE(Near(segs[1].first, {104, 53})); // B one character advance further
  EXPECT_TRUE(Near(segs[2].first, {100, 50})); // D on the base line
  EXPECT_TRUE(Near(segs[2].second, {102, 50}));

  // A character without a glyph still takes its place.
  pen.calls.clear();
  DrawString(fonts, pen, 0, 0, "?A");
  EXPECT_TRUE(Near(pen.Segments().at(0).first, {4, 0}));
}

TEST(StrokeText, SlantRotationAndUnloadedFonts) {
  Fonts fonts = OneFont();
  SetTextStyle(fonts, 0, 2.0, 90, 1.0, 0.5); // slant factor 0.1
  RecordingPen pen;
  DrawString(fonts, pen, 10, 0, "B");
  const auto segs = pen.Segments();
  ASSERT_EQ(segs.size(), 1u);
  // Unrotated the stroke runs from (0, 0) to (1, 2); turned a quarter it runs left and up.
  EXPECT_TRUE(Near(segs[0].second, {8, 1}, 1e-6));

  SetTextStyle(fonts, 3, 9.0, 0, 1.0, 0); // not loaded: the setting stays
  EXPECT_DOUBLE_EQ(fonts.current.angle, 90);
  Fonts none;
  pen.calls.clear();
  DrawString(none, pen, 0, 0, "A");
  EXPECT_TRUE(pen.calls.empty());
}

TEST(StrokeText, PlotStringStopsAtTheFirstFailure) {
  Fonts fonts = OneFont();
  SetTextStyle(fonts, 0, 1.0, 0, 1.0, 0);
  RecordingPlotter plotter;
  EXPECT_EQ(PlotString(fonts, plotter, 0, 0, "ABD"), 1);
  EXPECT_EQ(plotter.steps, 6);
  RecordingPlotter failing;
  failing.failAt = 3;
  EXPECT_EQ(PlotString(fonts, failing, 0, 0, "ABD"), 0);
  EXPECT_EQ(failing.steps, 3);
}

} // namespace
} // namespace lumora
