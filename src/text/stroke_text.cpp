#include "text/stroke_text.h"

#include <algorithm>
#include <array>
#include <cmath>

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

namespace {

// The rows of a string, split at the separator; the row count places the first row on top.
int SplitRows(std::string_view s, std::array<std::string_view, kMaxRows>& rows) {
  int n = 0;
  for (std::size_t start = 0; n < kMaxRows;) {
    const std::size_t bar = s.find(kRowSeparator, start);
    const std::string_view row =
        s.substr(start, bar == std::string_view::npos ? s.npos : bar - start);
    rows[std::size_t(n++)] =
        bar == std::string_view::npos && start == 0 ? row : row.substr(0, kMaxRowLength);
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  return n;
}

} // namespace

bool StrokeString(const Fonts& fonts, StrokeSink& sink, double x, double y, std::string_view s) {
  if (fonts.count == 0) return true;
  const TextSetting& setting = fonts.current;
  const Transform t = RotationTo(x, y, setting.angle);
  std::array<std::string_view, kMaxRows> rows;
  const int n = SplitRows(s, rows);
  for (int j = 0; j < n; ++j) {
    const double dy = (n - 1 - j) * setting.rowAdvance;
    for (std::size_t k = 0; k < rows[j].size(); ++k)
      if (!DrawGlyph(fonts, sink, t, static_cast<double>(k) * setting.charAdvance, dy, rows[j][k]))
        return false;
  }
  return true;
}

// The strokes are placed as DrawGlyph places them, in the text's own axes. Each of its products
// and sums only grows with its terms, so the places computed from a glyph's reach bound those of
// its strokes; the box of those bounds, turned and moved as the strokes are, holds every stroke
// point but for the rounding of the turn, which the margin covers.
StringExtent StringStrokeExtent(const Fonts& fonts, double x, double y, std::string_view s) {
  StringExtent extent;
  const TextSetting& setting = fonts.current;
  if (fonts.count == 0 || setting.font < 0 || setting.font >= fonts.count) return extent;
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(setting.angle))
    return {Box{}, false, false};
  const Font& font = fonts.slots[static_cast<std::size_t>(setting.font)];
  std::array<std::string_view, kMaxRows> rows;
  const int n = SplitRows(s, rows);
  auto span = [](double factor, std::int32_t lo, std::int32_t hi) {
    const double a = lo * factor;
    const double b = hi * factor;
    return std::pair{std::min(a, b), std::max(a, b)};
  };
  Box own;
  double most = std::max(std::fabs(x), std::fabs(y));
  bool any = false;
  for (int j = 0; j < n; ++j) {
    const double dy = (n - 1 - j) * setting.rowAdvance;
    for (std::size_t k = 0; k < rows[std::size_t(j)].size(); ++k) {
      const char c = rows[std::size_t(j)][k];
      if (font.Glyph(c).empty()) continue;
      const GlyphReach& r = font.Reach(c);
      extent.draws = extent.draws || (any ? r.draws : r.drawsLater);
      any = true;
      const double dx = static_cast<double>(k) * setting.charAdvance;
      const auto [slantLo, slantHi] = span(setting.slantFactor, r.ymin, r.ymax);
      const auto [xLo, xHi] = span(setting.xFactor, r.xmin, r.xmax);
      const auto [yLo, yHi] = span(setting.yFactor, r.ymin, r.ymax);
      const double u0 = slantLo + xLo + dx;
      const double u1 = slantHi + xHi + dx;
      const double v0 = yLo + dy;
      const double v1 = yHi + dy;
      if (!std::isfinite(u0) || !std::isfinite(u1) || !std::isfinite(v0) || !std::isfinite(v1))
        return {Box{}, false, false};
      own.xmin = std::min(own.xmin, u0);
      own.xmax = std::max(own.xmax, u1);
      own.ymin = std::min(own.ymin, v0);
      own.ymax = std::max(own.ymax, v1);
      most = std::max({most, std::fabs(slantLo), std::fabs(slantHi), std::fabs(xLo), std::fabs(xHi),
                       std::fabs(dx), std::fabs(yLo), std::fabs(yHi), std::fabs(dy)});
    }
  }
  if (!any) return extent;
  // A few ulps of the largest magnitude involved cover the rounding of each placing.
  constexpr double kRounding = 1e-12;
  const double margin = kRounding * (most + 1.0);
  own = {own.xmin - margin, own.ymin - margin, own.xmax + margin, own.ymax + margin};
  if (setting.angle == 0.0) {
    own = {own.xmin + x, own.ymin + y, own.xmax + x, own.ymax + y};
  } else {
    TransformBox(own, RotationTo(x, y, setting.angle));
  }
  extent.box = {own.xmin - margin, own.ymin - margin, own.xmax + margin, own.ymax + margin};
  extent.bounded = std::isfinite(extent.box.xmin) && std::isfinite(extent.box.ymin) &&
                   std::isfinite(extent.box.xmax) && std::isfinite(extent.box.ymax) &&
                   extent.box.xmin <= extent.box.xmax && extent.box.ymin <= extent.box.ymax;
  return extent;
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
