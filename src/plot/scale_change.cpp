#include "plot/scale_change.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr double kSmallest = 1.001;
constexpr double kWidestWidth = 15.0; // 4 bits
constexpr double kMostHeight = 511.0; // 9 bits
constexpr double kFieldSlack = 0.001;

int Proportional(int value, double oldScale, double newScale, double most) {
  double v = value * oldScale / newScale;
  if (!(v >= kSmallest)) v = 1.0;
  if (v >= most - kFieldSlack) v = most;
  return int(std::lround(v));
}

} // namespace

Box SheetAtScale(const Box& limits, double oldScale, double newScale) {
  const double factor = newScale / oldScale;
  return {limits.xmin, limits.ymin, limits.xmin + (limits.xmax - limits.xmin) * factor,
          limits.ymin + (limits.ymax - limits.ymin) * factor};
}

int ProportionalWidth(int width, double oldScale, double newScale) {
  return Proportional(width, oldScale, newScale, kWidestWidth);
}

int ProportionalHeight(int height, double oldScale, double newScale) {
  return Proportional(height, oldScale, newScale, kMostHeight);
}

void ApplyScaleChange(Drawing& drawing, double newScale, const Box& newLimits, bool proportional) {
  const double oldScale = drawing.scale;
  if (proportional) {
    for (LineElement* l : Each(drawing.lines))
      l->SetWidth(std::uint32_t(ProportionalWidth(int(l->width()), oldScale, newScale)));
    for (FillingElement* f : Each(drawing.fillings))
      f->SetWidth(std::uint32_t(ProportionalWidth(int(f->width()), oldScale, newScale)));
    for (TextElement* t : Each(drawing.texts)) {
      t->SetWidth(std::uint32_t(ProportionalWidth(int(t->width()), oldScale, newScale)));
      t->SetHeight(std::uint32_t(ProportionalHeight(int(t->height()), oldScale, newScale)));
    }
  }
  drawing.scale = newScale;
  drawing.limits = newLimits;
  // A new sheet is a change like any other: leaving the drawing must not drop it unasked.
  ++drawing.changes;
}

} // namespace lumora
