#include "screen/information_box.h"
#include "screen/prompt_line.h"
#include "screen/screen_fixture.h"
#include "screen/text_window.h"
#include "screen/write_text.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(PromptLine, RewrittenOnlyWhenSomethingChanged) {
  ScreenFixture f;
  PromptLineInput input;
  EXPECT_TRUE(RefreshPromptLine(f.screen, input));
  EXPECT_EQ(f.Cells(1, 2, 34), "Lumora-program: SELECT FUNCTION ! ");

  // An unchanged pass leaves the row alone (a field written over it stays).
  WriteText(f.screen, 1, 2, 10, "typed text", kStyleNormal);
  EXPECT_FALSE(RefreshPromptLine(f.screen, input));
  EXPECT_EQ(f.Cells(1, 2, 10), "typed text");

  // A main function: its prompt over the message width, erasing the longer one before it.
  input.main = {1001, "Adding line: ^GIVE POINT ! ", {}};
  EXPECT_TRUE(RefreshPromptLine(f.screen, input));
  EXPECT_EQ(MirrorRow(f.screen, 1), " Adding line: GIVE POINT ! " + std::string(73, ' '));
  // Each thing the line depends on makes it new again.
  input.snapMode = 1011;
  EXPECT_TRUE(RefreshPromptLine(f.screen, input));
  EXPECT_FALSE(RefreshPromptLine(f.screen, input));
  input.cursorAngle = 45;
  EXPECT_TRUE(RefreshPromptLine(f.screen, input));
  f.language = Language::kFinnish;
  EXPECT_TRUE(RefreshPromptLine(f.screen, input));
  ForgetPromptLine(f.screen);
  EXPECT_TRUE(RefreshPromptLine(f.screen, input));
  EXPECT_FALSE(RefreshPromptLine(f.screen, input));

  // The innermost level with a prompt is written over the main one; an empty one is passed by.
  input.property = {99, "Colour: ^SELECT COLOUR ! ", {}};
  input.help = {1011, "", {}};
  EXPECT_TRUE(RefreshPromptLine(f.screen, input));
  EXPECT_EQ(f.Cells(1, 2, 25), "Colour: SELECT COLOUR !  ");

  // All levels finished: the program's own request, in the current language.
  EXPECT_TRUE(RefreshPromptLine(f.screen, PromptLineInput{}));
  EXPECT_EQ(f.Cells(1, 2, 34), "Lumora-ohjelma: VALITSE TOIMINTA !");
}

TEST(PixelToCell, CellsAreTenBySixteenPixels) {
  EXPECT_EQ(PixelToCell(0, 0), (Cell{1, 1}));
  EXPECT_EQ(PixelToCell(9, 15), (Cell{1, 1}));
  EXPECT_EQ(PixelToCell(10, 16), (Cell{2, 2}));
  EXPECT_EQ(PixelToCell(999, 799), (Cell{50, 100}));
  // Left of or above the window is outside the grid, not in its first cell.
  EXPECT_EQ(PixelToCell(-1, -1), (Cell{0, 0}));
  EXPECT_EQ(PixelToCell(-10, -17), (Cell{-1, 0}));
}

} // namespace
} // namespace lumora
