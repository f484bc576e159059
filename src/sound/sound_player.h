// The sound device as the core sees it: one WAV file at a time, played to its end.
#pragma once

#include <string>

namespace lumora {

class SoundPlayer {
public:
  virtual ~SoundPlayer() = default;

  // Plays the WAV file and returns when it has ended; false when it could not be played.
  virtual bool Play(const std::string& path) = 0;
};

} // namespace lumora
