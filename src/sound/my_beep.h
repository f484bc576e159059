// Sound cues: the short sounds that mark keys, errors, notices and waiting.
//
// Within one dispatch pass each group sounds at most once, so a key that leads to several
// messages is not answered by a burst of sounds.
#pragma once

#include <array>
#include <iostream>
#include <string>
#include <string_view>

namespace lumora {

class SoundPlayer;

// Cue ids.
inline constexpr int kSoundKey = 68;         // accepted key, start of a function, a choice
inline constexpr int kSoundError = 69;       // errors that need attention
inline constexpr int kSoundNotice = 78;      // notices and questions
inline constexpr int kSoundWaiting = 87;     // a function waits for a point or a choice
inline constexpr int kSoundSmallError = 101; // small refusals such as "Not in use !"

struct SoundState {
  SoundPlayer* player = nullptr; // not owned; none plays nothing
  std::string home = ".";        // the program directory; the files lie in its Sounds/
  std::ostream* console = &std::cout;

  // Played-flags of the three groups in the current dispatch pass.
  bool keyPlayed = false;
  bool errorPlayed = false;
  bool noticePlayed = false;

  // How long each cue's file sounds, read once for the program directory named in cueHome.
  std::array<double, 5> cueSeconds{};
  std::string cueHome;
  bool cueSecondsRead = false;
};

// Plays cue `id` unless its group has already sounded in this pass. A missing file or a failing
// player is silent; an unknown id prints a console line and plays nothing.
void MyBeep(SoundState& sound, int id);

// How long cue `id` sounds: the length of its file, whether or not it is played (0 without one).
double CueSeconds(SoundState& sound, int id);

// The dispatcher calls this at the start of every pass.
void ClearSoundGroups(SoundState& sound);

// "Sounds/ERROR.WAV" for 69; empty for an unknown id.
std::string_view SoundFileOf(int id);

// The cue whose file the path names (what a recording player heard); 0 for none.
int SoundCueOfPath(std::string_view path);

} // namespace lumora
