#include "screen/screen_fixture.h"
#include "screen/write_text.h"

#include <gtest/gtest.h>
#include <string>

namespace lumora {
namespace {

TEST(WriteText, CaretsSwitchBetweenTheStyleAndTheHighlight) {
  ScreenFixture f;
  // Two marks in a row switch twice: back to the first style.
  WriteText(f.screen, 1, 2, 20, "ab^^cd", kStyleNormal);
  EXPECT_EQ(f.Cells(1, 1, 8), " abcd   ");
  EXPECT_EQ(f.Ink(1, 4), kWhite);

  // A title and a request: the request in red.
  WriteText(f.screen, 1, 2, 40, "Adding line: ^SELECT TYPE OF LINE ! ", kStyleNormal);
  EXPECT_EQ(f.Cells(1, 2, 35), "Adding line: SELECT TYPE OF LINE ! ");
  EXPECT_EQ(f.Ink(1, 2), kWhite);
  EXPECT_EQ(f.Ink(1, 15), kRed);

  // A dimmed text comes back dimmed after a highlighted word; other styles do not switch.
  WriteText(f.screen, 2, 2, 30, "dim ^red^ dim", kStyleDimmed);
  EXPECT_EQ(f.Ink(2, 2), kGrey);
  EXPECT_EQ(f.Ink(2, 6), kRed);
  EXPECT_EQ(f.Ink(2, 10), kGrey);
  WriteText(f.screen, 3, 2, 30, "b^s", 2);
  EXPECT_EQ(f.Ink(3, 3), kBlue);
}

TEST(WriteText, TextsAreCutAtTheFieldAndAt500Bytes) {
  ScreenFixture f;
  WriteText(f.screen, 4, 1, 30, "an old and rather long text", kStyleNormal);
  // The field is cleared over its whole width, and the text cut at its end.
  WriteText(f.screen, 4, 1, 8, "new^ text here", kStyleNormal);
  EXPECT_EQ(f.Cells(4, 1, 30), "new textnd rather long text   ");
  EXPECT_EQ(f.Ink(4, 9), kWhite);
  // A field at the right edge is cut by the grid, not wrapped.
  WriteText(f.screen, 6, 98, 10, "abcdef", kStyleNormal);
  EXPECT_EQ(f.Cells(6, 96, 5), "  abc");
  EXPECT_EQ(MirrorRow(f.screen, 7), std::string(100, ' '));

  // Only the first 500 bytes count: 498 marks leave two letters, in the first style.
  WriteText(f.screen, 8, 1, 20, std::string(498, '^') + "abcdef", kStyleNormal);
  EXPECT_EQ(f.Cells(8, 1, 4), "ab  ");
  EXPECT_EQ(f.Ink(8, 1), kWhite);
  // A zero byte ends the text.
  WriteText(f.screen, 9, 1, 10, std::string("ab\0cd", 5), kStyleNormal);
  EXPECT_EQ(f.Cells(9, 1, 5), "ab   ");

  // Fields far off the grid or of absurd widths change nothing and do not fail.
  const std::vector<std::string> before = f.screen.mirror;
  WriteText(f.screen, -5, -2000000000, 2000000000, "x", kStyleNormal);
  WriteText(f.screen, 2000000000, 3, -7, "x", kStyleNormal);
  EXPECT_EQ(f.screen.mirror, before);
}

TEST(WriteText, SelectedAndMarkedFieldsAreColouredAndUnderlined) {
  ScreenFixture f;
  WriteText(f.screen, 10, 3, 12, "choice", kStyleNormal, true);
  WriteText(f.screen, 11, 3, 12, "hidden", kStyleDimmed, true);
  WriteText(f.screen, 12, 3, 12, "plain", kStyleNormal, false, true);
  EXPECT_EQ(f.Ink(10, 3), kRed);
  EXPECT_EQ(f.Ink(11, 3), kWhite); // the foreground colour of the window fill
  // The line runs under the whole field (columns 3..14), one pixel above the cell's bottom.
  const int underline = ScreenFixture::kHeight - 10 * kCellHeight + 1;
  EXPECT_EQ(f.canvas.Pixel(20, underline), kRed);
  EXPECT_EQ(f.canvas.Pixel(139, underline), kRed);
  EXPECT_EQ(f.canvas.Pixel(139, underline + 1), kBlack);               // the cleared field above it
  EXPECT_EQ(f.canvas.Pixel(140, underline), kWhite);                   // the sheet beyond the field
  EXPECT_EQ(f.canvas.Pixel(139, underline - 2 * kCellHeight), kWhite); // the marked field
}

TEST(WriteText, BeforeTheWindowExistsTextsGoToTheConsole) {
  ScreenFixture f;
  std::ostringstream log;
  f.screen.log = &log;
  f.screen.consoleOutput = true;
  const std::vector<std::uint8_t> pixels = f.Pixels();
  WriteText(f.screen, 1, 2, 10, "Lopetetaanko ^ä^ ?"_l1, kStyleNormal);
  WriteText(f.screen, 3, 2, 3, "whole line, not cut", kStyleNormal);
  EXPECT_EQ(f.console.str(), "Lopetetaanko ä ?\nwhole line, not cut\n");
  EXPECT_EQ(log.str(), "Lopetetaanko \xE4 ?\nwhole line, not cut\n");
  EXPECT_TRUE(f.Pixels() == pixels);
  EXPECT_EQ(MirrorRow(f.screen, 1), std::string(100, ' '));
}

} // namespace
} // namespace lumora
