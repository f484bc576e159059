// A text screen of the default 1000 x 800 window (100 columns, 50 rows) on a white sheet, with a
// fake canvas, a recording sound player, a fake clock and a captured console.
#pragma once

#include "sound/my_beep.h"
#include "sound/recording_sound_player.h"
#include "ui/fake_canvas.h"
#include "ui/text_screen.h"
#include "util/fake_clock.h"

#include <sstream>
#include <string>
#include <vector>

namespace lumora {

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGrey{128, 128, 128};

struct ScreenFixture {
  static constexpr int kWidth = 1000;
  static constexpr int kHeight = 800;

  FakeCanvas canvas{kWidth, kHeight};
  RecordingSoundPlayer player;
  SoundState sound;
  FakeClock clock;
  std::ostringstream console;
  Language language = Language::kEnglish;
  bool cursorShown = true;
  TextScreen screen;

  ScreenFixture() {
    sound.player = &player;
    sound.home = LUMORA_SOURCE_DIR "/data";
    sound.console = &console;
    screen.canvas = &canvas;
    screen.sound = &sound;
    screen.clock = &clock;
    screen.language = &language;
    screen.cursorShown = &cursorShown;
    screen.console = &console;
    screen.consoleOutput = false;
    ResizeGrid(screen, kWidth, kHeight);
    canvas.FillRect({0, 0, kWidth, kHeight}, kWhite); // the white sheet
  }

  std::vector<int> Cues() const {
    std::vector<int> cues;
    for (const std::string& path : player.Played()) cues.push_back(SoundCueOfPath(path));
    return cues;
  }

  // The mirror of a row from a column on, for the given number of cells.
  std::string Cells(int row, int column, int count) const {
    return std::string(
        MirrorRow(screen, row)
            .substr(static_cast<std::size_t>(column - 1), static_cast<std::size_t>(count)));
  }
};

} // namespace lumora
