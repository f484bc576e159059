#include "model/draw_mode.h"
#include "support/golden.h"
#include "view/soft_canvas.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace lumora {
namespace {

using lumora::testing::MatchesGolden;

constexpr int kStyles = 6;  // 0..5: solid, solid, long dash, dots, dash-dot, solid
constexpr int kColours = 9; // 1..8 and 9, which draws as 1
constexpr double kPi = 3.1415926535;

// One horizontal line per colour, one column of lines per style; then a highlighted and an
// erased copy of the first colour.
void DrawStyleChart(SoftCanvas& canvas) {
  for (int style = 0; style < kStyles; ++style) {
    for (int colour = 1; colour <= kColours; ++colour) {
      const double x = 4 + style * 26;
      const double y = canvas.Height() - 6 - colour * 6;
      canvas.SetPen(ColourValue(colour, DrawMode::kNormal), style, 1);
      canvas.MoveTo(x, y);
      canvas.LineTo(x + 22, y);
      canvas.EndPath();
    }
  }
  for (int style = 0; style < kStyles; ++style) {
    const double x = 4 + style * 26;
    canvas.SetPen(ColourValue(3, DrawMode::kHighlight), style, 1);
    canvas.MoveTo(x, 10);
    canvas.LineTo(x + 22, 10);
    canvas.EndPath();
    canvas.SetPen(1, 1, 3); // a thick line, then erased along its middle
    canvas.MoveTo(x, 4);
    canvas.LineTo(x + 22, 4);
    canvas.EndPath();
    canvas.SetPen(ColourValue(1, DrawMode::kErase), style, 1);
    canvas.MoveTo(x, 4);
    canvas.LineTo(x + 22, 4);
    canvas.EndPath();
  }
}

TEST(SoftCanvasGolden, StylesAndColoursOnBothBackgrounds) {
  for (const Background background : {Background::kDark, Background::kLight}) {
    SoftCanvas canvas(162, 76);
    canvas.SetBackground(background);
    canvas.FillRect({0, 0, 162, 76}, BackgroundColour(background));
    DrawStyleChart(canvas);
    EXPECT_TRUE(MatchesGolden(canvas, background == Background::kDark ? "canvas_styles_dark"
                                                                      : "canvas_styles_light"));
  }
}

// Widths from the drawing's units: 0 and -1 one pixel, -3 three pixels, 1.5 mm at paper unit 1
// and 4 pixels per unit six pixels; across all directions.
TEST(SoftCanvasGolden, Widths) {
  SoftCanvas canvas(140, 100);
  const double widths[] = {0.0, -1.0, -3.0, 1.5};
  for (int i = 0; i < 4; ++i) {
    const double w = PenWidthPixels(widths[i], 1.0, 4.0);
    const double x = 10 + i * 32;
    canvas.SetPen(i + 2, 1, w);
    canvas.MoveTo(x, 10);
    canvas.LineTo(x + 20, 10); // flat
    canvas.LineTo(x + 20, 40); // upright
    canvas.LineTo(x, 70);      // steep
    canvas.LineTo(x + 24, 90); // shallow
    canvas.EndPath();
  }
  // The 1.5 mm line is six pixels across its flat part: rows 7..12 around row 10.
  const Rgb red{255, 0, 0};
  EXPECT_EQ(canvas.Pixel(112, 6), (Rgb{}));
  for (int y = 7; y <= 12; ++y) EXPECT_EQ(canvas.Pixel(112, y), red) << y;
  EXPECT_EQ(canvas.Pixel(112, 13), (Rgb{}));
  EXPECT_TRUE(MatchesGolden(canvas, "canvas_widths"));
}

TEST(SoftCanvasGolden, ArcsAndCircles) {
  SoftCanvas canvas(160, 80);
  const auto at = [](double cx, double cy, double r, double degrees, double& x, double& y) {
    x = cx + r * std::cos(degrees * kPi / 180.0);
    y = cy + r * std::sin(degrees * kPi / 180.0);
  };
  double sx, sy, ex, ey;
  canvas.SetPen(kInvertingColour, 1, 1); // 350 to 10 degrees, through 0
  at(40, 40, 30, 350, sx, sy);
  at(40, 40, 30, 10, ex, ey);
  canvas.Arc(40, 40, 30, sx, sy, ex, ey);
  canvas.EndPath();
  canvas.SetPen(kInvertingColour, 2, 1); // start = end: a full circle, dashed
  at(40, 40, 20, 45, sx, sy);
  canvas.Arc(40, 40, 20, sx, sy, sx, sy);
  canvas.EndPath();
  canvas.SetPen(kInvertingColour, 1, 1); // 30 to 300 degrees, more than half a turn
  at(115, 40, 30, 30, sx, sy);
  at(115, 40, 30, 300, ex, ey);
  canvas.Arc(115, 40, 30, sx, sy, ex, ey);
  canvas.EndPath();
  canvas.SetPen(5, 1, 1); // the same ring in an ordinary pen
  canvas.Circle(115, 40, 12);
  canvas.EndPath();
  EXPECT_TRUE(MatchesGolden(canvas, "canvas_arcs"));
}

// Highlight and erase over a drawing, and inverting figures over both.
TEST(SoftCanvasGolden, HighlightEraseAndInversion) {
  for (const Background background : {Background::kDark, Background::kLight}) {
    SoftCanvas canvas(100, 60);
    canvas.SetBackground(background);
    canvas.FillRect({0, 0, 100, 60}, BackgroundColour(background));
    for (int i = 0; i < 5; ++i) {
      canvas.SetPen(i + 1, 1, 2);
      canvas.MoveTo(5, 5 + i * 10);
      canvas.LineTo(95, 10 + i * 10);
      canvas.EndPath();
    }
    canvas.SetPen(ColourValue(2, DrawMode::kHighlight), 1, 2);
    canvas.MoveTo(5, 15);
    canvas.LineTo(95, 20);
    canvas.EndPath();
    canvas.SetPen(-ColourValue(3, DrawMode::kHighlight), 1, 2);
    canvas.MoveTo(5, 25);
    canvas.LineTo(95, 30);
    canvas.EndPath();
    canvas.SetPen(kInvertingColour, 2, 1);
    canvas.MoveTo(20, 2);
    canvas.LineTo(80, 2);
    canvas.LineTo(80, 58);
    canvas.LineTo(20, 58);
    canvas.LineTo(20, 2);
    canvas.EndPath();
    EXPECT_TRUE(MatchesGolden(canvas, background == Background::kDark ? "canvas_modes_dark"
                                                                      : "canvas_modes_light"));
  }
}

TEST(SoftCanvasGolden, GlyphsOfEveryCode) {
  constexpr int kPerRow = 32;
  constexpr int kRowHeight = 16;
  SoftCanvas canvas(kPerRow * kGlyphAdvance + 20, 8 * kRowHeight + 8);
  canvas.FillRect({0, 0, canvas.Width(), canvas.Height()}, {255, 255, 255});
  for (int code = kFirstGlyph; code <= kLastGlyph; ++code) {
    const int row = (code - kFirstGlyph) / kPerRow;
    const int column = (code - kFirstGlyph) % kPerRow;
    const std::string text(1, static_cast<char>(code));
    const Rgb colour = row % 2 ? Rgb{255, 0, 0} : Rgb{0, 0, 0};
    canvas.DrawGlyphs(10 + column * kGlyphAdvance, canvas.Height() - (row + 1) * kRowHeight, text,
                      colour);
  }
  // A string with codes that have no glyph: they keep their place.
  canvas.DrawGlyphs(10, 4,
                    "\x10"
                    "A\xFF"
                    "B\x7F"
                    "C\xE4\xF6\xC5",
                    {0, 0, 255});
  EXPECT_TRUE(MatchesGolden(canvas, "canvas_glyphs"));
}

} // namespace
} // namespace lumora
