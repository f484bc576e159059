// Drawing of characters and strings with the current text setting of the fonts.
#pragma once

#include "geometry/primitives.h"
#include "text/font.h"
#include "text/text_pens.h"

#include <string_view>

namespace lumora {

inline constexpr char kRowSeparator = '|';
inline constexpr int kMaxRows = 80;
inline constexpr std::size_t kMaxRowLength = 99;

// Rotation by angle degrees about the origin, then a move to (x, y).
Transform RotationTo(double x, double y, double angle);
Point Apply(const Transform& t, double x, double y);
// Rotation about p by angle degrees; the identity for an angle within 0.001 of 0.
Transform RotationAbout(const Point& p, double angle);

// One character at (dx, dy) in the text's own axes. False when the sink failed.
bool DrawGlyph(const Fonts& fonts, StrokeSink& sink, const Transform& t, double dx, double dy,
               char c);

// A string whose last row's base line starts at (x, y); rows are split at '|', the first on
// top. Characters without a glyph take their place. Nothing is drawn without a loaded font.
bool StrokeString(const Fonts& fonts, StrokeSink& sink, double x, double y, std::string_view s);

// Where the strokes of StrokeString with the same arguments fall. When `bounded`, every stroke
// point lies in the box, which allows for rounding, and `draws` tells whether some stroke draws a
// line (a draw that is not the string's first stroke). Not bounded when a place is not a number
// or infinite. A string without strokes is bounded by an empty box and draws nothing.
struct StringExtent {
  Box box;
  bool bounded = true;
  bool draws = false;
};
StringExtent StringStrokeExtent(const Fonts& fonts, double x, double y, std::string_view s);

void DrawString(const Fonts& fonts, ScreenPen& pen, double x, double y, std::string_view s);
// 0 at the first plotter primitive that fails, else 1.
int PlotString(const Fonts& fonts, PlotterPen& pen, double x, double y, std::string_view s);

} // namespace lumora
