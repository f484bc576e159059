#include "view/render_pen.h"

#include "view/pixel_walk.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace lumora {
namespace {

constexpr double kTwoPi = 6.283185307;
constexpr double kChordFactor = 8.0; // sagitta s of a step t on radius r: s = r t^2 / 8
constexpr std::size_t kStripPoints = 512;

// A canvas point well inside the square where the canvas keeps points as they are.
bool Near(const Point& c) {
  constexpr double kNear = kFarPixel / 2;
  return std::fabs(c.x) < kNear && std::fabs(c.y) < kNear;
}

// Whether a canvas coordinate within margin of another lies in the same pixel as it. Inside the
// far square the canvas keeps a point as it is and only its pixel counts.
// That pixel is left in `pixel`.
inline bool Settled(double v, double margin, std::int64_t& pixel) {
  if (!(std::fabs(v) < kFarPixel)) return false;
  pixel = FloorOf(v);
  const double inPixel = v - double(pixel);
  return inPixel >= margin && inPixel + margin < 1.0;
}

} // namespace

double ArcStep(double paperUnit, double accuracy, double radius) {
  const double step = std::sqrt(paperUnit * accuracy * kChordFactor / radius);
  // Also catches a step that is not a number (no accuracy on a point-sized arc).
  if (!(step >= kDegToRad)) return kDegToRad;
  return step;
}

void CanvasPen::SetPen(int colourValue, int style, int /*section*/, double width) {
  if (colourValue == kInvertingColour && mode_ != DrawMode::kInvert)
    colourValue = ColourValue(1, mode_);
  FlushStrip();
  pendingInside_ = false;
  inverting_ = colourValue == kInvertingColour;
  widthPixels_ = PenWidthPixels(width, paperUnit_, PixelsPerUnit(view_));
  canvas_.SetPen(colourValue, style, widthPixels_);
}

void CanvasPen::MoveTo(const Point& p) {
  FlushStrip();
  const Point c = DrawingToCanvas(view_, p);
  canvas_.MoveTo(c.x, c.y);
}

void CanvasPen::LineTo(const Point& p) {
  const Point c = DrawingToCanvas(view_, p);
  if (pendingInside_) pendingPixels_[pendingCount_] = {FloorOf(c.x), FloorOf(c.y)};
  pending_[pendingCount_++] = {c.x, c.y};
  if (pendingCount_ == kPendingPoints) FlushStrip();
}

void CanvasPen::EndPath() {
  FlushStrip();
  pendingInside_ = false;
  canvas_.EndPath();
}

void CanvasPen::FlushStrip() {
  if (pendingCount_ == 0) return;
  if (pendingInside_) {
    canvas_.LineStripInside({pending_.data(), pendingCount_}, pendingPixels_.data());
  } else {
    canvas_.LineStrip({pending_.data(), pendingCount_});
  }
  pendingCount_ = 0;
}

bool CanvasPen::StandInFor(const Box& box, bool draws) {
  if (inverting_) return false;
  const Point a = DrawingToCanvas(view_, {box.xmin, box.ymin});
  const Point b = DrawingToCanvas(view_, {box.xmax, box.ymax});
  switch (ReachOf(a, b)) {
  case Reach::kNothing:
    return true;
  case Reach::kOnePixel:
    if (draws) Dot(a);
    return true;
  default:
    // The strokes that follow lie in the box: inside the clip, they go with their pixels.
    FlushStrip();
    pendingInside_ = CanvasInside(a, b);
    return false;
  }
}

void CanvasPen::DrawCircle(const Point& centre, const Point& onCircle) {
  FlushStrip();
  const double r = Distance(centre, onCircle);
  if (inverting_) {
    const Point c = DrawingToCanvas(view_, centre);
    canvas_.Circle(c.x, c.y, std::fabs(view_.scaleX) * r);
    return;
  }
  // The last vertex lies where the steps end, at or past the full turn.
  ArcVertices(centre, r, 0.0, kTwoPi, ArcStep(paperUnit_, arcAccuracy_, r), false);
}

CanvasPen::Sweep CanvasPen::SweepOf(const Point& centre, const Point& start,
                                    const Point& end) const {
  Sweep sweep;
  sweep.radius = Distance(centre, start);
  sweep.a0 = std::atan2(start.y - centre.y, start.x - centre.x);
  sweep.a1 = std::atan2(end.y - centre.y, end.x - centre.x);
  if (sweep.a0 > sweep.a1) sweep.a1 += kTwoPi;
  sweep.step = ArcStep(paperUnit_, arcAccuracy_, sweep.radius);
  return sweep;
}

void CanvasPen::DrawArc(const Point& centre, const Point& start, const Point& end) {
  FlushStrip();
  if (SamePoint(start, end) != 0) {
    DrawCircle(centre, start);
    return;
  }
  if (inverting_) {
    const double r = Distance(centre, start);
    const Point c = DrawingToCanvas(view_, centre);
    const Point s = DrawingToCanvas(view_, start);
    const Point e = DrawingToCanvas(view_, end);
    canvas_.Arc(c.x, c.y, std::fabs(view_.scaleX) * r, s.x, s.y, e.x, e.y);
    return;
  }
  const Sweep sweep = SweepOf(centre, start, end);
  if (!(sweep.a1 + sweep.step > sweep.a0)) return;
  ArcVertices(centre, sweep.radius, sweep.a0, sweep.a1, sweep.step, true);
}

// The vertices at a0, a0 + step, ... while below a1 + step, each sum rounded as the loop adds
// it; onEnd puts the last one exactly on the end direction, however the steps fall. An arc is its
// own strip, never joined to what was drawn before.
//
// A vertex between others only decides a pixel, so it may come from the turned or quick cosine
// and sine when every value within their error lands in the same pixel. The last vertex stays
// the library's exactly, as a stroke may go on from it.
void CanvasPen::ArcVertices(const Point& centre, double radius, double a0, double a1, double step,
                            bool onEnd) {
  const double end = a1 + step;
  TrigTurn turn(a0, step);
  const VertexSlack slack = VertexSlackOf(centre, radius);
  // When every summed angle stays in the turned values' range, their bound at the last vertex
  // (two turns more for the rounding of the count) serves for all.
  const double most = TrigTurn::ErrorAfter((end - a0) / step + 2.0);
  const bool allTurned = most <= TrigTurn::kMaxTurnError && std::fabs(a0) < TrigTurn::kTurnRange &&
                         std::fabs(end) < TrigTurn::kTurnRange;
  const double marginX = slack.perErrorX * most + slack.roundingX;
  const double marginY = slack.perErrorY * most + slack.roundingY;
  // The vertices between the first and the last reach the canvas as strips of many, with their
  // pixels when the whole circle lies inside the clip.
  const bool inside = CircleInside(centre, radius);
  std::array<CanvasPoint, kStripPoints> strip;
  std::array<CanvasPixel, kStripPoints> pixels;
  std::size_t held = 0;
  bool first = true;
  for (double a = a0; a < end; a += step, turn.Next()) {
    const bool last = !(a + step < end);
    const double angle = onEnd && a > a1 ? a1 : a;
    Point c;
    CanvasPixel pixel{0, 0};
    bool placed = false;
    if (!last && allTurned) {
      c = slack.Place(turn.Value());
      placed = Settled(c.x, marginX, pixel.x) && Settled(c.y, marginY, pixel.y);
    } else if (!last) {
      const bool turned =
          turn.Error() <= TrigTurn::kMaxTurnError && std::fabs(angle) < TrigTurn::kTurnRange;
      const double e = turned ? turn.Error() : kQuickTrigError;
      c = slack.Place(turned ? turn.Value() : QuickCosSin(angle));
      placed = Settled(c.x, slack.perErrorX * e + slack.roundingX, pixel.x) &&
               Settled(c.y, slack.perErrorY * e + slack.roundingY, pixel.y);
    }
    if (!placed) {
      c = DrawingToCanvas(
          view_, {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
      if (inside) pixel = {FloorOf(c.x), FloorOf(c.y)};
    }
    if (first) {
      canvas_.MoveTo(c.x, c.y);
      first = false;
      continue;
    }
    strip[held] = {c.x, c.y};
    pixels[held] = pixel;
    ++held;
    if (held == strip.size() || last) {
      if (inside) {
        canvas_.LineStripInside({strip.data(), held}, pixels.data());
      } else {
        canvas_.LineStrip({strip.data(), held});
      }
      held = 0;
    }
  }
}

// Every vertex lies within the radius of the centre on both axes (see CircleReach), so its pixel
// lies between those of the corners.
bool CanvasPen::CircleInside(const Point& centre, double radius) const {
  return CanvasInside(DrawingToCanvas(view_, {centre.x - radius, centre.y - radius}),
                      DrawingToCanvas(view_, {centre.x + radius, centre.y + radius}));
}

bool CanvasPen::CanvasInside(const Point& a, const Point& b) const {
  if (!Near(a) || !Near(b)) return false;
  const PixelRect clip = canvas_.Clip();
  return std::floor(std::min(a.x, b.x)) >= clip.x &&
         std::floor(std::max(a.x, b.x)) < double(clip.x) + clip.width &&
         std::floor(std::min(a.y, b.y)) >= clip.y &&
         std::floor(std::max(a.y, b.y)) < double(clip.y) + clip.height;
}

// A vertex placed from a cosine within e of the library's, with the view's scale folded into the
// centre and the radius, lies within the scaled radius times e of the library's placing, and
// the roundings of both placings: a few ulps of the largest sum involved.
CanvasPen::VertexSlack CanvasPen::VertexSlackOf(const Point& centre, double radius) const {
  constexpr double kScaleSlack = 1.0 + 1e-9;
  constexpr double kRounding = 4e-15;
  constexpr double kSubtraction = 1e-9; // the rounding of a point's place within its pixel
  const double sx = std::fabs(view_.scaleX);
  const double sy = std::fabs(view_.scaleY);
  VertexSlack slack;
  slack.originX = centre.x * view_.scaleX + view_.offsetX;
  slack.originY = centre.y * view_.scaleY + view_.offsetY;
  slack.radiusX = radius * view_.scaleX;
  slack.radiusY = radius * view_.scaleY;
  slack.perErrorX = sx * radius * kScaleSlack;
  slack.perErrorY = sy * radius * kScaleSlack;
  slack.roundingX =
      kRounding * ((std::fabs(centre.x) + radius) * sx + std::fabs(view_.offsetX)) + kSubtraction;
  slack.roundingY =
      kRounding * ((std::fabs(centre.y) + radius) * sy + std::fabs(view_.offsetY)) + kSubtraction;
  return slack;
}

CanvasPen::Reach CanvasPen::ReachOf(const Point& a, const Point& b) const {
  // Far from the window the canvas cuts segments anew; such figures are drawn as they are, and
  // so are those with a coordinate that is not a number.
  if (!Near(a) || !Near(b)) return Reach::kMore;
  const double x0 = std::min(a.x, b.x);
  const double x1 = std::max(a.x, b.x);
  const double y0 = std::min(a.y, b.y);
  const double y1 = std::max(a.y, b.y);
  const double left = std::floor(x0);
  const double right = std::floor(x1);
  const double bottom = std::floor(y0);
  const double top = std::floor(y1);
  // Every pixel lies on a walk between vertex pixels, or in the run of a wide line across it;
  // one pixel more covers the cutting of segments.
  const double grow = std::ceil(widthPixels_) + 1.0;
  const PixelRect clip = canvas_.Clip();
  if (right + grow < clip.x || left - grow >= double(clip.x) + clip.width || top + grow < clip.y ||
      bottom - grow >= double(clip.y) + clip.height) {
    return Reach::kNothing;
  }
  return left == right && bottom == top ? Reach::kOnePixel : Reach::kMore;
}

// Every vertex of a circle or an arc lies within the radius of the centre on both axes, and the
// rounded sums and the view mapping keep that order.
CanvasPen::Reach CanvasPen::CircleReach(const Point& centre, double radius) const {
  return ReachOf(DrawingToCanvas(view_, {centre.x - radius, centre.y - radius}),
                 DrawingToCanvas(view_, {centre.x + radius, centre.y + radius}));
}

void CanvasPen::Dot(const Point& canvasPoint) {
  FlushStrip();
  // Every stipple starts with its bit set, so the first segment paints the pixel.
  canvas_.MoveTo(canvasPoint.x, canvasPoint.y);
  canvas_.LineTo(canvasPoint.x, canvasPoint.y);
}

void CanvasPen::PolylineFigure(const Point* points, int count, bool closed) {
  if (count < 1) return;
  if (!inverting_) {
    Point lo = DrawingToCanvas(view_, points[0]);
    Point hi = lo;
    bool near = Near(lo);
    for (int k = 1; k < count && near; ++k) {
      const Point c = DrawingToCanvas(view_, points[k]);
      near = Near(c);
      lo = {std::min(lo.x, c.x), std::min(lo.y, c.y)};
      hi = {std::max(hi.x, c.x), std::max(hi.y, c.y)};
    }
    const Reach reach = near ? ReachOf(lo, hi) : Reach::kMore;
    if (reach == Reach::kNothing) return;
    if (reach == Reach::kOnePixel) {
      if (count > 1 || closed) Dot(lo);
      return;
    }
  }
  MoveTo(points[0]);
  for (int k = 1; k < count; ++k) LineTo(points[k]);
  if (closed) LineTo(points[0]);
}

void CanvasPen::CircleFigure(const Point& centre, const Point& onCircle) {
  if (!inverting_) {
    const double r = Distance(centre, onCircle);
    const Reach reach = CircleReach(centre, r);
    if (reach == Reach::kNothing) return;
    if (reach == Reach::kOnePixel) {
      // A circle with a single vertex (no radius) draws nothing.
      const double step = ArcStep(paperUnit_, arcAccuracy_, r);
      if (step < kTwoPi + step) Dot(DrawingToCanvas(view_, {centre.x - r, centre.y - r}));
      return;
    }
  }
  DrawCircle(centre, onCircle);
}

void CanvasPen::ArcFigure(const Point& centre, const Point& start, const Point& end) {
  if (SamePoint(start, end) != 0) {
    CircleFigure(centre, start);
    return;
  }
  if (!inverting_) {
    const Sweep sweep = SweepOf(centre, start, end);
    const Reach reach = CircleReach(centre, sweep.radius);
    if (reach == Reach::kNothing) return;
    if (reach == Reach::kOnePixel) {
      if (sweep.a1 + sweep.step > sweep.a0 && sweep.a0 + sweep.step < sweep.a1 + sweep.step) {
        Dot(DrawingToCanvas(view_, {centre.x - sweep.radius, centre.y - sweep.radius}));
      }
      return;
    }
  }
  DrawArc(centre, start, end);
}

} // namespace lumora
