#include "sound/my_beep.h"
#include "sound/recording_sound_player.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace lumora {
namespace {

// A sound state over the shipped program directory, with a recording player and a captured
// console.
struct Beeper {
  RecordingSoundPlayer player;
  std::ostringstream console;
  SoundState sound;

  explicit Beeper(std::string home = LUMORA_SOURCE_DIR "/data") {
    sound.player = &player;
    sound.home = std::move(home);
    sound.console = &console;
  }

  std::vector<int> Cues() const {
    std::vector<int> cues;
    for (const std::string& path : player.Played()) cues.push_back(SoundCueOfPath(path));
    return cues;
  }
};

TEST(MyBeep, EachGroupSoundsOncePerPass) {
  Beeper b;
  // Two errors of the error group in one pass: a refused step, then "Not in use !".
  MyBeep(b.sound, kSoundError);
  MyBeep(b.sound, kSoundSmallError);
  MyBeep(b.sound, kSoundError);
  // A key click and a notice in the same pass belong to other groups and both sound.
  MyBeep(b.sound, kSoundKey);
  MyBeep(b.sound, kSoundKey);
  MyBeep(b.sound, kSoundWaiting);
  MyBeep(b.sound, kSoundNotice);
  EXPECT_EQ(b.Cues(), (std::vector<int>{kSoundError, kSoundKey, kSoundWaiting}));

  // The next pass starts with every group free again.
  ClearSoundGroups(b.sound);
  b.player.Clear();
  MyBeep(b.sound, kSoundSmallError);
  MyBeep(b.sound, kSoundNotice);
  EXPECT_EQ(b.Cues(), (std::vector<int>{kSoundSmallError, kSoundNotice}));
  EXPECT_EQ(b.console.str(), "");
}

TEST(MyBeep, PlaysTheShippedFilesUnderTheProgramDirectory) {
  Beeper b(LUMORA_SOURCE_DIR "/data/");
  const std::vector<int> ids{kSoundKey, kSoundError, kSoundNotice};
  for (int id : ids) MyBeep(b.sound, id);
  ClearSoundGroups(b.sound);
  MyBeep(b.sound, kSoundSmallError);
  MyBeep(b.sound, kSoundWaiting);
  ASSERT_EQ(b.player.Played().size(), 5u);
  EXPECT_EQ(b.player.Played()[0], LUMORA_SOURCE_DIR "/data/Sounds/DIGIT.WAV");
  EXPECT_EQ(b.player.Played()[3], LUMORA_SOURCE_DIR "/data/Sounds/LITTLE_ERROR.WAV");
  EXPECT_EQ(b.Cues(), (std::vector<int>{68, 69, 78, 101, 87}));
}

TEST(MyBeep, UnknownIdPrintsItsLineAndIsSilent) {
  Beeper b;
  MyBeep(b.sound, 70);
  MyBeep(b.sound, -1);
  EXPECT_EQ(b.console.str(), "\nMyBeep(70) unknown\nMyBeep(-1) unknown");
  EXPECT_TRUE(b.player.Played().empty());
  // An unknown id takes no group's turn.
  MyBeep(b.sound, kSoundKey);
  MyBeep(b.sound, kSoundError);
  MyBeep(b.sound, kSoundNotice);
  EXPECT_EQ(b.player.Played().size(), 3u);
}

TEST(MyBeep, MissingFilesAndFailingPlayersAreSilent) {
  Beeper missing(LUMORA_TEST_TMP "/no-such-home");
  MyBeep(missing.sound, kSoundError);
  EXPECT_TRUE(missing.player.Played().empty());
  EXPECT_EQ(missing.console.str(), "");

  Beeper failing;
  failing.player.SetFailing(true);
  MyBeep(failing.sound, kSoundNotice);
  MyBeep(failing.sound, kSoundNotice);
  EXPECT_EQ(failing.player.Played().size(), 1u); // the failure still counts as the group's turn
  EXPECT_EQ(failing.console.str(), "");

  SoundState noPlayer;
  std::ostringstream console;
  noPlayer.console = &console;
  MyBeep(noPlayer, kSoundKey);
  EXPECT_EQ(console.str(), "");
}

TEST(MyBeep, CueOfPathMatchesWholeFileNamesOnly) {
  EXPECT_EQ(SoundCueOfPath("/x/Sounds/ERROR.WAV"), kSoundError);
  EXPECT_EQ(SoundCueOfPath("/x/Sounds/LITTLE_ERROR.WAV"), kSoundSmallError);
  EXPECT_EQ(SoundCueOfPath("Sounds/NOTICE.WAV"), kSoundNotice);
  EXPECT_EQ(SoundCueOfPath("/x/MySounds/ERROR.WAV"), 0);
  EXPECT_EQ(SoundCueOfPath("/x/Sounds/OTHER.WAV"), 0);
  EXPECT_EQ(SoundFileOf(kSoundWaiting), "Sounds/WAITING.WAV");
  EXPECT_EQ(SoundFileOf(70), "");
}

} // namespace
} // namespace lumora
