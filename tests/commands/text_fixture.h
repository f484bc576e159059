// The program started headless on the shipped setup with its own command table; keys go
// through the real translation and dispatcher.
#pragma once

#include "commands/text_variables.h"
#include "screen/text_screen.h"
#include "sound/recording_sound_player.h"
#include "support/started_app.h"

#include <gtest/gtest.h>
#include <string>

namespace lumora {

struct TextFixture : StartedApp {
  void Type(std::string_view text) {
    for (char c : text) Key(static_cast<unsigned char>(c));
  }
  // Empties the entry, types the answer and accepts it.
  void Answer(std::string_view text) {
    Key(kCodeSnapPoint);
    Type(text);
    Key(kCodeEnter);
  }

  std::string Prompt() const { return std::string(MirrorRow(app.screen, 1)); }
};

} // namespace lumora
