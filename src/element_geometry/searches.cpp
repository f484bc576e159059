// Finding lines, points and vertices near a point, and the element under the cursor.
#include "element_geometry/element_geometry.h"
#include "element_geometry/line_walk.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

namespace {

using LineEntries = std::vector<SpatialIndex<LineElement>::Entry>;

// A box reaching r to every side of p.
Box Around(const Point& p, double r) {
  return {p.x - r, p.y - r, p.x + r, p.y + r};
}

// Searches through the index start at this many buckets around the point and widen fourfold.
constexpr double kFirstReach = 1.0;
constexpr double kWiden = 4.0;

// The radii an indexed search tries in turn, ending with the full radius.
class Reaches {
public:
  Reaches(const SpatialIndex<LineElement>& index, double radius) : radius_(radius) {
    const double first = kFirstReach * index.CellSize();
    reach_ = first > 0.0 && first < radius ? first : radius;
  }
  double reach() const { return reach_; }
  bool last() const { return !(reach_ < radius_); }
  void Widen() { reach_ = std::min(radius_, reach_ * kWiden); }

private:
  double radius_;
  double reach_;
};

} // namespace

// The walk keeps the nearest line met so far in list order. Started with a smaller radius
// over the lines near p it gives the full search's answer as soon as its first line lies
// more than twice the tolerance inside that radius: a full search holds nothing nearer than
// that radius less the tolerance before it, so it takes the same line there, and from then on
// both are in the same state, which no line beyond the smaller radius can change.
LineElement* ElementGeometry::NearestLine(const Point& p, Point& nearest, double k, bool direction,
                                          double angle) {
  const double radius = settings.Radius(k);
  std::uint16_t qx = 0;
  std::uint16_t qy = 0;
  QueryMasks(p, radius, qx, qy);
  const LineElement* previous = store_.LastLinePick();
  const Probe probe = MakeProbe(p, radius, direction, angle);
  const ZoneGaps gaps(drawing_.limits, p);
  // Lines equally near (within the tolerance of the nearest) form a group; a repeated pick at
  // one place takes the group's first line after the previous result, and after the last one
  // the first again, so it visits every line lying on the others in turn.
  struct Walk {
    LineElement* best = nullptr; // the group's first line in list order
    Point point{};
    double r = 0.0;
    double first = kNoPoint;     // distance of the first line taken
    bool metPrevious = false;    // the previous result is in the group
    LineElement* next = nullptr; // the group's first line after the previous result
    Point nextPoint{};
  };
  const auto offer = [&](Walk& w, LineElement* line) {
    if (!Candidate(*line, qx, qy)) return;
    // A line whose strips lie beyond the radius can neither win nor tie: no exact test.
    const double gx = gaps.X(static_cast<std::uint16_t>(line->zoneX()));
    const double gy = gaps.Y(static_cast<std::uint16_t>(line->zoneY()));
    const double limit = w.r + kGeomTolerance;
    if (gx + gy > 0.0 && gx * gx + gy * gy >= limit * limit) return;
    LineHit hit;
    const double d = NearestOnLineWithin(*line, p, limit, probe, hit);
    if (d < w.r - kGeomTolerance) {
      if (w.best == nullptr) w.first = d;
      w.best = line;
      w.point = hit.point;
      w.r = d;
      w.metPrevious = line == previous;
      w.next = nullptr;
      return;
    }
    if (direction || w.best == nullptr || !(d < limit)) return;
    if (w.metPrevious && w.next == nullptr) {
      w.next = line;
      w.nextPoint = hit.point;
    }
    if (line == previous) w.metPrevious = true;
  };

  Walk walk;
  bool done = false;
  if (const SpatialIndex<LineElement>* index = store_.LineIndex(); index != nullptr) {
    LineEntries candidates;
    for (Reaches reaches(*index, radius);; reaches.Widen()) {
      const double reach = reaches.reach();
      if (!index->Collect(Around(p, reach + kGeomTolerance), candidates)) break;
      walk = Walk{.r = reach};
      for (const auto& entry : candidates) offer(walk, entry.element);
      if (reaches.last() || (walk.best != nullptr && walk.first < reach - 2.0 * kGeomTolerance)) {
        done = true;
        break;
      }
    }
  }
  if (!done) {
    walk = Walk{.r = radius};
    for (LineElement* line : Each(drawing_.lines)) offer(walk, line);
  }
  LineElement* found = walk.next != nullptr ? walk.next : walk.best;
  if (found != nullptr) nearest = walk.next != nullptr ? walk.nextPoint : walk.point;
  store_.RememberLinePick(found);
  return found;
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

// The first line in list order holding the nearest point wins, so a search over the lines
// near p with a smaller radius gives the full answer whenever it finds one.
LineElement* ElementGeometry::NearestLinePoint(const Point& p, Point& found, double k) const {
  const double radius = settings.Radius(k);
  std::uint16_t qx = 0;
  std::uint16_t qy = 0;
  QueryMasks(p, radius, qx, qy);
  const ZoneGaps gaps(drawing_.limits, p);
  LineElement* best = nullptr;
  Point at{};
  double r = radius;
  const auto offer = [&](LineElement* line) {
    if (!Candidate(*line, qx, qy)) return;
    // An arc's centre may lie outside its box; every other stored point lies in it.
    if (line->shape() != kShapeArc && gaps.X(static_cast<std::uint16_t>(line->zoneX())) +
                                              gaps.Y(static_cast<std::uint16_t>(line->zoneY())) >=
                                          r) {
      return;
    }
    std::span<const Point> points = PointsOf(*line);
    // A circle offers only its centre.
    if (line->shape() == kShapeCircle)
      points = points.first(std::min<std::size_t>(1, points.size()));
    for (const Point& q : points) {
      const double d = Distance(p, q, 0);
      if (d < r) {
        best = line;
        at = q;
        r = d;
      }
    }
  };

  bool done = false;
  if (const SpatialIndex<LineElement>* index = store_.LineIndex(); index != nullptr) {
    LineEntries candidates;
    for (Reaches reaches(*index, radius);; reaches.Widen()) {
      if (!index->Collect(Around(p, reaches.reach()), candidates)) break;
      r = reaches.reach();
      for (const auto& entry : candidates) offer(entry.element);
      if (best != nullptr || reaches.last()) {
        done = true;
        break;
      }
    }
  }
  if (!done) {
    best = nullptr;
    r = radius;
    for (LineElement* line : Each(drawing_.lines)) offer(line);
  }
  if (best != nullptr) found = at;
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
                                           double tol, int* count) const {
  std::uint16_t qx = 0;
  std::uint16_t qy = 0;
  QueryMasks(p, kGeomTolerance, qx, qy);
  LineElement* single = nullptr;
  Point end{};
  int found = 0;
  const auto offer = [&](LineElement* line) {
    if (line == skip || !Candidate(*line, qx, qy)) return;
    Point other{};
    if (EndsAt(*line, p, other, tol) == 0) return;
    if (++found == 1) {
      single = line;
      end = other;
    }
  };
  LineEntries candidates;
  const SpatialIndex<LineElement>* index = store_.LineIndex();
  if (index != nullptr &&
      index->Collect(Around(p, std::max(tol, kGeomTolerance) + kGeomTolerance), candidates)) {
    for (const auto& entry : candidates) offer(entry.element);
  } else {
    for (LineElement* line : Each(drawing_.lines)) offer(line);
  }
  if (count != nullptr) *count = found;
  if (found != 1) return nullptr;
  otherEnd = end;
  return single;
}

Picked ElementGeometry::PickElement(const Point& p, double k, bool partsAsWholes) {
  if (TextElement* text = store_.FindText(p, k);
      text != nullptr && !(partsAsWholes && text->inPart() != 0)) {
    return text;
  }
  if (FillingElement* filling = PickFilling(p);
      filling != nullptr && !(partsAsWholes && filling->inPart() != 0)) {
    return filling;
  }
  Point nearest{};
  if (LineElement* line = NearestLine(p, nearest, k); line != nullptr && line->inPart() == 0) {
    return line;
  }
  if (PartElement* part = store_.FindPart(p, partsAsWholes); part != nullptr) return part;
  return {};
}

} // namespace lumora
