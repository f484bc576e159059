#include "view/render_pen.h"

#include <cmath>

namespace lumora {
namespace {

constexpr double kTwoPi = 6.283185307;
constexpr double kChordFactor = 8.0; // sagitta s of a step t on radius r: s = r t^2 / 8

} // namespace

double ArcStep(double paperUnit, double accuracy, double radius) {
  const double step = std::sqrt(paperUnit * accuracy * kChordFactor / radius);
  // Also catches a step that is not a number (no accuracy on a point-sized arc).
  if (!(step >= kDegToRad)) return kDegToRad;
  return step;
}

void CanvasPen::SetPen(int colourValue, int style, int /*section*/, double width) {
  if (colourValue == kModeInvert && mode_ != kModeInvert) colourValue = mode_;
  inverting_ = colourValue == kModeInvert;
  canvas_.SetPen(colourValue, style, PenWidthPixels(width, paperUnit_, PixelsPerUnit(view_)));
}

void CanvasPen::MoveTo(const Point& p) {
  const Point c = DrawingToCanvas(view_, p);
  canvas_.MoveTo(c.x, c.y);
}

void CanvasPen::LineTo(const Point& p) {
  const Point c = DrawingToCanvas(view_, p);
  canvas_.LineTo(c.x, c.y);
}

void CanvasPen::EndPath() {
  canvas_.EndPath();
}

void CanvasPen::DrawCircle(const Point& centre, const Point& onCircle) {
  const double r = Distance(centre, onCircle);
  if (inverting_) {
    const Point c = DrawingToCanvas(view_, centre);
    canvas_.Circle(c.x, c.y, std::fabs(view_.scaleX) * r);
    return;
  }
  const double step = ArcStep(paperUnit_, arcAccuracy_, r);
  bool first = true;
  for (double a = 0.0; a < kTwoPi + step; a += step) {
    const Point p{centre.x + r * std::cos(a), centre.y + r * std::sin(a)};
    if (first)
      MoveTo(p);
    else
      LineTo(p);
    first = false;
  }
}

void CanvasPen::DrawArc(const Point& centre, const Point& start, const Point& end) {
  if (SamePoint(start, end) != 0) {
    DrawCircle(centre, start);
    return;
  }
  const double r = Distance(centre, start);
  if (inverting_) {
    const Point c = DrawingToCanvas(view_, centre);
    const Point s = DrawingToCanvas(view_, start);
    const Point e = DrawingToCanvas(view_, end);
    canvas_.Arc(c.x, c.y, std::fabs(view_.scaleX) * r, s.x, s.y, e.x, e.y);
    return;
  }
  const double a0 = std::atan2(start.y - centre.y, start.x - centre.x);
  double a1 = std::atan2(end.y - centre.y, end.x - centre.x);
  if (a0 > a1) a1 += kTwoPi;
  const double step = ArcStep(paperUnit_, arcAccuracy_, r);
  if (!(a1 + step > a0)) return;
  ArcVertices(centre, r, a0, a1, step);
}

// The last vertex lies exactly on the end direction, however the steps fall.
void CanvasPen::ArcVertices(const Point& centre, double radius, double a0, double a1, double step) {
  bool first = true;
  for (double a = a0; a < a1 + step; a += step) {
    const double angle = a > a1 ? a1 : a;
    const Point p{centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
    if (first)
      MoveTo(p); // an arc is its own strip, never joined to what was drawn before
    else
      LineTo(p);
    first = false;
  }
}

} // namespace lumora
