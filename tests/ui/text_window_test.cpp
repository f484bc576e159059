#include "ui/screen_fixture.h"
#include "ui/text_window.h"
#include "ui/write_text.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(TextWindow, ClosingGivesBackPixelsTextAndCursorExactly) {
  ScreenFixture f;
  // Something on the screen to cover: a prompt and text with a pattern of colours.
  WriteText(f.screen, 1, 2, 40, "Adding line: ^GIVE POINT ! ", kStyleNormal);
  for (int r = 3; r < 20; ++r) WriteText(f.screen, r, 1, 100, std::string(100, 'a' + r), r % 8);
  const std::vector<Rgb> pixels = f.canvas.Pixels();
  const std::vector<std::string> text = f.screen.mirror;

  ASSERT_TRUE(OpenWindow(f.screen, 5, 10, 6, 30));
  EXPECT_FALSE(f.cursorShown);
  WriteText(f.screen, 6, 11, 20, "first window", kStyleNormal);
  ASSERT_TRUE(OpenWindow(f.screen, 8, 1, 3, 100)); // reaching past the window's left edge
  WriteText(f.screen, 9, 2, 20, "second", kStyleNormal);
  EXPECT_EQ(f.Cells(8, 10, 5), "     ");
  EXPECT_EQ(f.Cells(9, 1, 8), " second ");

  CloseWindow(f.screen);
  EXPECT_EQ(f.Cells(6, 11, 12), "first window");
  EXPECT_EQ(f.Cells(9, 1, 10), "jjjjjjjjj ");
  EXPECT_FALSE(f.cursorShown); // still under the first window
  CloseWindow(f.screen);
  EXPECT_TRUE(f.cursorShown);
  EXPECT_TRUE(f.canvas.Pixels() == pixels);
  EXPECT_EQ(f.screen.mirror, text);
  CloseWindow(f.screen); // none open: nothing happens
  EXPECT_EQ(f.screen.mirror, text);
  EXPECT_TRUE(f.Cues().empty());
}

TEST(TextWindow, TheBoxIsFilledAndFramedAroundItsCells) {
  ScreenFixture f;
  ASSERT_TRUE(OpenWindow(f.screen, 3, 2, 2, 5));
  // Cells x 10..59, y from the top 32..63; the box reaches 4 pixels further on each side.
  auto top = [](int yFromTop) { return ScreenFixture::kHeight - 1 - yFromTop; };
  EXPECT_EQ(f.canvas.Pixel(6, top(28)), kRed);   // outer frame, top left corner
  EXPECT_EQ(f.canvas.Pixel(7, top(29)), kBlack); // the gap between the frames
  EXPECT_EQ(f.canvas.Pixel(8, top(30)), kRed);   // inner frame
  EXPECT_EQ(f.canvas.Pixel(9, top(31)), kBlack); // the fill
  EXPECT_EQ(f.canvas.Pixel(64, top(68)), kRed);  // outer frame, bottom right corner
  EXPECT_EQ(f.canvas.Pixel(65, top(68)), kWhite);
  EXPECT_EQ(f.canvas.Pixel(5, top(40)), kWhite);

  // On a black sheet the window is white, still framed in red.
  f.canvas.SetBackground(Background::kDark);
  ASSERT_TRUE(OpenWindow(f.screen, 20, 20, 1, 3));
  EXPECT_EQ(f.canvas.Pixel(200, top(320)), kWhite);
}

TEST(TextWindow, ASixthWindowOrAFailedSaveIsRefused) {
  ScreenFixture f;
  for (int i = 0; i < kMaxWindows; ++i) ASSERT_TRUE(OpenWindow(f.screen, 3 + i, 3 + i, 2, 10));
  const std::vector<Rgb> pixels = f.canvas.Pixels();
  EXPECT_FALSE(OpenWindow(f.screen, 20, 20, 2, 10));
  EXPECT_EQ(OpenWindowCount(f.screen), kMaxWindows);
  EXPECT_TRUE(f.canvas.Pixels() == pixels);
  EXPECT_EQ(f.Cues(), std::vector<int>{kSoundSmallError});
  CloseAllWindows(f.screen);
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  EXPECT_TRUE(f.cursorShown);

  ClearSoundGroups(f.sound);
  f.canvas.failReads = true;
  EXPECT_FALSE(OpenWindow(f.screen, 3, 3, 2, 10));
  EXPECT_FALSE(OpenWindow(f.screen, 3, 3, -1, 10));
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  EXPECT_TRUE(f.cursorShown);
  EXPECT_EQ(f.Cues(), (std::vector<int>{kSoundSmallError, kSoundSmallError}));
}

TEST(TextWindow, RedrawLeavesEveryOpenBoxEmpty) {
  ScreenFixture f;
  ASSERT_TRUE(OpenWindow(f.screen, 3, 2, 2, 20));
  WriteText(f.screen, 3, 2, 20, "first", kStyleNormal);
  ASSERT_TRUE(OpenWindow(f.screen, 10, 30, 1, 20));
  WriteText(f.screen, 10, 30, 20, "second", kStyleNormal);
  f.canvas.FillRect({0, 0, ScreenFixture::kWidth, ScreenFixture::kHeight - 32}, kWhite);
  RedrawWindows(f.screen);
  EXPECT_EQ(f.Cells(3, 2, 20), std::string(20, ' '));
  EXPECT_EQ(f.Cells(10, 30, 20), std::string(20, ' '));
  EXPECT_EQ(f.canvas.Pixel(25, ScreenFixture::kHeight - 40), kBlack);
  EXPECT_EQ(OpenWindowCount(f.screen), 2);
}

} // namespace
} // namespace lumora
