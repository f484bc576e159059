#include "files/dxf_curves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumora {
namespace {

constexpr double kTinyBulge = 1e-9;
constexpr double kMinStep = std::numbers::pi / 180.0; // one degree
constexpr int kSplineSamplesPerSpan = 16;

// The angle step whose chords stay within the accuracy of a circle of the radius.
double StepFor(double radius, double accuracy) {
  if (!(radius > accuracy) || !(accuracy > 0)) return kMinStep * 10;
  return std::max(kMinStep, 2.0 * std::acos(1.0 - accuracy / radius));
}

} // namespace

bool BulgeArc(const Point& p, const Point& q, double bulge, Point out[3]) {
  const double dx = q.x - p.x;
  const double dy = q.y - p.y;
  const double chord = std::hypot(dx, dy);
  if (!(std::fabs(bulge) > kTinyBulge) || !(chord > 0) || !std::isfinite(bulge)) return false;
  // The centre lies on the chord's left normal (right for a negative bulge) at this distance.
  const double along = (1.0 - bulge * bulge) / (4.0 * bulge);
  const Point centre{p.x + dx / 2 - dy * along, p.y + dy / 2 + dx * along};
  out[0] = centre;
  out[1] = bulge > 0 ? p : q;
  out[2] = bulge > 0 ? q : p;
  return true;
}

std::vector<Point> EllipsePoints(const Point& centre, const Point& major, double ratio, double t1,
                                 double t2, double accuracy) {
  std::vector<Point> points;
  const double radius = std::hypot(major.x, major.y);
  if (!std::isfinite(radius) || !std::isfinite(ratio) || !std::isfinite(t1) || !std::isfinite(t2))
    return points;
  // Parameters far beyond a turn are taken modulo it first: adding turns to a huge number would
  // never move it.
  constexpr double kTurn = 2 * std::numbers::pi;
  t1 = std::fmod(t1, kTurn);
  t2 = std::fmod(t2, kTurn);
  while (t2 <= t1) t2 += kTurn;
  if (t2 - t1 > kTurn) t2 = t1 + kTurn;
  const int count = std::clamp(static_cast<int>(std::ceil((t2 - t1) / StepFor(radius, accuracy))),
                               4, kMaxCurvePoints - 1);
  const Point minor{-major.y * ratio, major.x * ratio};
  for (int k = 0; k <= count; ++k) {
    const double t = t1 + (t2 - t1) * k / count;
    points.push_back({centre.x + major.x * std::cos(t) + minor.x * std::sin(t),
                      centre.y + major.y * std::cos(t) + minor.y * std::sin(t)});
  }
  return points;
}

std::vector<Point> SplinePoints(int degree, std::span<const double> knots,
                                std::span<const Point> control, std::span<const double> weights,
                                double accuracy) {
  std::vector<Point> points;
  const auto n = static_cast<int>(control.size());
  if (degree < 1 || degree > 10 || n <= degree ||
      knots.size() != static_cast<std::size_t>(n + degree + 1) ||
      (!weights.empty() && weights.size() != control.size()))
    return points;
  const double lo = knots[static_cast<std::size_t>(degree)];
  const double hi = knots[static_cast<std::size_t>(n)];
  if (!(hi > lo) || !std::is_sorted(knots.begin(), knots.end())) return points;
  (void)accuracy; // the samples per span already stay well within paper accuracy
  const int samples = std::min(kMaxCurvePoints - 1, kSplineSamplesPerSpan * (n - degree));
  std::vector<double> wx(static_cast<std::size_t>(degree + 1));
  std::vector<double> wy(wx.size());
  std::vector<double> ww(wx.size());
  for (int s = 0; s <= samples; ++s) {
    const double t = s == samples ? hi : lo + (hi - lo) * s / samples;
    int span = degree;
    while (span < n - 1 && knots[static_cast<std::size_t>(span + 1)] <= t) ++span;
    // De Boor's algorithm on homogeneous points.
    for (int j = 0; j <= degree; ++j) {
      const auto i = static_cast<std::size_t>(span - degree + j);
      const double w = weights.empty() ? 1.0 : weights[i];
      wx[static_cast<std::size_t>(j)] = control[i].x * w;
      wy[static_cast<std::size_t>(j)] = control[i].y * w;
      ww[static_cast<std::size_t>(j)] = w;
    }
    for (int r = 1; r <= degree; ++r) {
      for (int j = degree; j >= r; --j) {
        const auto i = static_cast<std::size_t>(span - degree + j);
        const double a0 = knots[i];
        const double a1 = knots[i + static_cast<std::size_t>(degree - r + 1)];
        const double alpha = a1 > a0 ? (t - a0) / (a1 - a0) : 0.0;
        const auto uj = static_cast<std::size_t>(j);
        wx[uj] = (1 - alpha) * wx[uj - 1] + alpha * wx[uj];
        wy[uj] = (1 - alpha) * wy[uj - 1] + alpha * wy[uj];
        ww[uj] = (1 - alpha) * ww[uj - 1] + alpha * ww[uj];
      }
    }
    const auto top = static_cast<std::size_t>(degree);
    if (!(std::fabs(ww[top]) > 0)) return {};
    points.push_back({wx[top] / ww[top], wy[top] / ww[top]});
  }
  return points;
}

std::vector<Point> FitPointCurve(std::span<const Point> fit, const Point& startTangent,
                                 const Point& endTangent) {
  // Repeated points give a span of no length: they are one point.
  std::vector<Point> p;
  std::vector<double> t;
  for (const Point& q : fit) {
    const double step = p.empty() ? 0.0 : std::hypot(q.x - p.back().x, q.y - p.back().y);
    if (!p.empty() && !(step > 0)) continue;
    t.push_back(p.empty() ? 0.0 : t.back() + step);
    p.push_back(q);
  }
  const std::size_t n = p.size();
  if (n < 2 || !std::isfinite(t.back())) return {};
  if (n == 2) return p;
  // The second derivatives at the points (x and y at once) from the tridiagonal system of a
  // cubic spline; an end with a tangent is held to it, one without bends freely.
  const auto unit = [](const Point& v) {
    const double length = std::hypot(v.x, v.y);
    return length > 0 && std::isfinite(length) ? Point{v.x / length, v.y / length} : Point{0, 0};
  };
  const Point d0 = unit(startTangent);
  const Point dn = unit(endTangent);
  const bool clamp0 = d0.x != 0 || d0.y != 0;
  const bool clampN = dn.x != 0 || dn.y != 0;
  std::vector<double> diag(n), upper(n), lower(n);
  std::vector<Point> rhs(n);
  const auto slope = [&](std::size_t k) {
    const double h = t[k + 1] - t[k];
    return Point{(p[k + 1].x - p[k].x) / h, (p[k + 1].y - p[k].y) / h};
  };
  for (std::size_t k = 1; k + 1 < n; ++k) {
    const double h0 = t[k] - t[k - 1];
    const double h1 = t[k + 1] - t[k];
    lower[k] = h0;
    diag[k] = 2 * (h0 + h1);
    upper[k] = h1;
    const Point s0 = slope(k - 1);
    const Point s1 = slope(k);
    rhs[k] = {6 * (s1.x - s0.x), 6 * (s1.y - s0.y)};
  }
  const double hFirst = t[1] - t[0];
  const double hLast = t[n - 1] - t[n - 2];
  diag[0] = clamp0 ? 2 * hFirst : 1;
  upper[0] = clamp0 ? hFirst : 0;
  rhs[0] = clamp0 ? Point{6 * (slope(0).x - d0.x), 6 * (slope(0).y - d0.y)} : Point{0, 0};
  diag[n - 1] = clampN ? 2 * hLast : 1;
  lower[n - 1] = clampN ? hLast : 0;
  rhs[n - 1] =
      clampN ? Point{6 * (dn.x - slope(n - 2).x), 6 * (dn.y - slope(n - 2).y)} : Point{0, 0};
  // Forward elimination and back substitution (the system is diagonally dominant).
  for (std::size_t k = 1; k < n; ++k) {
    const double f = lower[k] / diag[k - 1];
    diag[k] -= f * upper[k - 1];
    rhs[k] = {rhs[k].x - f * rhs[k - 1].x, rhs[k].y - f * rhs[k - 1].y};
  }
  std::vector<Point> m(n);
  m[n - 1] = {rhs[n - 1].x / diag[n - 1], rhs[n - 1].y / diag[n - 1]};
  for (std::size_t k = n - 1; k-- > 0;)
    m[k] = {(rhs[k].x - upper[k] * m[k + 1].x) / diag[k],
            (rhs[k].y - upper[k] * m[k + 1].y) / diag[k]};
  const int perSpan =
      std::max(1, std::min(kSplineSamplesPerSpan, (kMaxCurvePoints - 1) / static_cast<int>(n - 1)));
  std::vector<Point> out;
  out.reserve((n - 1) * static_cast<std::size_t>(perSpan) + 1);
  for (std::size_t k = 0; k + 1 < n; ++k) {
    const double h = t[k + 1] - t[k];
    for (int s = 0; s < perSpan; ++s) {
      const double b = static_cast<double>(s) / perSpan;
      const double a = 1 - b;
      const double c = (a * a * a - a) * h * h / 6;
      const double d = (b * b * b - b) * h * h / 6;
      out.push_back({a * p[k].x + b * p[k + 1].x + c * m[k].x + d * m[k + 1].x,
                     a * p[k].y + b * p[k + 1].y + c * m[k].y + d * m[k + 1].y});
    }
  }
  out.push_back(p.back());
  return out;
}

} // namespace lumora
