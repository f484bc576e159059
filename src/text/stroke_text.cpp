#include "text/stroke_text.h"

namespace lumora {

Transform RotationTo(double x, double y, double angle) {
  Transform t;
  MakeTransform(t, 0, 0, x, y, 1, 1, angle);
  return t;
}

Point Apply(const Transform& t, double x, double y) {
  ApplyTransform(t, x, y);
  return {x, y};
}

Transform RotationAbout(const Point& p, double angle) {
  Transform t;
  if (SameValue(angle, 0) == 0) MakeTransform(t, p.x, p.y, p.x, p.y, 1, 1, angle);
  return t;
}

bool DrawGlyph(const Fonts& fonts, StrokeSink& sink, const Transform& t, double dx, double dy,
               char c) {
  if (fonts.current.font < 0 || fonts.current.font >= fonts.count) return true;
  const TextSetting& s = fonts.current;
  for (const Stroke& k : fonts.slots[static_cast<std::size_t>(s.font)].Glyph(c)) {
    const double u = k.y * s.slantFactor + k.x * s.xFactor + dx;
    const double v = k.y * s.yFactor + dy;
    const Point p = Apply(t, u, v);
    if (!(k.pen == 0 ? sink.Move(p) : sink.Line(p))) return false;
  }
  return true;
}

bool StrokeString(const Fonts& fonts, StrokeSink& sink, double x, double y, std::string_view s) {
  if (fonts.count == 0) return true;
  const TextSetting& setting = fonts.current;
  const Transform t = RotationTo(x, y, setting.angle);
  // Split first: the row count places the first row on top.
  std::string_view rows[kMaxRows];
  int n = 0;
  for (std::size_t start = 0; n < kMaxRows;) {
    const std::size_t bar = s.find(kRowSeparator, start);
    const std::string_view row =
        s.substr(start, bar == std::string_view::npos ? s.npos : bar - start);
    rows[n++] = bar == std::string_view::npos && start == 0 ? row : row.substr(0, kMaxRowLength);
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  for (int j = 0; j < n; ++j) {
    const double dy = (n - 1 - j) * setting.rowAdvance;
    for (std::size_t k = 0; k < rows[j].size(); ++k)
      if (!DrawGlyph(fonts, sink, t, static_cast<double>(k) * setting.charAdvance, dy, rows[j][k]))
        return false;
  }
  return true;
}

void DrawString(const Fonts& fonts, ScreenPen& pen, double x, double y, std::string_view s) {
  ScreenStrokes sink(pen);
  StrokeString(fonts, sink, x, y, s);
}

int PlotString(const Fonts& fonts, PlotterPen& pen, double x, double y, std::string_view s) {
  PlotterStrokes sink(pen);
  return StrokeString(fonts, sink, x, y, s) ? 1 : 0;
}

} // namespace lumora
