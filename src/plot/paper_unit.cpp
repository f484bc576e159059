#include "plot/paper_unit.h"

#include <utility>

namespace lumora {
namespace {

constexpr double kPaperSlack = 1.1; // a sheet up to a tenth larger than the paper still fits
constexpr double kMetres = 1000.0;
constexpr double kCentimetres = 10.0;
constexpr double kMetreFactor = 0.001;
constexpr double kCentimetreFactor = 0.1;

bool Fits(double times, double w, double h, double a, double b) {
  return times * w < kPaperSlack * a && times * h < kPaperSlack * b;
}

} // namespace

double PaperUnitFor(const Drawing& drawing, double paperWidth, double paperHeight) {
  if (!(drawing.scale > 0.0)) return 1.0; // no sheet to measure; millimetres
  const double w = (drawing.limits.xmax - drawing.limits.xmin) / drawing.scale;
  const double h = (drawing.limits.ymax - drawing.limits.ymin) / drawing.scale;
  double a = paperWidth;
  double b = paperHeight;
  if (w > h) std::swap(a, b);
  double factor = 1.0;
  if (Fits(kMetres, w, h, a, b))
    factor = kMetreFactor;
  else if (Fits(kCentimetres, w, h, a, b))
    factor = kCentimetreFactor;
  return drawing.scale * factor;
}

void InferPaperUnit(Drawing& drawing, double paperWidth, double paperHeight) {
  if (drawing.unitsChosen != 0) {
    drawing.paperUnit = drawing.scale;
    return;
  }
  drawing.paperUnit = PaperUnitFor(drawing, paperWidth, paperHeight);
}

} // namespace lumora
