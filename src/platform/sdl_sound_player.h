// Plays the sound cues through SDL2. The audio device is opened on the first cue and kept open;
// without a device every cue is silent.
#pragma once

#include "sound/sound_player.h"

#include <cstdint>
#include <string>

namespace lumora {

class SdlSoundPlayer final : public SoundPlayer {
public:
  SdlSoundPlayer() = default;
  ~SdlSoundPlayer() override;
  SdlSoundPlayer(const SdlSoundPlayer&) = delete;
  SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

  bool Play(const std::string& path) override;

private:
  bool OpenDevice();

  std::uint32_t device_ = 0;
  bool tried_ = false;     // the device is opened once; a failure is not retried on every key
  bool subsystem_ = false; // SDL's audio subsystem is ours to shut down
  int rate_ = 0;
  int bytesPerSecond_ = 0;
};

} // namespace lumora
