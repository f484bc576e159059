// Distances, products and projections of plane vectors.
#include "geometry/primitives.h"

#include <cmath>

namespace lumora {

double Distance(double x1, double y1, double x2, double y2, int euclid) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  return euclid != 0 ? std::sqrt(dx * dx + dy * dy) : std::abs(dx) + std::abs(dy);
}

double Distance(const Point& p, const Point& q, int euclid) {
  return Distance(p.x, p.y, q.x, q.y, euclid);
}

namespace {

// Vectors too short to have a direction keep their length.
void Normalise(double& x, double& y) {
  const double len = std::sqrt(x * x + y * y);
  if (len > kGeomTolerance) {
    x /= len;
    y /= len;
  }
}

} // namespace

double Cross(double ux, double uy, double vx, double vy, int unit) {
  if (unit != 0) {
    Normalise(ux, uy);
    Normalise(vx, vy);
  }
  return ux * vy - uy * vx;
}

double Dot(double ux, double uy, double vx, double vy, int unit) {
  if (unit != 0) {
    Normalise(ux, uy);
    Normalise(vx, vy);
  }
  return ux * vx + uy * vy;
}

double TurnKey(double x1, double y1, double x2, double y2, double ox, double oy, int unit) {
  const double ux = x1 - ox;
  const double uy = y1 - oy;
  const double vx = x2 - ox;
  const double vy = y2 - oy;
  const double dotUV = Dot(ux, uy, vx, vy, unit);
  if (Cross(ux, uy, vx, vy, unit) <= 0.0) return -dotUV;
  return 2.0 * Dot(ux, uy, ux, uy, unit) + dotUV;
}

double Projection(double x, double y, double angle, int absolute) {
  const double rad = angle * kDegToRad;
  const double p = x * std::cos(rad) + y * std::sin(rad);
  return absolute != 0 ? std::abs(p) : p;
}

} // namespace lumora
