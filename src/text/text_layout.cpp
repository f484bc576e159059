#include "text/text_layout.h"

#include "text/stroke_text.h"
#include "text/text_drawing.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr double kTenth = 0.1;
constexpr double kRatioBase = 0.4;
constexpr double kSlantStep = 0.2;
constexpr char kVariableMark = '#';
constexpr int kPositionings = 9;
constexpr int kWaysPerRow = 3;

// Takes in every stroke a measure draws.
class BoxStrokes final : public StrokeSink {
public:
  explicit BoxStrokes(Box& box) : box_(box) {}
  bool Move(const Point& p) override {
    ExtendBox(p.x, p.y, box_);
    return true;
  }
  bool Line(const Point& p) override { return Move(p); }
  bool Arc(const Point& centre, const Point& start, const Point& end) override {
    Box arc;
    BoxOfArc(centre, start, end, arc);
    ExtendBox(arc.xmin, arc.ymin, box_);
    ExtendBox(arc.xmax, arc.ymax, box_);
    return true;
  }

private:
  Box& box_;
};

} // namespace

TextMetrics MetricsOf(int height, int widthRatio, int slant, double paperUnit) {
  return {height * kTenth * paperUnit, widthRatio * kTenth + kRatioBase, slant * kSlantStep};
}

std::string_view DisplayString(std::string_view text) {
  text = text.substr(0, kMaxDisplayLength);
  if (text.empty() || text[0] != kVariableMark) return text;
  if (text.find(kRowSeparator) != std::string_view::npos) return text;
  const std::size_t second = text.find(kVariableMark, 1);
  if (second == std::string_view::npos || second + 1 >= text.size()) return text;
  if (text.find(kVariableMark, second + 1) != std::string_view::npos) return text;
  return text.substr(second + 1);
}

std::string_view TextOf(const TextElement& t) {
  return t.text == nullptr ? std::string_view() : std::string_view(t.text);
}

TextBoxOffsets TextBox(const Fonts& fonts, std::string_view s, int height, int widthRatio,
                       int positioning, int font, double paperUnit) {
  const TextMetrics m = MetricsOf(height, widthRatio, 0, paperUnit);
  // Only the spacings count here; a font that is not loaded has none.
  const bool loaded = font >= 0 && font < fonts.count;
  const Font* f = loaded ? &fonts.slots[std::size_t(font)] : nullptr;
  const double charSpace = f != nullptr ? f->charSpace : 0.0;
  const double rowSpace = f != nullptr ? f->rowSpace : 0.0;
  const double lowerPortion = f != nullptr ? f->lowerPortion : 0.0;
  std::size_t rows = 1;
  std::size_t longest = 1;
  for (std::size_t start = 0;;) {
    const std::size_t bar = s.find(kRowSeparator, start);
    const std::size_t end = bar == std::string_view::npos ? s.size() : bar;
    longest = std::max(longest, end - start);
    if (bar == std::string_view::npos) break;
    ++rows;
    start = bar + 1;
  }
  const double n = double(rows);
  const double l = double(longest);
  const double w = ((l - 1) * charSpace + l) * m.r * m.h;
  const double h = ((n - 1) * rowSpace + lowerPortion + n) * m.h;
  // Ways 1..9 run left to right, bottom to top; anything else lays out as way 1.
  const int way = positioning >= 1 && positioning <= kPositionings ? positioning - 1 : 0;
  const double dx = -w * (way % kWaysPerRow) / 2;
  const double dy = -h * (way / kWaysPerRow) / 2;
  return {dx, dy, dx + w, dy + h};
}

Box TextExtent(const Fonts& fonts, double paperUnit, const TextElement& t, bool includePoints) {
  Box box;
  if (t.pointCount() == 0 || t.points == nullptr) return box;
  const Point p0 = t.points[0];
  const TextBoxOffsets o =
      TextBox(fonts, DisplayString(TextOf(t)), int(t.height()), int(t.widthRatio()),
              int(t.positioning()), int(t.font()), paperUnit);
  const Transform turn = RotationAbout(p0, t.angle());
  for (const auto& [dx, dy] : {std::pair{o.dx0, o.dy0}, std::pair{o.dx0, o.dy1},
                               std::pair{o.dx1, o.dy1}, std::pair{o.dx1, o.dy0}}) {
    const Point c = Apply(turn, p0.x + dx, p0.y + dy);
    ExtendBox(c.x, c.y, box);
  }
  if (!includePoints) return box;
  for (std::uint32_t i = 0; i < t.pointCount(); ++i) ExtendBox(t.points[i].x, t.points[i].y, box);
  // A measure draws beyond its points: an angle's arc, arrows outside, extension overshoots.
  if (t.mitta() != 0) {
    BoxStrokes strokes(box);
    const TextMetrics m = MetricsOf(int(t.height()), 0, 0, paperUnit);
    MeasureStrokes(strokes, t, o, turn, m.h, 0.0);
  }
  return box;
}

} // namespace lumora
