// The program started headless on the shipped setup with its own command table; keys go
// through the real translation and dispatcher.
#pragma once

#include "commands/text_variables.h"
#include "control/dispatch.h"
#include "control/headless_app.h"
#include "control/startup_headless.h"
#include "control/translate.h"
#include "screen/text_screen.h"
#include "sound/recording_sound_player.h"

#include <gtest/gtest.h>
#include <string>

namespace lumora {

struct TextFixture : ::testing::Test {
  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas{1000, 800};
  Control& control = app.control;

  TextFixture() {
    std::string problem;
    EXPECT_TRUE(
        StartHeadless(app, {LUMORA_SOURCE_DIR "/data", "Perus_SET", 1000, 800}, canvas, problem))
        << problem;
    app.language = Language::kEnglish;
  }

  void Key(int key) {
    app.screen.shownMessages.clear();
    TranslateInput(control, InputKind::kKey, 0, 0, key);
    DispatchInput(control);
  }
  void Type(std::string_view text) {
    for (char c : text) Key(static_cast<unsigned char>(c));
  }
  // Empties the entry, types the answer and accepts it.
  void Answer(std::string_view text) {
    Key(kCodeSnapPoint);
    Type(text);
    Key(kCodeEnter);
  }
  // Enter with the cursor on a drawing point.
  void EnterAt(double x, double y) {
    control.In().cursor = {x, y};
    Key(kCodeEnter);
  }

  std::string Prompt() const { return std::string(MirrorRow(app.screen, 1)); }
  bool Shown(std::string_view text) const {
    for (const std::string& shown : app.screen.shownMessages) {
      if (shown.find(text) != std::string::npos) return true;
    }
    return false;
  }
};

} // namespace lumora
