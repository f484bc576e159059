// The program started headless on the shipped setup (its lists and fonts), with a stand-in
// main function of each element type that logs the codes it is given. Keys go through the real
// translation, command table and dispatcher.
#pragma once

#include "screen/text_screen.h"
#include "screen/text_window.h"
#include "sound/recording_sound_player.h"
#include "support/started_app.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lumora {

class LoggingMain final : public Function {
public:
  explicit LoggingMain(std::vector<int>& log) : log_(log) {}
  int Step(Control& control, const CommandRow& row) override {
    if (!begun_) {
      begun_ = true;
      BeginFunction(control, row);
      return kStillRunning;
    }
    log_.push_back(control.In().code);
    if (control.In().code == kCodeEsc) {
      EndFunction(control, row.level);
      return kFinished;
    }
    return kStillRunning;
  }

private:
  std::vector<int>& log_;
  bool begun_ = false;
};

struct PropertyFixture : StartedApp {
  CurrentProperties& props = app.properties;
  std::vector<int> mainLog; // codes the stand-in main function was given after its start

  PropertyFixture() {
    for (auto [code, type] : {std::pair{kCodeAddLine, kElementLine},
                              {kCodeAddFilling, kElementFilling},
                              {kCodeAddText, kElementText},
                              {kCodeAddMeasure, kElementText},
                              {kCodeAddPart, kElementPart},
                              {kCodeEdit, kElementLine}}) {
      app.commands.Add({code, Level::kMain, [this] { return Make<LoggingMain>(std::ref(mainLog)); },
                        kExclusive, 0, type});
    }
  }

  // Also forgets the sounds of the keys before.
  void Key(int key) {
    headless.sounds.Clear();
    StartedApp::Key(key);
  }
  void Keys(std::initializer_list<int> keys) {
    for (int key : keys) Key(key);
  }
  void Type(std::string_view text) {
    for (char c : text) Key(static_cast<unsigned char>(c));
  }
  // Clears the proposal of an entry and types an answer, then Enter.
  void Answer(std::string_view text) {
    Key(kCodeSnapPoint); // Ctrl+F11 empties the entry
    Type(text);
    Key(kCodeEnter);
  }

  std::string Row(int row) const { return std::string(MirrorRow(app.screen, row)); }
  std::string Prompt() const { return Row(1); }
  bool Cue(int cue) const {
    for (const std::string& path : headless.sounds.Played()) {
      if (SoundCueOfPath(path) == cue) return true;
    }
    return false;
  }
  bool PropertyActive() const { return LevelActive(control, Level::kProperty); }
};

} // namespace lumora
