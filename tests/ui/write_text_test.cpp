#include "ui/screen_fixture.h"
#include "ui/write_text.h"

#include <gtest/gtest.h>
#include <string>

namespace lumora {
namespace {

// The pieces drawn by the last WriteText, as text and colour.
std::vector<std::pair<std::string, Rgb>> Pieces(const FakeCanvas& canvas) {
  std::vector<std::pair<std::string, Rgb>> out;
  for (const GlyphCall& call : canvas.glyphs) out.emplace_back(call.text, call.colour);
  return out;
}

using PieceList = std::vector<std::pair<std::string, Rgb>>;

TEST(WriteText, CaretsSwitchBetweenTheStyleAndTheHighlight) {
  ScreenFixture f;
  // Two marks in a row switch twice: back to the first style.
  WriteText(f.screen, 1, 2, 20, "ab^^cd", kStyleNormal);
  EXPECT_EQ(Pieces(f.canvas), (PieceList{{"ab", kWhite}, {"cd", kWhite}}));
  EXPECT_EQ(f.Cells(1, 1, 8), " abcd   ");

  // A title and a request: the request in red.
  f.canvas.glyphs.clear();
  WriteText(f.screen, 1, 2, 40, "Adding line: ^SELECT TYPE OF LINE ! ", kStyleNormal);
  EXPECT_EQ(Pieces(f.canvas),
            (PieceList{{"Adding line: ", kWhite}, {"SELECT TYPE OF LINE ! ", kRed}}));
  EXPECT_EQ(f.Cells(1, 2, 35), "Adding line: SELECT TYPE OF LINE ! ");

  // A text that starts with a mark is highlighted up to the next one.
  f.canvas.glyphs.clear();
  WriteText(f.screen, 5, 10, 30, "^NOTICE:^ Please", kStyleNormal);
  EXPECT_EQ(Pieces(f.canvas), (PieceList{{"NOTICE:", kRed}, {" Please", kWhite}}));
  EXPECT_EQ(f.Cells(5, 10, 15), "NOTICE: Please ");

  // A dimmed text comes back dimmed after a highlighted word; other styles do not switch.
  f.canvas.glyphs.clear();
  WriteText(f.screen, 2, 2, 30, "dim ^red^ dim", kStyleDimmed);
  WriteText(f.screen, 3, 2, 30, "blue^still", 2);
  EXPECT_EQ(
      Pieces(f.canvas),
      (PieceList{
          {"dim ", kGrey}, {"red", kRed}, {" dim", kGrey}, {"blue", kBlue}, {"still", kBlue}}));
}

TEST(WriteText, TextsAreCutAtTheFieldAndAt500Bytes) {
  ScreenFixture f;
  WriteText(f.screen, 4, 1, 30, "an old and rather long text", kStyleNormal);
  // The field is cleared over its whole width, and the text cut at its end.
  WriteText(f.screen, 4, 1, 8, "new^ text here", kStyleNormal);
  EXPECT_EQ(f.Cells(4, 1, 30), "new textnd rather long text   ");
  // A field at the right edge is cut by the grid, not by wrapping.
  WriteText(f.screen, 6, 98, 10, "abcdef", kStyleNormal);
  EXPECT_EQ(f.Cells(6, 96, 5), "  abc");
  EXPECT_EQ(MirrorRow(f.screen, 7), std::string(100, ' '));

  // Only the first 500 bytes count: 498 marks leave two letters, in the first style.
  f.canvas.glyphs.clear();
  WriteText(f.screen, 8, 1, 20, std::string(498, '^') + "abcdef", kStyleNormal);
  EXPECT_EQ(f.Cells(8, 1, 4), "ab  ");
  ASSERT_EQ(f.canvas.glyphs.size(), 1u);
  EXPECT_EQ(f.canvas.glyphs[0].colour, kWhite);
  // A zero byte ends the text.
  WriteText(f.screen, 9, 1, 10, std::string("ab\0cd", 5), kStyleNormal);
  EXPECT_EQ(f.Cells(9, 1, 5), "ab   ");
  EXPECT_EQ(VisibleLength(std::string(600, 'x')), 500);
  EXPECT_EQ(VisibleLength("^Not^ in use !"), 12);

  // Fields far off the grid or with absurd widths change nothing and do not fail.
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
  ASSERT_EQ(f.canvas.glyphs.size(), 3u);
  EXPECT_EQ(f.canvas.glyphs[0].colour, kRed);
  EXPECT_EQ(f.canvas.glyphs[1].colour, kWhite); // the foreground colour of the window fill
  EXPECT_EQ(f.canvas.glyphs[2].colour, kWhite);
  // The line runs under the whole field (columns 3..14), one pixel above the cell's bottom.
  const int underline = ScreenFixture::kHeight - 10 * kCellHeight + 1;
  EXPECT_EQ(f.canvas.Pixel(20, underline), kRed);
  EXPECT_EQ(f.canvas.Pixel(139, underline), kRed);
  EXPECT_EQ(f.canvas.Pixel(140, underline), kWhite);     // the sheet beyond the field
  EXPECT_EQ(f.canvas.Pixel(139, underline + 1), kBlack); // the cleared field
}

TEST(WriteText, BeforeTheWindowExistsTextsGoToTheConsole) {
  ScreenFixture f;
  std::ostringstream log;
  f.screen.log = &log;
  f.screen.consoleOutput = true;
  WriteText(f.screen, 1, 2, 10, "Lopetetaanko ^ä^ ?"_l1, kStyleNormal);
  WriteText(f.screen, 3, 2, 3, "whole line, not cut", kStyleNormal);
  EXPECT_EQ(f.console.str(), "Lopetetaanko ä ?\nwhole line, not cut\n");
  EXPECT_EQ(log.str(), "Lopetetaanko \xE4 ?\nwhole line, not cut\n");
  EXPECT_TRUE(f.canvas.glyphs.empty());
  EXPECT_EQ(MirrorRow(f.screen, 1), std::string(100, ' '));
}

} // namespace
} // namespace lumora
