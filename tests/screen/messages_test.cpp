#include "screen/messages.h"
#include "screen/screen_fixture.h"
#include "screen/text_window.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr TextPair kNotInUse{"Not in use !"_l1, "Ei toimintaa !"_l1};

TEST(Messages, AMessageIsCentredSoundsWaitsAndCloses) {
  ScreenFixture f;
  const std::vector<std::string> text = f.screen.mirror;
  const std::vector<std::uint8_t> pixels = f.Pixels();
  std::string standing;
  Rgb first, last;
  f.clock.onWait = [&](double) {
    standing = f.Cells(25, 41, 18);
    first = f.Ink(25, 41);
    last = f.Ink(25, 51);
  };
  ShowMessage(f.screen, kSoundError, "^Could not^ read !", 2);
  // 16 visible letters: a box of 18 columns at row 50 / 2, column 100 / 2 - 9, in the
  // highlight style that the first mark switches off.
  EXPECT_EQ(standing, "Could not read !  ");
  EXPECT_EQ(first, kWhite);
  EXPECT_EQ(last, kRed);
  EXPECT_EQ(f.clock.Waits(), std::vector<double>{2.0});
  EXPECT_EQ(f.Cues(), std::vector<int>{kSoundError});
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  EXPECT_EQ(f.screen.mirror, text);
  EXPECT_TRUE(f.Pixels() == pixels);

  // The language chooses the text; a message wider than the window starts at its left edge.
  f.language = Language::kFinnish;
  f.clock.onWait = [&](double) { standing = f.Cells(25, 1, 100); };
  ShowMessage(f.screen, kSoundSmallError, kNotInUse, 1);
  ShowMessage(f.screen, kSoundSmallError, std::string(150, 'w'), 1);
  EXPECT_EQ(standing, std::string(100, 'w'));
  EXPECT_EQ(f.screen.shownMessages, (std::vector<std::string>{"Could not read !", "Ei toimintaa !",
                                                              std::string(150, 'w')}));
}

TEST(Messages, ANoticeWaitsForAKeyOrForTwoSeconds) {
  ScreenFixture f;
  EXPECT_EQ(ShowNotice(f.screen, "Point table full !", true), kStillRunning);
  EXPECT_EQ(f.Cells(3, 2, 20), "Point table full !  ");
  EXPECT_EQ(f.Ink(3, 2), kRed);
  EXPECT_EQ(AcknowledgeNotice(f.screen, 0), kStillRunning); // a continue tick is not a key
  EXPECT_EQ(AcknowledgeNotice(f.screen, 'q'), 0);
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  EXPECT_EQ(f.Cells(3, 2, 20), std::string(20, ' '));
  EXPECT_EQ(AcknowledgeNotice(f.screen, 'q'), 0);
  EXPECT_TRUE(f.clock.Waits().empty());
  EXPECT_EQ(f.console.str(), "");

  EXPECT_EQ(ShowNotice(f.screen, "At the end should be '.drw' !", false), 0);
  EXPECT_EQ(f.console.str(), "At the end should be '.drw' !\n");
  EXPECT_EQ(f.clock.Waits(), std::vector<double>{2.0});
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  EXPECT_EQ(f.Cues(), std::vector<int>{kSoundError}); // one pass: the error group sounded once

  // With no room for its box a notice does not wait for a key that could not close it.
  for (int i = 0; i < kMaxWindows; ++i) ASSERT_TRUE(OpenWindow(f.screen, 10, 10, 1, 5));
  EXPECT_EQ(ShowNotice(f.screen, "Memory overflow !", true), 0);
  EXPECT_FALSE(NoticeWaiting(f.screen));
}

} // namespace
} // namespace lumora
