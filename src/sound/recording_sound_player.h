// A sound player that plays nothing and remembers what it was asked to play: the player of the
// unit tests and of the event files.
#pragma once

#include "sound/sound_player.h"

#include <string>
#include <vector>

namespace lumora {

class RecordingSoundPlayer final : public SoundPlayer {
public:
  bool Play(const std::string& path) override {
    played_.push_back(path);
    return !failing_;
  }

  // Every path asked for, oldest first.
  const std::vector<std::string>& Played() const { return played_; }
  void Clear() { played_.clear(); }

  // A failing player still records, but answers false like a device that has gone away.
  void SetFailing(bool failing) { failing_ = failing; }

private:
  std::vector<std::string> played_;
  bool failing_ = false;
};

} // namespace lumora
