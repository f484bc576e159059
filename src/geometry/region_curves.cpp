// Meetings of straight and round pieces, and the area and inside test of loops made of them.
#include "geometry/region.h"

#include <algorithm>
#include <cmath>

namespace lumora {

namespace {

constexpr double kTol = kGeomTolerance;

double CrossOf(const Point& u, const Point& v) {
  return u.x * v.y - u.y * v.x;
}

Point Minus(const Point& p, const Point& q) {
  return {p.x - q.x, p.y - q.y};
}

// The angle of q about o from the curve's start, in [0, 2 pi).
double AngleFromStart(const RegionCurve& c, const Point& q) {
  double a = std::atan2(q.y - c.o.y, q.x - c.o.x) - c.start;
  a = std::fmod(a, kFullTurnRadians);
  if (a < 0.0) a += kFullTurnRadians;
  return a;
}

// Where q lies on the curve, when it lies within the tolerance of it.
bool OnCurve(const RegionCurve& c, const Point& q, double& at) {
  if (!c.round) {
    const Point u = Minus(c.b, c.a);
    const double len2 = u.x * u.x + u.y * u.y;
    const double t = std::clamp((Minus(q, c.a).x * u.x + Minus(q, c.a).y * u.y) / len2, 0.0, 1.0);
    const Point foot{c.a.x + t * u.x, c.a.y + t * u.y};
    if (Distance(q, foot) > kTol) return false;
    at = t;
    return true;
  }
  if (std::abs(Distance(q, c.o) - c.r) > kTol) return false;
  const double a = AngleFromStart(c, q);
  if (a <= c.sweep) {
    at = a;
    return true;
  }
  // Just past either end, as near as the tolerance.
  if (Distance(q, CurvePoint(c, 0.0)) <= kTol) {
    at = 0.0;
    return true;
  }
  if (Distance(q, CurvePoint(c, c.sweep)) <= kTol) {
    at = c.sweep;
    return true;
  }
  return false;
}

void Meet(const RegionCurve& a, const RegionCurve& b, const Point& q, std::vector<double>& onA,
          std::vector<double>& onB) {
  double ta = 0.0;
  double tb = 0.0;
  if (OnCurve(a, q, ta) && OnCurve(b, q, tb)) {
    onA.push_back(ta);
    onB.push_back(tb);
  }
}

bool FullTurn(const RegionCurve& c) {
  return c.round && c.sweep >= kFullTurnRadians - 1e-12;
}

// An end of one curve lying on the other splits the other there.
void EndsOn(const RegionCurve& from, const RegionCurve& on, std::vector<double>& onFrom,
            std::vector<double>& onOn) {
  if (FullTurn(from)) return;
  const double ends[2] = {0.0, from.round ? from.sweep : 1.0};
  for (const double end : ends) {
    double t = 0.0;
    if (OnCurve(on, CurvePoint(from, end), t)) {
      onFrom.push_back(end);
      onOn.push_back(t);
    }
  }
}

void LineCircle(const RegionCurve& s, const RegionCurve& c, std::vector<double>& onS,
                std::vector<double>& onC) {
  const Point u = Minus(s.b, s.a);
  const double len = std::hypot(u.x, u.y);
  const Point d{u.x / len, u.y / len};
  const Point w = Minus(c.o, s.a);
  const double along = w.x * d.x + w.y * d.y;
  const Point foot{s.a.x + along * d.x, s.a.y + along * d.y};
  const double off = Distance(foot, c.o);
  if (off > c.r + kTol) return;
  const double h = std::sqrt(std::max(0.0, c.r * c.r - off * off));
  Meet(s, c, {foot.x + h * d.x, foot.y + h * d.y}, onS, onC);
  if (h > 0.0) Meet(s, c, {foot.x - h * d.x, foot.y - h * d.y}, onS, onC);
}

void CircleCircle(const RegionCurve& a, const RegionCurve& b, std::vector<double>& onA,
                  std::vector<double>& onB) {
  const double d = Distance(a.o, b.o);
  if (d < kTol) return; // one circle: overlaps are found by the ends
  if (d > a.r + b.r + kTol || d < std::abs(a.r - b.r) - kTol) return;
  const double along = (d * d + a.r * a.r - b.r * b.r) / (2.0 * d);
  const double h = std::sqrt(std::max(0.0, a.r * a.r - along * along));
  const Point u{(b.o.x - a.o.x) / d, (b.o.y - a.o.y) / d};
  const Point base{a.o.x + along * u.x, a.o.y + along * u.y};
  Meet(a, b, {base.x - h * u.y, base.y + h * u.x}, onA, onB);
  if (h > 0.0) Meet(a, b, {base.x + h * u.y, base.y - h * u.x}, onA, onB);
}

} // namespace

Point CurvePoint(const RegionCurve& c, double at) {
  if (!c.round) return {c.a.x + at * (c.b.x - c.a.x), c.a.y + at * (c.b.y - c.a.y)};
  return {c.o.x + c.r * std::cos(c.start + at), c.o.y + c.r * std::sin(c.start + at)};
}

Box CurveBox(const RegionCurve& c) {
  if (c.round) return {c.o.x - c.r, c.o.y - c.r, c.o.x + c.r, c.o.y + c.r};
  return {std::min(c.a.x, c.b.x), std::min(c.a.y, c.b.y), std::max(c.a.x, c.b.x),
          std::max(c.a.y, c.b.y)};
}

void CurveMeetings(const RegionCurve& a, const RegionCurve& b, std::vector<double>& onA,
                   std::vector<double>& onB) {
  EndsOn(a, b, onA, onB);
  EndsOn(b, a, onB, onA);
  if (!a.round && !b.round) {
    const Point u = Minus(a.b, a.a);
    const Point v = Minus(b.b, b.a);
    const double den = CrossOf(u, v);
    // Parallel pieces meet only where an end lies on the other.
    if (std::abs(den) <= 1e-12 * std::hypot(u.x, u.y) * std::hypot(v.x, v.y)) return;
    const double t = CrossOf(Minus(b.a, a.a), v) / den;
    Meet(a, b, {a.a.x + t * u.x, a.a.y + t * u.y}, onA, onB);
  } else if (!a.round) {
    LineCircle(a, b, onA, onB);
  } else if (!b.round) {
    LineCircle(b, a, onB, onA);
  } else {
    CircleCircle(a, b, onA, onB);
  }
}

double LoopArea(std::span<const RegionEdge> edges) {
  if (edges.empty()) return 0.0;
  // Measured from the first point, so far-off coordinates lose no digits.
  const Point ref = edges.front().from;
  double twice = 0.0;
  for (const RegionEdge& e : edges) {
    twice += CrossOf(Minus(e.from, ref), Minus(e.to, ref));
    if (e.round) {
      const double segment = e.r * e.r * (e.sweep - std::sin(e.sweep));
      twice += e.ccw ? segment : -segment;
    }
  }
  return twice / 2.0;
}

bool InsideLoop(const Point& p, std::span<const RegionEdge> edges) {
  double turn = 0.0;
  for (const RegionEdge& e : edges) {
    const Point a = Minus(e.from, p);
    const Point b = Minus(e.to, p);
    turn += std::atan2(CrossOf(a, b), a.x * b.x + a.y * b.y);
    if (!e.round || Distance(p, e.o) >= e.r) continue;
    // Inside the circle and between the chord and the arc, the arc winds once more about p.
    const double mid =
        std::atan2(e.from.y - e.o.y, e.from.x - e.o.x) + (e.ccw ? e.sweep / 2.0 : -e.sweep / 2.0);
    const Point m{e.o.x + e.r * std::cos(mid), e.o.y + e.r * std::sin(mid)};
    const Point chord = Minus(e.to, e.from);
    const double side = CrossOf(chord, Minus(p, e.from));
    const double arcSide = CrossOf(chord, Minus(m, e.from));
    if ((side > 0.0) == (arcSide > 0.0)) turn += e.ccw ? kFullTurnRadians : -kFullTurnRadians;
  }
  return std::abs(turn) > kFullTurnRadians / 2.0;
}

} // namespace lumora
