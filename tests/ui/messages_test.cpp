#include "ui/messages.h"
#include "ui/screen_fixture.h"
#include "ui/text_window.h"
#include "ui/write_text.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr TextPair kNotInUse{"Not in use !"_l1, "Ei toimintaa !"_l1};

TEST(Messages, AMessageIsCentredSoundsWaitsAndCloses) {
  ScreenFixture f;
  const std::vector<std::string> text = f.screen.mirror;
  const std::vector<Rgb> pixels = f.canvas.Pixels();
  ShowMessage(f.screen, kSoundError, "^Could not^ read !", 2);
  // 16 visible letters: a box of 18 columns at row 50 / 2, column 100 / 2 - 9.
  ASSERT_EQ(f.canvas.glyphs.size(), 2u);
  EXPECT_EQ(f.canvas.glyphs[0].x, (41 - 1) * kCellWidth + 1);
  EXPECT_EQ(f.canvas.glyphs[0].text, "Could not");
  EXPECT_EQ(f.canvas.glyphs[0].colour, kWhite); // the text starts highlighted, then switches
  EXPECT_EQ(f.canvas.glyphs[1].colour, kRed);
  EXPECT_EQ(f.clock.Waits(), std::vector<double>{2.0});
  EXPECT_EQ(f.Cues(), std::vector<int>{kSoundError});
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  EXPECT_EQ(f.screen.mirror, text);
  EXPECT_TRUE(f.canvas.Pixels() == pixels);

  // No wait; the language chooses the text.
  f.canvas.glyphs.clear();
  f.language = Language::kFinnish;
  ShowMessage(f.screen, kSoundSmallError, kNotInUse, 0);
  ASSERT_EQ(f.canvas.glyphs.size(), 1u);
  EXPECT_EQ(f.canvas.glyphs[0].text, "Ei toimintaa !");
  EXPECT_EQ(f.canvas.glyphs[0].colour, kRed);
  EXPECT_EQ(f.clock.Waits().size(), 1u);

  // A message wider than the window starts at its left edge.
  f.canvas.glyphs.clear();
  ShowMessage(f.screen, kSoundSmallError, std::string(150, 'w'), 0);
  ASSERT_EQ(f.canvas.glyphs.size(), 1u);
  EXPECT_EQ(f.canvas.glyphs[0].x, 1);
  EXPECT_EQ(f.canvas.glyphs[0].text.size(), 100u);
}

TEST(Messages, ANoticeWaitsForAKeyOrForTwoSeconds) {
  ScreenFixture f;
  EXPECT_EQ(ShowNotice(f.screen, "Point table full !", true), kStillRunning);
  EXPECT_EQ(f.Cells(3, 2, 20), "Point table full !  ");
  EXPECT_TRUE(NoticeWaiting(f.screen));
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

TEST(Messages, BeforeTheWindowExistsMessagesGoToTheConsole) {
  ScreenFixture f;
  f.screen.consoleOutput = true;
  ShowMessage(f.screen, kSoundError, "^Setup^ missing", 10);
  EXPECT_EQ(ShowNotice(f.screen, "Tiedostoa ei löydy"_l1, true), 0);
  EXPECT_EQ(f.console.str(), "Setup missing\nTiedostoa ei löydy\n");
  EXPECT_EQ(f.clock.Waits(), std::vector<double>{10.0});
  EXPECT_TRUE(f.canvas.glyphs.empty());
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
}

} // namespace
} // namespace lumora
