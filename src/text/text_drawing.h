// Drawing of text elements: the string, and for measures the dimension line or arc with its
// arrowheads and extension lines. The same geometry goes to the screen and to the plotter.
#pragma once

#include "model/draw_mode.h"
#include "model/elements.h"
#include "text/font.h"
#include "text/text_layout.h"
#include "text/text_pens.h"

namespace lumora {

// The pen and gap of measure lines, from the setup (MEASURE_LINES:, MEASURE_GAP:).
struct MeasureStyle {
  int width = 2; // tenths of a millimetre
  int colour = 1;
  double gap = 0; // between a measured point and its extension line, in text heights
};

// What drawing a text needs besides the element.
struct TextScene {
  Fonts& fonts;
  double paperUnit = 1;
  MeasureStyle measure;
};

inline constexpr double kArrowLength = 1.2; // arrowhead length per size
inline constexpr double kArrowHalfWidth = 0.15;

// A closed triangle 1.2 size long and 0.3 size wide, on the side of tip that d points to.
bool DrawArrowhead(StrokeSink& sink, const Point& tip, double size, const Point& d);

// The measure graphics of a linear (mitta 1) or angle (mitta 2) measure. h is the text height
// in drawing units; rotation turns the text box about the first point.
bool MeasureStrokes(StrokeSink& sink, const TextElement& t, const TextBoxOffsets& o,
                    const Transform& rotation, double h, double gap);

void DrawText(TextScene& scene, ScreenPen& pen, const TextElement& t, DrawMode mode);
void DrawMeasure(TextScene& scene, ScreenPen& pen, const TextElement& t, DrawMode mode,
                 const TextBoxOffsets& o, const Transform& rotation);

// The same on the plotter; 0 when a plotter primitive failed.
int PlotText(TextScene& scene, PlotterPen& pen, const TextElement& t);
int PlotMeasure(TextScene& scene, PlotterPen& pen, const TextElement& t);

} // namespace lumora
