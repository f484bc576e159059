// The whole program without a window, as the headless tools build it, on the default 1000 x 800
// window (100 columns, 50 rows) with a white sheet: a software canvas, a recording sound
// player, a fake clock and a captured console. Its parts have short names for the tests.
#pragma once

#include "control/headless_app.h"
#include "screen/text_screen.h"
#include "sound/my_beep.h"
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

  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvasWithGlyphLog canvas{kWidth, kHeight};
  RecordingSoundPlayer& player = headless.sounds;
  FakeClock& clock = headless.clock;
  std::ostringstream& console = headless.console;
  SoundState& sound = app.sound;
  Language& language = app.language;
  TextScreen& screen = app.screen;
  Control& control = app.control;
  bool& cursorShown = app.commandState.cursorShown;

  ScreenFixture() {
    sound.home = LUMORA_SOURCE_DIR "/data";
    app.commandState.whiteBackground = true;
    AttachCanvas(app, canvas);
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

  // Whether some glyphs written showed this text, even if a closed box has erased it since.
  bool Shown(std::string_view text) const {
    for (const GlyphCall& glyph : canvas.glyphs) {
      if (glyph.text.find(text) != std::string::npos) return true;
    }
    return false;
  }
};

} // namespace lumora
