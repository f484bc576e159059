// The closed region round a point, from the visible lines near it, and its boundary made into
// lines a filling can follow.
#include "element_geometry/region_search.h"

#include "element_geometry/line_walk.h"

#include <algorithm>
#include <cmath>

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

// A loop of straight edges becomes one closed line, one whole circle a circle; any other loop
// becomes open lines and arcs chained in loop order.
bool MakeRegionBoundary(ElementGeometry& geometry, const Region& region,
                        const PropertySet& attributes, std::vector<LineElement*>& entries,
                        std::vector<LineElement*>& made) {
  ElementStore& store = geometry.Store();
  PropertySet set = attributes;
  const auto add = [&](std::uint32_t shape, const std::vector<Point>& points) {
    set.SetShape(shape);
    if (points.size() > static_cast<std::size_t>(kMaxLinePoints)) return false;
    LineElement* line = store.AddLine(set, points.data(), static_cast<int>(points.size()));
    if (line == nullptr) return false;
    made.push_back(line);
    entries.push_back(line);
    return true;
  };
  std::vector<const RegionLoop*> loops{&region.outer};
  for (const RegionLoop& hole : region.holes) loops.push_back(&hole);
  for (const RegionLoop* loop : loops) {
    if (!entries.empty()) entries.push_back(nullptr);
    const std::vector<RegionEdge>& edges = loop->edges;
    const std::size_t n = edges.size();
    if (n == 0) continue;
    if (loop->circle) {
      if (!add(kShapeCircle, {edges.front().o, edges.front().from})) return false;
      continue;
    }
    if (std::none_of(edges.begin(), edges.end(), [](const RegionEdge& e) { return e.round; })) {
      std::vector<Point> points;
      for (const RegionEdge& e : edges) points.push_back(e.from);
      if (!add(kShapeClosed, points)) return false;
      continue;
    }
    // Start where a run begins, so no run is split over the loop's end.
    std::size_t first = 0;
    while (first < n && SameRun(edges[(first + n - 1) % n], edges[first])) ++first;
    if (first == n) first = 0;
    for (std::size_t k = 0; k < n;) {
      const RegionEdge& e = edges[(first + k) % n];
      std::size_t end = k + 1;
      double sweep = e.sweep;
      while (end < n && SameRun(e, edges[(first + end) % n]))
        sweep += edges[(first + end++) % n].sweep;
      const RegionEdge& last = edges[(first + end - 1) % n];
      bool done = false;
      if (e.round) {
        // An arc runs counter-clockwise: one walked the other way is stored from its far end.
        done = sweep < kFullTurnRadians - kGeomTolerance &&
               add(kShapeArc, e.ccw ? std::vector<Point>{e.o, e.from, last.to}
                                    : std::vector<Point>{e.o, last.to, e.from});
      } else {
        std::vector<Point> points{e.from};
        for (std::size_t i = k; i < end; ++i) points.push_back(edges[(first + i) % n].to);
        done = add(kShapeOpen, points);
      }
      if (!done) return false;
      k = end;
    }
  }
  return true;
}

} // namespace lumora
