// A text screen of the default 1000 x 800 window (100 columns, 50 rows) on a white sheet, with a
// software canvas, a recording sound player, a fake clock and a captured console.
#pragma once

#include "sound/my_beep.h"
#include "sound/recording_sound_player.h"
#include "ui/text_screen.h"
#include "util/fake_clock.h"
#include "view/soft_canvas.h"

#include <sstream>
#include <string>
#include <vector>

namespace lumora {

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGrey{128, 128, 128};

struct GlyphCall {
  int x;
  int y;
  std::string text;
  Rgb colour;
};

// The software canvas, keeping a list of the glyph strings written, so that tests can see what
// was written and in which colour even after it was drawn over.
class SoftCanvasWithGlyphLog final : public SoftCanvas {
public:
  using SoftCanvas::SoftCanvas;
  void DrawGlyphs(int x, int y, std::string_view text, Rgb colour) override {
    glyphs.push_back({x, y, std::string(text), colour});
    SoftCanvas::DrawGlyphs(x, y, text, colour);
  }
  std::vector<GlyphCall> glyphs;
};

struct ScreenFixture {
  static constexpr int kWidth = 1000;
  static constexpr int kHeight = 800;

  SoftCanvasWithGlyphLog canvas{kWidth, kHeight};
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
    canvas.SetBackground(Background::kLight);
    canvas.FillRect({0, 0, kWidth, kHeight}, kWhite);
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

  // The colour drawn in a cell over the black window fill (black when the cell is empty).
  Rgb Ink(int row, int column) const {
    const PixelRect r = CellPixels(screen, row, column, 1, 1);
    for (int y = r.y; y < r.y + r.height; ++y) {
      for (int x = r.x; x < r.x + r.width; ++x) {
        if (!(canvas.Pixel(x, y) == kBlack)) return canvas.Pixel(x, y);
      }
    }
    return kBlack;
  }

  std::vector<std::uint8_t> Pixels() const { return canvas.Image().rgb; }
};

} // namespace lumora
