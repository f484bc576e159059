// A control over the test screen with a prompt state, and keys sent through the real
// translation, so that typed characters arrive as they do from the window.
#pragma once

#include "control/dispatch.h"
#include "control/translate.h"
#include "ui/ask_state.h"
#include "ui/screen_fixture.h"

#include <string>

namespace lumora {

struct AskFixture : ScreenFixture {
  Control control;
  PromptState prompts;

  AskFixture() {
    control.screen = &screen;
    control.sound = &sound;
    control.language = &language;
    screen.cursorShown = &control.state.cursorShown;
    // Prompts run inside a function: row 1 is that function's prompt line.
    BeginFunction(control, Level::kMain, kOwnerCode);
  }
  static constexpr int kOwnerCode = 1001;

  // Translates a key; the routine under test is then called by the test.
  // Each event is a pass of its own for the sound groups, as under the dispatcher.
  void Translate(int key) {
    ClearSoundGroups(sound);
    TranslateInput(control, InputKind::kKey, 0, 0, key);
  }
  void Click(int x, int y) { TranslateInput(control, InputKind::kLeftClick, x, y); }
  void Move(int x, int y) { TranslateInput(control, InputKind::kMotion, x, y); }
  // The continue tick the dispatcher sends after a pass with a text entry open.
  void Tick() {
    control.In().code = kContinueTick;
    control.In().rawKey = kRawNone;
  }

  // Whether the last message box showed this text (its cells are gone once it closed, so the
  // glyphs drawn are searched).
  bool Shown(std::string_view text) const {
    for (const GlyphCall& call : canvas.glyphs) {
      if (call.text.find(text) != std::string::npos) return true;
    }
    return false;
  }
};

} // namespace lumora
