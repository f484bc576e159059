// The geometry of measures: dimension lines and arcs, arrowheads and extension lines.
#include "text/stroke_text.h"
#include "text/text_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace lumora {
namespace {

constexpr double kOrderSlack = 1e-9;
constexpr double kArrowRoom = 1.8;  // text heights of dimension line beyond an outside arrow
constexpr double kOvershoot = 0.4;  // text heights an extension line runs past the measure line
constexpr double kFrameSides = 0.6; // text heights the angle frame widens the box at each end
constexpr double kFrameTop = 0.4;   // text heights the angle frame raises the box
constexpr int kLinearMeasure = 1;
constexpr int kAngleMeasure = 2;
constexpr std::uint32_t kLinearPoints = 3;
constexpr std::uint32_t kAnglePoints = 5;

Point Add(const Point& a, const Point& b) {
  return {a.x + b.x, a.y + b.y};
}
Point Sub(const Point& a, const Point& b) {
  return {a.x - b.x, a.y - b.y};
}
Point Mul(const Point& a, double k) {
  return {a.x * k, a.y * k};
}
double DotOf(const Point& a, const Point& b) {
  return a.x * b.x + a.y * b.y;
}
double CrossOf(const Point& a, const Point& b) {
  return a.x * b.y - a.y * b.x;
}
double Length(const Point& a) {
  return std::hypot(a.x, a.y);
}

// From a measured point towards the measure line, starting gap text heights off the point.
bool ExtensionLine(StrokeSink& sink, const Point& from, const Point& to, double h, double gap) {
  const Point w = Sub(to, from);
  const double len = Length(w);
  if (len <= kGeomTolerance) return true;
  const Point unit = Mul(w, 1 / len);
  return sink.Move(Add(from, Mul(unit, gap * h))) && sink.Line(Add(to, Mul(unit, kOvershoot * h)));
}

bool LinearMeasure(StrokeSink& sink, const TextElement& t, const TextBoxOffsets& o,
                   const Transform& rotation, double h, double gap) {
  const Point* p = t.points;
  Point a = Apply(rotation, p[0].x + o.dx0, p[0].y + o.dy0);
  Point b = Apply(rotation, p[0].x + o.dx1, p[0].y + o.dy0);
  // A goes on the side of the first measured point.
  const Point v = Sub(b, a);
  if (DotOf(Sub(p[1], a), v) >= DotOf(Sub(p[2], a), v) + kOrderSlack) std::swap(a, b);
  const double len = Length(Sub(b, a));
  if (len <= kGeomTolerance) return true;
  const Point u = Mul(Sub(b, a), 1 / len);
  const double s1 = DotOf(Sub(p[1], a), u);
  const double s2 = DotOf(Sub(p[2], b), u);
  const Point f1 = Add(a, Mul(u, s1));
  const Point f2 = Add(b, Mul(u, s2));
  const Point back = Mul(u, -1);
  bool ok;
  if (s1 >= kGeomTolerance || s2 <= -kGeomTolerance) {
    // The text box reaches beyond the measured span: the line runs out to it, arrows outside.
    const double e1 = std::max(s1, kArrowRoom * h);
    const double e2 = std::min(s2, -kArrowRoom * h);
    ok = sink.Move(Sub(f1, Mul(u, e1))) && sink.Line(Sub(f2, Mul(u, e2))) &&
         DrawArrowhead(sink, f1, h, back) && DrawArrowhead(sink, f2, h, u);
  } else {
    ok = sink.Move(f1) && sink.Line(f2) && DrawArrowhead(sink, f1, h, u) &&
         DrawArrowhead(sink, f2, h, back);
  }
  return ok && ExtensionLine(sink, p[1], f1, h, gap) && ExtensionLine(sink, p[2], f2, h, gap);
}

// Unit vector from m towards a side's second point, or its first when the second lies on m.
bool SideDirection(const Point& m, const Point& first, const Point& second, Point& d) {
  for (const Point& q : {second, first}) {
    const double len = Length(Sub(q, m));
    if (len > kGeomTolerance) {
      d = Mul(Sub(q, m), 1 / len);
      return true;
    }
  }
  return false;
}

bool AngleMeasure(StrokeSink& sink, const TextElement& t, const TextBoxOffsets& o,
                  const Transform& rotation, double h, double gap) {
  const Point* p = t.points;
  const double x0 = p[0].x + o.dx0 - kFrameSides * h;
  const double x1 = p[0].x + o.dx1 + kFrameSides * h;
  const double xm = p[0].x + (o.dx0 + o.dx1) / 2;
  const double y0 = p[0].y + o.dy0;
  const double y1 = p[0].y + o.dy1 + kFrameTop * h;
  const std::array<Point, 6> frame{Point{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {xm, y0}, {xm, y1}};
  Point m;
  if (IntersectSegments({p[1], p[2]}, {p[3], p[4]}, m.x, m.y) == 0) return true;
  double r = kNoPoint;
  for (const Point& f : frame) r = std::min(r, Length(Sub(Apply(rotation, f.x, f.y), m)));
  if (r <= kGeomTolerance) return true;
  Point d1, d2;
  if (!SideDirection(m, p[1], p[2], d1) || !SideDirection(m, p[3], p[4], d2)) return true;
  const Point q1 = Add(m, Mul(d1, r));
  const Point q2 = Add(m, Mul(d2, r));
  const double t1 = CrossOf(Sub(p[0], m), d1);
  const double t2 = CrossOf(Sub(p[0], m), d2);
  bool ok;
  if (CrossOf(d1, d2) < kGeomTolerance || (t1 < kGeomTolerance && t2 > -kGeomTolerance)) {
    // The text lies inside the angle (or the angle is half a turn or more): arrows inside.
    ok = sink.Arc(m, q1, q2) && DrawArrowhead(sink, q1, h, {-d1.y, d1.x}) &&
         DrawArrowhead(sink, q2, h, {d2.y, -d2.x});
  } else {
    double a1 = std::atan2(d1.y, d1.x) - kArrowRoom * h / r;
    double a2 = std::atan2(d2.y, d2.x) + kArrowRoom * h / r;
    if (t1 > -kGeomTolerance) a1 -= h / r;
    if (t2 < kGeomTolerance) a2 += h / r;
    const Point s{m.x + r * std::cos(a1), m.y + r * std::sin(a1)};
    const Point e{m.x + r * std::cos(a2), m.y + r * std::sin(a2)};
    ok = sink.Arc(m, s, e) && DrawArrowhead(sink, q1, h, {d1.y, -d1.x}) &&
         DrawArrowhead(sink, q2, h, {-d2.y, d2.x});
  }
  return ok && ExtensionLine(sink, p[1], q1, h, gap) && ExtensionLine(sink, p[3], q2, h, gap);
}

} // namespace

bool DrawArrowhead(StrokeSink& sink, const Point& tip, double size, const Point& d) {
  const Point e{-d.y, d.x};
  const Point base = Add(tip, Mul(d, kArrowLength * size));
  const Point side = Mul(e, kArrowHalfWidth * size);
  return sink.Move(tip) && sink.Line(Add(base, side)) && sink.Line(Sub(base, side)) &&
         sink.Line(tip);
}

bool MeasureStrokes(StrokeSink& sink, const TextElement& t, const TextBoxOffsets& o,
                    const Transform& rotation, double h, double gap) {
  if (t.points == nullptr) return true;
  if (t.mitta() == kLinearMeasure && t.pointCount() >= kLinearPoints)
    return LinearMeasure(sink, t, o, rotation, h, gap);
  if (t.mitta() == kAngleMeasure && t.pointCount() >= kAnglePoints)
    return AngleMeasure(sink, t, o, rotation, h, gap);
  return true;
}

} // namespace lumora
