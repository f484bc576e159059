#include "text/text_drawing.h"

#include "text/stroke_text.h"

namespace lumora {
namespace {

constexpr double kTenth = 0.1;
constexpr int kSolidStyle = 1;

struct Placed {
  TextBoxOffsets offsets;
  Transform rotation; // about the first point by the text's angle
  Point start;        // start of the last row's base line
  double h = 0;
};

// Sets the text style and finds where the string starts.
Placed Place(TextScene& scene, const TextElement& t) {
  const TextMetrics m =
      MetricsOf(int(t.height()), int(t.widthRatio()), int(t.slant()), scene.paperUnit);
  SetTextStyle(scene.fonts, int(t.font()), m.h, t.angle(), m.r, m.s);
  Placed placed;
  placed.h = m.h;
  const Point p0 = t.points[0];
  placed.offsets =
      TextBox(scene.fonts, DisplayString(TextOf(t)), int(t.height()), int(t.widthRatio()),
              int(t.positioning()), int(t.font()), scene.paperUnit);
  const int font = int(t.font());
  const double lower =
      font < scene.fonts.count ? scene.fonts.slots[std::size_t(font)].lowerPortion : 0.0;
  placed.rotation = RotationAbout(p0, t.angle());
  placed.start =
      Apply(placed.rotation, p0.x + placed.offsets.dx0, p0.y + placed.offsets.dy0 + lower * m.h);
  return placed;
}

bool Drawable(const TextElement& t) {
  return t.pointCount() > 0 && t.points != nullptr;
}

} // namespace

void DrawText(TextScene& scene, ScreenPen& pen, const TextElement& t, DrawMode mode) {
  if (!Drawable(t)) return;
  pen.SetPen(ColourValue(int(t.colour()), mode), kSolidStyle, 0, t.width() * kTenth);
  const Placed placed = Place(scene, t);
  const std::string_view shown = DisplayString(TextOf(t));
  const StringExtent extent =
      StringStrokeExtent(scene.fonts, placed.start.x, placed.start.y, shown);
  if (!extent.bounded || !pen.StandInFor(extent.box, extent.draws))
    DrawString(scene.fonts, pen, placed.start.x, placed.start.y, shown);
  pen.EndPath();
  if (t.mitta() != 0) DrawMeasure(scene, pen, t, mode, placed.offsets, placed.rotation);
}

void DrawMeasure(TextScene& scene, ScreenPen& pen, const TextElement& t, DrawMode mode,
                 const TextBoxOffsets& o, const Transform& rotation) {
  if (!Drawable(t)) return;
  const TextMetrics m = MetricsOf(int(t.height()), 0, 0, scene.paperUnit);
  pen.SetPen(ColourValue(scene.measure.colour, mode), kSolidStyle, 0, scene.measure.width * kTenth);
  ScreenStrokes sink(pen);
  MeasureStrokes(sink, t, o, rotation, m.h, scene.measure.gap);
  pen.EndPath();
}

int PlotText(TextScene& scene, PlotterPen& pen, const TextElement& t) {
  if (!Drawable(t)) return 1;
  if (pen.SelectPlotPen(int(t.width()), int(t.colour())) == 0 ||
      pen.SetPlotStyle(kSolidStyle, 0) == 0)
    return 0;
  const Placed placed = Place(scene, t);
  return PlotString(scene.fonts, pen, placed.start.x, placed.start.y, DisplayString(TextOf(t)));
}

int PlotMeasure(TextScene& scene, PlotterPen& pen, const TextElement& t) {
  if (!Drawable(t) || t.mitta() == 0) return 1;
  if (pen.SelectPlotPen(scene.measure.width, scene.measure.colour) == 0 ||
      pen.SetPlotStyle(kSolidStyle, 0) == 0)
    return 0;
  const Placed placed = Place(scene, t);
  PlotterStrokes sink(pen);
  return MeasureStrokes(sink, t, placed.offsets, placed.rotation, placed.h, scene.measure.gap) ? 1
                                                                                               : 0;
}

} // namespace lumora
