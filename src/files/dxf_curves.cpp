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

} // namespace lumora
