// A control over the test screen with a prompt state, inside a running main function. Keys go
// through the real translation, so typed characters arrive as they do from the window, and
// then to the routine under test (`call`).
#pragma once

#include "control/dispatch.h"
#include "control/translate.h"
#include "screen/screen_fixture.h"
#include "ui/ask_state.h"

#include <functional>
#include <string>

namespace lumora {

struct AskFixture : ScreenFixture {
  PromptState& prompts = app.prompts;
  std::function<int()> call;
  int result = kStillRunning;

  AskFixture() {
    BeginFunction(control, Level::kMain, kOwnerCode); // row 1 is its prompt line
  }
  static constexpr int kOwnerCode = kCodeAddLine;

  int Call() { return result = call(); }
  // One key as its own pass (the sound groups start afresh), then the routine.
  int Key(int key) {
    Translate(key);
    return Call();
  }
  int Keys(std::initializer_list<int> keys) {
    for (int key : keys) Key(key);
    return result;
  }
  void Type(std::string_view typed) {
    for (char c : typed) Key(static_cast<unsigned char>(c));
  }
  void Translate(int key) {
    ClearSoundGroups(sound);
    TranslateInput(control, InputKind::kKey, 0, 0, key);
  }
  void Click(int x, int y) { TranslateInput(control, InputKind::kLeftClick, x, y); }
  void Move(int x, int y) { TranslateInput(control, InputKind::kMotion, x, y); }
};

} // namespace lumora
