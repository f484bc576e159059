#include "control/event_cycle.h"
#include "protocol/texts.h"
#include "screen/messages.h"
#include "screen/screen_fixture.h"
#include "screen/text_window.h"
#include "sound/wav_length.h"

#include <gtest/gtest.h>
#include <new>

namespace lumora {
namespace {

const std::string kSounds = LUMORA_SOURCE_DIR "/data/Sounds/";

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
  // The box stands while its cue sounds, and then for the time asked.
  const double cue = WavFileSeconds(kSounds + "ERROR.WAV");
  EXPECT_EQ(f.clock.Waits(), std::vector<double>{cue + 2.0});
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

// Memory that runs out while a message is shown (telling "Memory overflow !" most of all)
// leaves no box standing and reaches the caller as the cue alone.
TEST(Messages, AMessageThatRunsOutOfMemoryLeavesOnlyItsCue) {
  ScreenFixture f;
  const std::vector<std::string> text = f.screen.mirror;
  f.clock.onWait = [](double) { throw std::bad_alloc(); };
  EXPECT_NO_THROW(ShowMessage(f.screen, kSoundError, "Memory overflow !", 2));
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  EXPECT_EQ(f.screen.mirror, text);
  ASSERT_FALSE(f.Cues().empty());
  EXPECT_EQ(f.Cues().back(), kSoundError);
}

// A message too wide for the window loses the start of the path it names, never its end, in a
// centred message and in a notice alike.
TEST(Messages, AMessageTooWideShortensItsPathFromTheLeft) {
  ScreenFixture f;
  const std::string path = "/home/" + std::string(60, 'x') + "/DRAWINGS/Plan.txt";
  const std::string shortened = "Opening of \".../DRAWINGS/Plan.txt\"-file not succeeded !";
  ShowMessage(f.screen, kSoundError, "Opening of \"" + path + "\"-file not succeeded !", 0);
  EXPECT_TRUE(f.Shown(shortened));
  std::string standing;
  f.clock.onWait = [&](double) { standing = f.Cells(3, 2, 55); };
  ShowNotice(f.screen, "Opening of \"" + path + "\"-file not succeeded !", false);
  EXPECT_EQ(standing, shortened);
  // A name without quotes is shortened likewise; one that fits is left whole.
  EXPECT_EQ(FitMessage("No " + path + " here", 40), "No .../DRAWINGS/Plan.txt here");
  EXPECT_EQ(FitMessage("File '" + path + "' is not found ! ", 60),
            "File '.../DRAWINGS/Plan.txt' is not found ! ");
  EXPECT_EQ(FitMessage("No " + path + " here", 200), "No " + path + " here");
}

// A message without a wait was once opened and closed in the same pass: never on screen where
// no sound plays. It stands as long as its cue sounds, whether or not the cue is played.
TEST(Messages, AShortMessageStaysAsLongAsItsCueSounds) {
  ScreenFixture f;
  const double cue = WavFileSeconds(kSounds + "LITTLE_ERROR.WAV");
  ASSERT_GT(cue, 0.1);
  std::vector<std::string> standing;
  f.clock.onWait = [&](double) { standing.push_back(f.Cells(25, 43, 12)); };
  ShowMessage(f.screen, kSoundSmallError, kNotInUse, 0);
  ShowMessage(f.screen, kSoundSmallError, kNotInUse, 0); // its group has sounded already
  f.player.SetFailing(true);
  f.sound.errorPlayed = false;
  ShowMessage(f.screen, kSoundSmallError, kNotInUse, 0); // no device
  EXPECT_EQ(f.clock.Waits(), (std::vector<double>{cue, cue, cue}));
  EXPECT_EQ(standing, std::vector<std::string>(3, "Not in use !"));
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
}

TEST(Messages, TheLengthOfACueComesFromItsFileHeader) {
  // 22050 samples a second, 16-bit mono: 44100 bytes a second.
  std::string wav = "RIFF....WAVEfmt ";
  const char format[] = {16, 0, 0,    0,          1, 0, 1, 0, 0x22, 0x56,
                         0,  0, 0x44, (char)0xAC, 0, 0, 2, 0, 16,   0};
  wav.append(format, sizeof format);
  wav += "data";
  const char size[] = {0x22, 0x56, 0, 0}; // 22050 bytes
  wav.append(size, sizeof size);
  EXPECT_DOUBLE_EQ(WavSeconds(wav), 0.5);
  // Broken or hostile headers give 0 or at most the longest cue; they never read past the end.
  EXPECT_EQ(WavSeconds(wav.substr(0, 30)), 0.0);
  EXPECT_EQ(WavSeconds("RIFF....WAVEdata\xff\xff\xff\xff"), 0.0); // data before any format
  std::string huge = wav;
  huge.replace(huge.size() - 4, 4, "\xff\xff\xff\x7f");
  EXPECT_EQ(WavSeconds(huge), 10.0);
  EXPECT_EQ(WavSeconds("not a wave file at all"), 0.0);
  EXPECT_EQ(WavFileSeconds(kSounds + "NO_SUCH.WAV"), 0.0);
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

  // An expose repaints every window as an empty box; a waiting notice writes its text again.
  ASSERT_EQ(ShowNotice(f.screen, "Point table full !", true), kStillRunning);
  HandleInput(f.app, {ExposeInput{f.kWidth, f.kHeight}, {}});
  EXPECT_EQ(f.Cells(3, 2, 20), "Point table full !  ");
  EXPECT_EQ(f.Ink(3, 2), kRed);
  EXPECT_EQ(AcknowledgeNotice(f.screen, 'q'), 0);

  // With no room for its box a notice does not wait for a key that could not close it.
  for (int i = 0; i < kMaxWindows; ++i) ASSERT_TRUE(OpenWindow(f.screen, 10, 10, 1, 5));
  EXPECT_EQ(ShowNotice(f.screen, "Memory overflow !", true), 0);
  EXPECT_FALSE(NoticeWaiting(f.screen));
}

} // namespace
} // namespace lumora
