#include "screen/screen_fixture.h"
#include "screen/text_window.h"
#include "screen/write_text.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(TextWindow, ClosingGivesBackPixelsTextAndCursorExactly) {
  ScreenFixture f;
  // Something to cover: a prompt and rows of text in several colours.
  WriteText(f.screen, 1, 2, 40, "Adding line: ^GIVE POINT ! ", kStyleNormal);
  for (int r = 3; r < 20; ++r) WriteText(f.screen, r, 1, 100, std::string(100, 'a' + r), r % 8);
  const std::vector<std::uint8_t> pixels = f.Pixels();
  const std::vector<std::string> text = f.screen.mirror;

  ASSERT_TRUE(OpenWindow(f.screen, 5, 10, 6, 30));
  EXPECT_FALSE(f.cursorShown);
  WriteText(f.screen, 6, 11, 20, "first window", kStyleNormal);
  ASSERT_TRUE(OpenWindow(f.screen, 8, 1, 3, 100)); // reaching past the window's edges
  WriteText(f.screen, 9, 2, 20, "second", kStyleNormal);
  EXPECT_EQ(f.Cells(8, 10, 5), "     ");
  EXPECT_EQ(f.Cells(9, 1, 8), " second ");

  CloseWindow(f.screen);
  EXPECT_EQ(f.Cells(6, 11, 12), "first window");
  EXPECT_EQ(f.Cells(9, 1, 10), "jjjjjjjjj ");
  EXPECT_FALSE(f.cursorShown); // still under the first window
  CloseWindow(f.screen);
  EXPECT_TRUE(f.cursorShown);
  EXPECT_TRUE(f.Pixels() == pixels);
  EXPECT_EQ(f.screen.mirror, text);
  CloseWindow(f.screen); // none open: nothing happens
  EXPECT_EQ(f.screen.mirror, text);
  EXPECT_TRUE(f.Cues().empty());
}

TEST(TextWindow, TheBoxIsFramedAroundItsCellsAndRepaintedEmpty) {
  ScreenFixture f;
  ASSERT_TRUE(OpenWindow(f.screen, 3, 2, 2, 5));
  WriteText(f.screen, 3, 2, 5, "text", kStyleNormal);
  // Cells x 10..59, y from the top 32..63; the box reaches 4 pixels further on each side.
  auto top = [](int yFromTop) { return ScreenFixture::kHeight - 1 - yFromTop; };
  EXPECT_EQ(f.canvas.Pixel(6, top(28)), kRed);   // outer frame, top left corner
  EXPECT_EQ(f.canvas.Pixel(7, top(29)), kBlack); // the gap between the frames
  EXPECT_EQ(f.canvas.Pixel(65, top(68)), kWhite);

  // After a full repaint the box is empty again; its owner rewrites the text.
  f.canvas.FillRect({0, 0, ScreenFixture::kWidth, ScreenFixture::kHeight}, kWhite);
  RedrawWindows(f.screen);
  EXPECT_EQ(f.Cells(3, 2, 5), "     ");
  EXPECT_EQ(f.Ink(3, 2), kBlack);
  EXPECT_EQ(f.canvas.Pixel(6, top(28)), kRed);

  // On a black sheet the window is white, still framed in red.
  f.canvas.SetBackground(Background::kDark);
  ASSERT_TRUE(OpenWindow(f.screen, 20, 20, 1, 3));
  EXPECT_EQ(f.canvas.Pixel(200, top(320)), kWhite);
  EXPECT_EQ(f.canvas.Pixel(186, top(316)), kRed);
}

TEST(TextWindow, ASixthWindowIsRefusedWithTheSmallErrorCue) {
  ScreenFixture f;
  for (int i = 0; i < kMaxWindows; ++i) ASSERT_TRUE(OpenWindow(f.screen, 3 + i, 3 + i, 2, 10));
  const std::vector<std::uint8_t> pixels = f.Pixels();
  EXPECT_FALSE(OpenWindow(f.screen, 20, 20, 2, 10));
  EXPECT_EQ(OpenWindowCount(f.screen), kMaxWindows);
  EXPECT_TRUE(f.Pixels() == pixels);
  EXPECT_EQ(f.Cues(), std::vector<int>{kSoundSmallError});
  CloseAllWindows(f.screen);
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  EXPECT_TRUE(f.cursorShown);
  EXPECT_FALSE(OpenWindow(f.screen, 3, 3, -1, 10));
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
}

} // namespace
} // namespace lumora
