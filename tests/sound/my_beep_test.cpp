#include "sound/my_beep.h"
#include "sound/recording_sound_player.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace lumora {
namespace {

// A sound state over a program directory, with a recording player and a captured console.
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
  // Two errors in one pass (a refused step, then "Not in use !") sound once; a key click and a
  // notice in the same pass belong to other groups and sound as well.
  for (int id : {kSoundError, kSoundSmallError, kSoundKey, kSoundKey, kSoundWaiting, kSoundNotice})
    MyBeep(b.sound, id);
  EXPECT_EQ(b.Cues(), (std::vector<int>{kSoundError, kSoundKey, kSoundWaiting}));
  EXPECT_EQ(b.player.Played()[0], LUMORA_SOURCE_DIR "/data/Sounds/ERROR.WAV");

  // The next pass starts with every group free again.
  ClearSoundGroups(b.sound);
  b.player.Clear();
  MyBeep(b.sound, kSoundSmallError);
  MyBeep(b.sound, kSoundNotice);
  EXPECT_EQ(b.Cues(), (std::vector<int>{kSoundSmallError, kSoundNotice}));
  EXPECT_EQ(b.player.Played()[0], LUMORA_SOURCE_DIR "/data/Sounds/LITTLE_ERROR.WAV");
  EXPECT_EQ(b.console.str(), "");
}

TEST(MyBeep, UnknownIdPrintsItsLineAndIsSilent) {
  Beeper b;
  MyBeep(b.sound, 70);
  MyBeep(b.sound, -1);
  EXPECT_EQ(b.console.str(), "\nMyBeep(70) unknown\nMyBeep(-1) unknown");
  // Nothing played, and no group lost its turn.
  EXPECT_TRUE(b.player.Played().empty());
  for (int id : {kSoundKey, kSoundError, kSoundNotice}) MyBeep(b.sound, id);
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
  EXPECT_EQ(failing.player.Played().size(), 1u); // a failure still takes the group's turn
  EXPECT_EQ(failing.console.str(), "");
}

} // namespace
} // namespace lumora
