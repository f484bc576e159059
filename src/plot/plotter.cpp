#include "plot/plotter.h"

#include "plot/paper_unit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace lumora {
namespace {

constexpr double kTenth = 0.1;  // widths are tenths of a millimetre
constexpr double kSame = 0.001; // points this close coincide
constexpr double kFullTurn = 6.283185307;
constexpr double kReachShare = 0.1; // drawing beyond the page by this share is still sent
// Device coordinates stay far inside int; anything further out cannot be on the page anyway.
constexpr double kDeviceLimit = 1.0e9;
// A pattern of more pieces than this on one arc is plotted solid: finer than any pen.
constexpr double kMaxArcPieces = 1.0e6;
// A piece of an arc whose chord strays less than this from it, in device pixels, is sent as its
// chord: a line is a third of what a curve takes to describe and cannot be told from it.
constexpr double kChordTolerance = 0.5;

constexpr InkColour kBlack{0, 0, 0};
constexpr InkColour kInkColours[] = {kBlack,        kBlack,        {0, 0, 200},
                                     {0, 200, 0},   {0, 200, 200}, {255, 0, 0},
                                     {200, 0, 200}, {110, 90, 60}, {123, 123, 123}};

bool BoxInside(const Box& inner, const Box& outer) {
  return inner.xmin >= outer.xmin - kSame && inner.ymin >= outer.ymin - kSame &&
         inner.xmax <= outer.xmax + kSame && inner.ymax <= outer.ymax + kSame;
}

int DeviceCoordinate(double v) {
  return int(std::clamp(std::trunc(v), -kDeviceLimit, kDeviceLimit));
}

// Liang-Barsky: the share [t0, t1] of p + t·d, t in [0, 1], inside the box; false when none
// or when the segment is not made of numbers.
bool ClipToBox(const Point& p, const Point& d, const Box& box, double& t0, double& t1) {
  t0 = 0.0;
  t1 = 1.0;
  const double q[4] = {p.x - box.xmin, box.xmax - p.x, p.y - box.ymin, box.ymax - p.y};
  const double r[4] = {-d.x, d.x, -d.y, d.y};
  for (int k = 0; k < 4; ++k) {
    if (!std::isfinite(q[k]) || !std::isfinite(r[k])) return false;
    if (r[k] == 0.0) {
      if (q[k] < 0.0) return false;
      continue;
    }
    const double t = q[k] / r[k];
    if (r[k] < 0.0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
  }
  return t0 <= t1;
}

// A piece of a dash pattern within one period: [from, to] after the period's start.
struct Dash {
  double from = 0.0;
  double to = 0.0;
};

// The dash pattern of a style: the pieces of one period. Style 1 has none: it is solid.
struct Pattern {
  double period = 0.0;
  Dash dashes[2];
  int count = 0;
};

Pattern PatternFor(int style, double s, double dot) {
  Pattern p;
  switch (style) {
  case 2: // dash a quarter period, gap a quarter
    p = {s / 2.0, {{0.0, s / 4.0}, {}}, 1};
    break;
  case 3: // dots
    p = {s / 4.0, {{0.0, dot}, {}}, 1};
    break;
  case 4: // dash and dot
    p = {s, {{0.0, s / 2.0}, {0.75 * s, 0.75 * s + dot}}, 2};
    break;
  default:
    break;
  }
  return p;
}

} // namespace

void PlotterSetUp(PlotterState& state, Drawing& drawing, int paperWidth, int paperHeight,
                  MessageSink& messages) {
  state.paperWidth = paperWidth;
  state.paperHeight = paperHeight;
  if (!state.sizeShown) {
    state.sizeShown = true;
    messages.Show(MessageKind::kMessage, "Size of plotting area is " + std::to_string(paperWidth) +
                                             "x" + std::to_string(paperHeight) + ".");
  }
  InferPaperUnit(drawing, paperWidth, paperHeight);
}

PlotMapping MappingFor(const Drawing& drawing, const Box& viewBox, int horzRes, int vertRes) {
  PlotMapping m;
  m.horzRes = horzRes;
  m.vertRes = vertRes;
  // The set-up's unit, the one texts are laid out with; inferring it again here could give
  // another and plot the drawing at another size than its texts.
  m.unit = drawing.paperUnit > 0.0 && std::isfinite(drawing.paperUnit)
               ? drawing.paperUnit
               : PaperUnitFor(drawing, double(horzRes) / kDevicePixelsPerMillimetre,
                              double(vertRes) / kDevicePixelsPerMillimetre);
  const Box& limits = drawing.limits;
  const double limitsWidth = limits.xmax - limits.xmin;
  const double limitsHeight = limits.ymax - limits.ymin;
  if (BoxInside(limits, viewBox)) {
    m.origin = {limits.xmin, limits.ymin};
    m.rotated = limitsWidth > limitsHeight;
  } else {
    // Only part of the sheet is in view: that part fills the page as the sheet would.
    const double viewWidth = viewBox.xmax - viewBox.xmin;
    const double viewHeight = viewBox.ymax - viewBox.ymin;
    m.origin = {viewBox.xmin, viewBox.ymin};
    if (viewWidth > 0.0 && viewHeight > 0.0)
      m.enlargement = std::min(limitsWidth / viewWidth, limitsHeight / viewHeight);
    if (!(m.enlargement > 0.0) || !std::isfinite(m.enlargement)) m.enlargement = 1.0;
    m.rotated = viewWidth > viewHeight;
  }
  m.pixelsPerMillimetre = kDevicePixelsPerMillimetre * m.enlargement;
  m.kx = m.pixelsPerMillimetre / m.unit;
  m.ky = m.kx;
  return m;
}

DevicePoint ToDevice(const PlotMapping& m, const Point& p) {
  const double dx = p.x - m.origin.x;
  const double dy = p.y - m.origin.y;
  if (m.rotated)
    return {m.horzRes - DeviceCoordinate(dy * m.kx), m.vertRes - DeviceCoordinate(dx * m.ky)};
  return {DeviceCoordinate(dx * m.kx), m.vertRes - DeviceCoordinate(dy * m.ky)};
}

InkColour PlotColour(int colour) {
  if (colour < 0 || colour >= int(std::size(kInkColours))) return kBlack;
  return kInkColours[colour];
}

Plotter::Plotter(PageDevice& device, const PlotMapping& mapping) : device_(device), m_(mapping) {
  // The page in drawing units, with a margin so that wide pens at the edge still show.
  const double across = (m_.rotated ? m_.vertRes : m_.horzRes) / m_.kx;
  const double up = (m_.rotated ? m_.horzRes : m_.vertRes) / m_.ky;
  reach_ = {m_.origin.x - kReachShare * across, m_.origin.y - kReachShare * up,
            m_.origin.x + (1.0 + kReachShare) * across, m_.origin.y + (1.0 + kReachShare) * up};
}

int Plotter::SelectPlotPen(int widthTenths, int colour) {
  // The dot is as long as the pen is wide, on paper.
  dot_ = widthTenths * kTenth * m_.unit;
  const int pixels = int(widthTenths * m_.pixelsPerMillimetre * kTenth);
  return device_.SetPen(pixels, PlotColour(colour)) ? 1 : 0;
}

int Plotter::SetPlotStyle(int style, int section) {
  style_ = style;
  section_ = section * m_.unit; // millimetres on paper
  return 1;
}

int Plotter::PlotMoveTo(const Point& p) {
  current_ = p;
  return 1;
}

bool Plotter::DevicePeriodTooShort(double period) const {
  // A dash period below a device pixel, or none at all, cannot be drawn as dashes.
  return !(period * m_.kx >= 1.0);
}

bool Plotter::Piece(const Point& p, const Point& d, double t0, double t1) {
  const DevicePoint a = ToDevice(m_, {p.x + t0 * d.x, p.y + t0 * d.y});
  const DevicePoint b = ToDevice(m_, {p.x + t1 * d.x, p.y + t1 * d.y});
  if (!atKnown_ || !(at_ == a)) {
    if (!device_.MoveTo(a.x, a.y)) return false;
  }
  at_ = b;
  atKnown_ = true;
  return device_.LineTo(b.x, b.y);
}

int Plotter::PlotLineTo(const Point& q) {
  if (style_ < 1 || style_ > 4) return 1; // not plotted; the current point stays
  const Point p = current_;
  current_ = q;
  const Point d{q.x - p.x, q.y - p.y};
  double c0 = 0.0;
  double c1 = 0.0;
  if (!ClipToBox(p, d, reach_, c0, c1)) return 1;
  const double length = std::hypot(d.x, d.y);
  const Pattern pattern = PatternFor(style_, section_, dot_);
  const double period = pattern.period;
  if (style_ == 1 || !(length > 0.0) || !std::isfinite(length) || DevicePeriodTooShort(period))
    return Piece(p, d, c0, c1) ? 1 : 0;
  // Distances along the segment from p; only the periods that reach the page are walked, and
  // they are counted, so that far-out coordinates cannot keep the walk from ending.
  const double from = c0 * length;
  const double to = c1 * length;
  const double first = std::floor(from / period) * period;
  const double periods = std::ceil((to - first) / period);
  for (double n = 0.0; n <= periods; n += 1.0) {
    const double base = first + n * period;
    for (int k = 0; k < pattern.count; ++k) {
      const Dash& dash = pattern.dashes[k];
      const double start = std::max(base + dash.from, from);
      const double end = std::min({base + dash.to, length, to});
      if (base + dash.from >= length || start > end) continue;
      if (!Piece(p, d, start / length, end / length)) return 0;
    }
  }
  return 1;
}

bool Plotter::ArcPiece(const Point& centre, double radius, double a0, double a1) {
  // How far the middle of the piece lies from its chord, in device pixels.
  const double bulge = radius * m_.kx * (1.0 - std::cos((a1 - a0) / 2.0));
  if (bulge < kChordTolerance) {
    const Point p{centre.x + radius * std::cos(a0), centre.y + radius * std::sin(a0)};
    const Point q{centre.x + radius * std::cos(a1), centre.y + radius * std::sin(a1)};
    return Piece(p, {q.x - p.x, q.y - p.y}, 0.0, 1.0);
  }
  atKnown_ = false;
  const DevicePoint c = ToDevice(m_, centre);
  // Both mappings keep the page's sense of turning; y down makes it a falling angle.
  const double turn = m_.rotated ? std::numbers::pi / 2.0 : 0.0;
  return device_.Arc(c.x, c.y, radius * m_.kx, -(a0 + turn), -(a1 + turn));
}

int Plotter::PlotArc(const Point& centre, const Point& start, const Point& end) {
  if (style_ < 1 || style_ > 4) return 1;
  const double radius = std::hypot(start.x - centre.x, start.y - centre.y);
  if (!std::isfinite(radius) || !std::isfinite(end.x) || !std::isfinite(end.y)) return 1;
  // An arc that cannot come near the page is left out; its device numbers would not fit.
  if (centre.x + radius < reach_.xmin || centre.x - radius > reach_.xmax ||
      centre.y + radius < reach_.ymin || centre.y - radius > reach_.ymax ||
      radius * m_.kx > kDeviceLimit)
    return 1;
  const double as = std::atan2(start.y - centre.y, start.x - centre.x);
  const double ae = std::atan2(end.y - centre.y, end.x - centre.x);
  double sweep = ae - as;
  if (sweep <= kSame) sweep += kFullTurn;
  const bool closed = std::fabs(start.x - end.x) < kSame && std::fabs(start.y - end.y) < kSame;
  if (closed) sweep = kFullTurn;
  const double length = sweep * radius;
  const Pattern pattern = PatternFor(style_, section_, dot_);
  const double period = pattern.period;
  if (style_ == 1 || radius <= 0.0 || DevicePeriodTooShort(period) ||
      length / period > kMaxArcPieces)
    return ArcPiece(centre, radius, as, as + sweep) ? 1 : 0;
  for (double k = 0.0; k * period < length; k += 1.0) {
    for (int n = 0; n < pattern.count; ++n) {
      const Dash& dash = pattern.dashes[n];
      const double t0 = k * period + dash.from;
      if (t0 >= length) continue;
      const double t1 = std::min(k * period + dash.to, length);
      if (!ArcPiece(centre, radius, as + t0 / radius, as + t1 / radius)) return 0;
    }
  }
  return 1;
}

} // namespace lumora
