// Finding lines, points and vertices near a point, and the element under the cursor.
#include "element_geometry/element_geometry.h"
#include "element_geometry/line_walk.h"

#include <cmath>

namespace lumora {

std::span<Point> PointsOf(LineElement& line) {
  if (line.points == nullptr) return {};
  return {line.points, line.ps0()};
}

std::span<const Point> PointsOf(const LineElement& line) {
  if (line.points == nullptr) return {};
  return {line.points, line.ps0()};
}

bool IsRound(const LineElement& line) {
  return line.shape() == kShapeArc || line.shape() == kShapeCircle;
}

void ElementGeometry::QueryMasks(const Point& p, double r, std::uint16_t& qx,
                                 std::uint16_t& qy) const {
  const Box& limits = drawing_.limits;
  qx = ZoneMask(p.x - r, p.x + r, limits.xmin, limits.xmax);
  qy = ZoneMask(p.y - r, p.y + r, limits.ymin, limits.ymax);
}

template <class Element>
bool ElementGeometry::Candidate(const Element& e, std::uint16_t qx, std::uint16_t qy) const {
  return ZonesOverlap(static_cast<std::uint16_t>(e.zoneX()), static_cast<std::uint16_t>(e.zoneY()),
                      qx, qy) != 0 &&
         e.hidden() == 0 && drawing_.layerVisible[e.layer()] != 0;
}

template bool ElementGeometry::Candidate(const LineElement&, std::uint16_t, std::uint16_t) const;
template bool ElementGeometry::Candidate(const FillingElement&, std::uint16_t, std::uint16_t) const;
template bool ElementGeometry::Candidate(const TextElement&, std::uint16_t, std::uint16_t) const;

LineElement* ElementGeometry::NearestLine(const Point& p, Point& nearest, double k, bool direction,
                                          double angle) {
  double r = settings.Radius(k);
  std::uint16_t qx = 0;
  std::uint16_t qy = 0;
  QueryMasks(p, r, qx, qy);
  const LineElement* previous = store_.LastLinePick();
  const Probe probe = MakeProbe(p, r, direction, angle);
  const ZoneGaps gaps(drawing_.limits, p);
  LineElement* best = nullptr;
  for (LineElement* line = drawing_.lines; line != nullptr; line = line->next) {
    if (!Candidate(*line, qx, qy)) continue;
    // A line whose strips lie beyond the radius can neither win nor tie: no exact test.
    const double gx = gaps.X(static_cast<std::uint16_t>(line->zoneX()));
    const double gy = gaps.Y(static_cast<std::uint16_t>(line->zoneY()));
    if (gx + gy > 0.0 && gx * gx + gy * gy >= (r + kGeomTolerance) * (r + kGeomTolerance)) {
      continue;
    }
    LineHit hit;
    const double d = NearestOnLineWithin(*line, p, r + kGeomTolerance, probe, hit);
    if (d < r - kGeomTolerance) {
      best = line;
      nearest = hit.point;
      r = d;
    } else if (!direction && best != nullptr && best == previous && d < r + kGeomTolerance) {
      // Equally near lines: a repeated pick steps to the next one after the previous result.
      best = line;
      nearest = hit.point;
      r = d;
    }
  }
  store_.RememberLinePick(best);
  return best;
}

int ElementGeometry::NearestOnLine(const LineElement& line, const Point& p, LineHit& hit, double k,
                                   bool direction, double angle) const {
  const double r = k == 0.0 ? kGeomTolerance : k * settings.SearchUnit();
  const Probe probe = MakeProbe(p, r, direction, angle);
  LineHit found;
  if (NearestOnLineWithin(line, p, r, probe, found) >= r) return 0;
  hit = found;
  return 1;
}

LineElement* ElementGeometry::NearestLinePoint(const Point& p, Point& found, double k) const {
  double r = settings.Radius(k);
  std::uint16_t qx = 0;
  std::uint16_t qy = 0;
  QueryMasks(p, r, qx, qy);
  const ZoneGaps gaps(drawing_.limits, p);
  LineElement* best = nullptr;
  for (LineElement* line = drawing_.lines; line != nullptr; line = line->next) {
    if (!Candidate(*line, qx, qy)) continue;
    // An arc's centre may lie outside its box; every other stored point lies in it.
    if (line->shape() != kShapeArc && gaps.X(static_cast<std::uint16_t>(line->zoneX())) +
                                              gaps.Y(static_cast<std::uint16_t>(line->zoneY())) >=
                                          r) {
      continue;
    }
    std::span<const Point> points = PointsOf(*line);
    // A circle offers only its centre.
    if (line->shape() == kShapeCircle)
      points = points.first(std::min<std::size_t>(1, points.size()));
    for (const Point& q : points) {
      const double d = Distance(p, q, 0);
      if (d < r) {
        best = line;
        found = q;
        r = d;
      }
    }
  }
  return best;
}

int ElementGeometry::NearestVertex(const LineElement& line, const Point& p, Point& vertex,
                                   int& index, double k) const {
  const std::span<const Point> points = PointsOf(line);
  const int count = static_cast<int>(points.size());
  double r = k * settings.SearchUnit();
  int result = 0;
  int found = -1;
  for (int i = IsRound(line) ? 1 : 0; i < count; ++i) {
    const Point& v = points[static_cast<std::size_t>(i)];
    const double d = Distance(p, v, 0);
    if (d >= r + kGeomTolerance) continue;
    if (found >= 0 && SamePoint(v, points[static_cast<std::size_t>(found)])) {
      // The line meets itself here. At its last vertex the side that looks more towards p wins.
      result = 2;
      if (i == count - 1 && i >= 1 && found + 1 < count) {
        const Point& before = points[static_cast<std::size_t>(i - 1)];
        const Point& first = points[static_cast<std::size_t>(found)];
        const Point& after = points[static_cast<std::size_t>(found + 1)];
        const double toLast = Dot(before.x - v.x, before.y - v.y, p.x - v.x, p.y - v.y, 1);
        const double toFirst =
            Dot(after.x - first.x, after.y - first.y, p.x - first.x, p.y - first.y, 1);
        if (toLast > toFirst) found = i;
      }
      continue;
    }
    found = i;
    result = 1;
    r = d;
  }
  if (result == 0) return 0;
  index = found;
  vertex = points[static_cast<std::size_t>(found)];
  return result;
}

int ElementGeometry::EndsAt(const LineElement& line, const Point& p, Point& otherEnd, double tol) {
  const std::span<const Point> points = PointsOf(line);
  std::size_t first = 0;
  if (line.shape() == kShapeArc) {
    first = 1;
  } else if (line.shape() != kShapeOpen) {
    return 0;
  }
  if (points.size() < first + 2) return 0;
  const Point& a = points[first];
  const Point& b = points.back();
  const bool atFirst = SamePointWithin(a.x, a.y, p.x, p.y, tol) != 0;
  const bool atLast = SamePointWithin(b.x, b.y, p.x, p.y, tol) != 0;
  if (atFirst && atLast) {
    otherEnd = b;
    return 2;
  }
  if (atFirst) otherEnd = b;
  if (atLast) otherEnd = a;
  return atFirst || atLast ? 1 : 0;
}

LineElement* ElementGeometry::LineEndingAt(const LineElement* skip, const Point& p, Point& otherEnd,
                                           double tol) const {
  std::uint16_t qx = 0;
  std::uint16_t qy = 0;
  QueryMasks(p, kGeomTolerance, qx, qy);
  LineElement* single = nullptr;
  Point end{};
  for (LineElement* line = drawing_.lines; line != nullptr; line = line->next) {
    if (line == skip || !Candidate(*line, qx, qy)) continue;
    Point other{};
    if (EndsAt(*line, p, other, tol) == 0) continue;
    if (single != nullptr) return nullptr;
    single = line;
    end = other;
  }
  if (single != nullptr) otherEnd = end;
  return single;
}

Picked ElementGeometry::PickElement(const Point& p, double k, bool partsAsWholes) {
  Picked picked;
  if (TextElement* text = store_.FindText(p, k);
      text != nullptr && !(partsAsWholes && text->inPart() != 0)) {
    picked.kind = static_cast<int>(ElementKind::kText);
    picked.text = text;
    return picked;
  }
  if (FillingElement* filling = PickFilling(p);
      filling != nullptr && !(partsAsWholes && filling->inPart() != 0)) {
    picked.kind = static_cast<int>(ElementKind::kFilling);
    picked.filling = filling;
    return picked;
  }
  Point nearest{};
  if (LineElement* line = NearestLine(p, nearest, k); line != nullptr && line->inPart() == 0) {
    picked.kind = static_cast<int>(ElementKind::kLine);
    picked.line = line;
    return picked;
  }
  if (PartElement* part = store_.FindPart(p, partsAsWholes); part != nullptr) {
    picked.kind = static_cast<int>(ElementKind::kPart);
    picked.part = part;
  }
  return picked;
}

} // namespace lumora
