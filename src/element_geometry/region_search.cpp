// The closed region round a point, from the visible lines near it, and its boundary made into
// lines a filling can follow.
#include "element_geometry/region_search.h"

#include "element_geometry/line_walk.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

namespace lumora {

namespace {

// The search starts this many search units (or one index bucket, if larger) round the point
// and doubles until a region closes inside it or it covers the sheet.
constexpr double kFirstRegionReach = 8.0;
constexpr double kRegionWiden = 2.0;
// Enough doublings to pass any sheet, so a sheet of no usable size cannot hold the search.
constexpr int kMaxWidenings = 96;
// A search whose box holds more pieces than this gives up before walking them: a click outside
// everything on a sheet of a million elements took 40 s when the search went on to the whole
// sheet (BM_FindRegionOutside). A plain room needs a few hundred pieces, one full of furniture
// drawn as loose lines tens of thousands; walking 10^5 pieces takes about 1.5 s.
constexpr std::size_t kMaxRegionCurves = 100000;
// Line ends this share of the area tolerance apart (about half a pixel of the whole sheet in
// the window) look joined.
constexpr double kJoinShare = 0.1;

void AddCurves(const LineElement& line, std::vector<RegionCurve>& curves) {
  if (IsRound(line)) {
    ArcPoints arc{};
    if (!ArcOf(line, arc)) return;
    RegionCurve c{.round = true, .o = arc.o, .r = Distance(arc.o, arc.s)};
    c.start = std::atan2(arc.s.y - arc.o.y, arc.s.x - arc.o.x);
    if (line.shape() == kShapeCircle || SamePoint(arc.s, arc.e)) {
      c.sweep = kFullTurnRadians;
    } else {
      c.sweep =
          std::fmod(std::atan2(arc.e.y - arc.o.y, arc.e.x - arc.o.x) - c.start, kFullTurnRadians);
      if (c.sweep <= 0.0) c.sweep += kFullTurnRadians;
    }
    curves.push_back(c);
    return;
  }
  const int segments = SegmentCount(line);
  for (int i = 0; i < segments; ++i) {
    const Segment seg = SegmentAt(line, i);
    curves.push_back({.round = false, .a = seg.p1, .b = seg.p2});
  }
}

bool Meets(const Box& a, const Box& b) {
  return a.xmin <= b.xmax && b.xmin <= a.xmax && a.ymin <= b.ymax && b.ymin <= a.ymax;
}

bool Covers(const Box& outer, const Box& inner) {
  return outer.xmin <= inner.xmin && outer.ymin <= inner.ymin && outer.xmax >= inner.xmax &&
         outer.ymax >= inner.ymax;
}

// The visible lines whose boxes meet the box, as every search takes them.
void GatherCurves(ElementStore& store, const Box& box, std::vector<RegionCurve>& curves) {
  curves.clear();
  const Drawing& drawing = store.drawing();
  const Box& limits = drawing.limits;
  const std::uint16_t qx = ZoneMask(box.xmin, box.xmax, limits.xmin, limits.xmax);
  const std::uint16_t qy = ZoneMask(box.ymin, box.ymax, limits.ymin, limits.ymax);
  const auto offer = [&](const LineElement& line) {
    if (ZonesOverlap(static_cast<std::uint16_t>(line.zoneX()),
                     static_cast<std::uint16_t>(line.zoneY()), qx, qy) == 0 ||
        line.hidden() != 0 || drawing.layerVisible[line.layer()] == 0) {
      return;
    }
    if (Meets(LineBox(line), box)) AddCurves(line, curves);
  };
  std::vector<SpatialIndex<LineElement>::Entry> candidates;
  const SpatialIndex<LineElement>* index = store.LineIndex();
  if (index != nullptr && index->Collect(box, candidates)) {
    for (const auto& entry : candidates) offer(*entry.element);
    return;
  }
  for (const LineElement* line : Each(drawing.lines)) offer(*line);
}

// The point of the curve nearest to p.
Point NearestOnCurve(const RegionCurve& c, const Point& p) {
  if (!c.round) {
    const double dx = c.b.x - c.a.x;
    const double dy = c.b.y - c.a.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0.0
                         ? std::clamp(((p.x - c.a.x) * dx + (p.y - c.a.y) * dy) / length2, 0.0, 1.0)
                         : 0.0;
    return {c.a.x + t * dx, c.a.y + t * dy};
  }
  double at = std::fmod(std::atan2(p.y - c.o.y, p.x - c.o.x) - c.start, kFullTurnRadians);
  if (at < 0.0) at += kFullTurnRadians;
  if (at <= c.sweep) return CurvePoint(c, at);
  // Beyond the arc: the nearer of its ends.
  const Point s = CurvePoint(c, 0.0);
  const Point e = CurvePoint(c, c.sweep);
  return Distance(p, s) <= Distance(p, e) ? s : e;
}

// A line ending a hair short of another (a wall drawn to a grid point beside a slanted wall)
// looks joined: such an end, touching nothing, is bridged to the nearest curve within `join`
// by a short piece.
void BridgeNearEnds(std::vector<RegionCurve>& curves, double join) {
  struct End {
    Point p;
    std::size_t curve;
    bool touched = false;
    double best = 0.0;
    Point foot{};
  };
  std::vector<End> ends;
  std::vector<Box> boxes;
  boxes.reserve(curves.size());
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const RegionCurve& c = curves[i];
    const Box b = CurveBox(c);
    boxes.push_back({b.xmin - join, b.ymin - join, b.xmax + join, b.ymax + join});
    if (!c.round) {
      ends.push_back({.p = c.a, .curve = i});
      ends.push_back({.p = c.b, .curve = i});
    } else if (c.sweep < kFullTurnRadians) {
      ends.push_back({.p = CurvePoint(c, 0.0), .curve = i});
      ends.push_back({.p = CurvePoint(c, c.sweep), .curve = i});
    }
  }
  // Each end against the curves whose widened boxes hold it, found by a sweep over x.
  std::vector<std::size_t> order(curves.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(),
            [&boxes](std::size_t a, std::size_t b) { return boxes[a].xmin < boxes[b].xmin; });
  std::vector<std::size_t> byX(ends.size());
  std::iota(byX.begin(), byX.end(), std::size_t{0});
  std::sort(byX.begin(), byX.end(),
            [&ends](std::size_t a, std::size_t b) { return ends[a].p.x < ends[b].p.x; });
  std::vector<std::size_t> open;
  std::size_t next = 0;
  for (const std::size_t k : byX) {
    End& end = ends[k];
    while (next < order.size() && boxes[order[next]].xmin <= end.p.x) open.push_back(order[next++]);
    std::erase_if(open, [&](std::size_t i) { return boxes[i].xmax < end.p.x; });
    for (const std::size_t i : open) {
      if (i == end.curve || end.p.y < boxes[i].ymin || end.p.y > boxes[i].ymax) continue;
      const Point foot = NearestOnCurve(curves[i], end.p);
      const double d = Distance(foot, end.p);
      if (d <= kGeomTolerance) {
        end.touched = true;
      } else if (d <= join && (end.best == 0.0 || d < end.best)) {
        end.best = d;
        end.foot = foot;
      }
    }
  }
  for (const End& end : ends) {
    if (!end.touched && end.best > 0.0)
      curves.push_back({.round = false, .a = end.p, .b = end.foot});
  }
}

} // namespace

// Only lines meeting the search box can cut into a loop lying inside it, so a loop found there
// is the one the whole drawing gives. The box widens until a loop closes inside it, it covers
// the sheet, or it holds too many pieces to go on.
bool FindRegion(ElementGeometry& geometry, const Point& p, Region& region) {
  ElementStore& store = geometry.Store();
  const Box& limits = store.drawing().limits;
  const SpatialIndex<LineElement>* index = store.LineIndex();
  double reach = geometry.settings.Radius(kFirstRegionReach);
  if (index != nullptr) reach = std::max(reach, index->CellSize());
  if (!(reach > kGeomTolerance)) reach = kGeomTolerance;
  std::vector<RegionCurve> curves;
  for (int pass = 0; pass < kMaxWidenings; ++pass) {
    const Box box{p.x - reach, p.y - reach, p.x + reach, p.y + reach};
    const bool whole = Covers(box, limits);
    GatherCurves(store, box, curves);
    if (curves.size() > kMaxRegionCurves) return false;
    BridgeNearEnds(curves, kJoinShare * geometry.settings.areaTolerance);
    if (lumora::FindRegion(p, curves, region)) {
      const Box inner{box.xmin + kGeomTolerance, box.ymin + kGeomTolerance,
                      box.xmax - kGeomTolerance, box.ymax - kGeomTolerance};
      if (whole || Covers(inner, LoopBox(region.outer))) return true;
    } else if (whole) {
      return false;
    }
    reach *= kRegionWiden;
  }
  return false;
}

namespace {

bool SameRun(const RegionEdge& a, const RegionEdge& b) {
  if (a.round != b.round) return false;
  return !a.round || (a.ccw == b.ccw && SamePoint(a.o, b.o) && SameValue(a.r, b.r));
}

} // namespace

namespace {

// A loop that passes a vertex twice (a column touching the wall, two columns touching) is cut
// there into loops that pass each vertex once, each bounding its own part of the area.
std::vector<std::vector<RegionEdge>> SimpleLoops(const std::vector<RegionEdge>& edges) {
  std::vector<std::vector<RegionEdge>> loops;
  std::vector<RegionEdge> walked;
  std::map<std::pair<double, double>, std::size_t> startsAt; // a vertex's edge on the walk
  for (const RegionEdge& e : edges) {
    startsAt.emplace(std::pair{e.from.x, e.from.y}, walked.size());
    walked.push_back(e);
    const auto back = startsAt.find({e.to.x, e.to.y});
    if (back == startsAt.end()) continue;
    const std::size_t first = back->second;
    for (std::size_t k = first; k < walked.size(); ++k)
      startsAt.erase({walked[k].from.x, walked[k].from.y});
    loops.emplace_back(walked.begin() + static_cast<std::ptrdiff_t>(first), walked.end());
    walked.resize(first);
  }
  if (!walked.empty()) loops.push_back(std::move(walked));
  return loops;
}

} // namespace

// A loop of straight edges becomes one closed line, one whole circle a circle; any other loop
// becomes open lines and arcs chained in loop order. A line holds at most kMaxLinePoints points,
// so a longer run goes on in the next line.
bool MakeRegionBoundary(ElementGeometry& geometry, const Region& region,
                        const PropertySet& attributes, std::vector<LineElement*>& entries,
                        std::vector<LineElement*>& made) {
  ElementStore& store = geometry.Store();
  PropertySet set = attributes;
  const auto add = [&](std::uint32_t shape, const std::vector<Point>& points) {
    set.SetShape(shape);
    LineElement* line = store.AddLine(set, points.data(), static_cast<int>(points.size()));
    if (line == nullptr) return false;
    made.push_back(line);
    entries.push_back(line);
    return true;
  };
  // Straight runs in pieces of at most kMaxLinePoints points, each starting where the last ended.
  const auto addOpen = [&](const std::vector<Point>& points) {
    const std::size_t most = static_cast<std::size_t>(kMaxLinePoints);
    for (std::size_t first = 0; first + 1 < points.size(); first += most - 1) {
      const std::size_t last = std::min(points.size(), first + most);
      if (!add(kShapeOpen, {points.begin() + static_cast<std::ptrdiff_t>(first),
                            points.begin() + static_cast<std::ptrdiff_t>(last)})) {
        return false;
      }
    }
    return true;
  };
  std::vector<std::vector<RegionEdge>> loops = SimpleLoops(region.outer.edges);
  for (const RegionLoop& hole : region.holes) {
    for (auto& simple : SimpleLoops(hole.edges)) loops.push_back(std::move(simple));
  }
  for (const std::vector<RegionEdge>& edges : loops) {
    if (!entries.empty()) entries.push_back(nullptr);
    const std::size_t n = edges.size();
    if (n == 0) continue;
    if (std::none_of(edges.begin(), edges.end(), [](const RegionEdge& e) { return e.round; })) {
      std::vector<Point> points;
      for (const RegionEdge& e : edges) points.push_back(e.from);
      if (points.size() <= static_cast<std::size_t>(kMaxLinePoints)) {
        if (!add(kShapeClosed, points)) return false;
        continue;
      }
      points.push_back(edges.front().from);
      if (!addOpen(points)) return false;
      continue;
    }
    // Start where a run begins, so no run is split over the loop's end.
    std::size_t first = 0;
    while (first < n && SameRun(edges[(first + n - 1) % n], edges[first])) ++first;
    if (first == n) {
      // One run all round: a whole circle.
      if (!add(kShapeCircle, {edges.front().o, edges.front().from})) return false;
      continue;
    }
    for (std::size_t k = 0; k < n;) {
      const RegionEdge& e = edges[(first + k) % n];
      std::size_t end = k + 1;
      while (end < n && SameRun(e, edges[(first + end) % n])) ++end;
      const RegionEdge& last = edges[(first + end - 1) % n];
      bool done = false;
      if (e.round) {
        // An arc runs counter-clockwise: one walked the other way is stored from its far end.
        done = add(kShapeArc, e.ccw ? std::vector<Point>{e.o, e.from, last.to}
                                    : std::vector<Point>{e.o, last.to, e.from});
      } else {
        std::vector<Point> points{e.from};
        for (std::size_t i = k; i < end; ++i) points.push_back(edges[(first + i) % n].to);
        done = addOpen(points);
      }
      if (!done) return false;
      k = end;
    }
  }
  return true;
}

} // namespace lumora
