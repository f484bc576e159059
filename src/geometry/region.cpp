// The planar graph of the pieces and the walk round the face holding a point.
#include "geometry/region.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <unordered_map>

namespace lumora {

namespace {

constexpr double kTol = kGeomTolerance;
constexpr double kHalfTurn = kFullTurnRadians / 2.0;
// Departures closer than this in angle leave along one tangent; their bending orders them.
constexpr double kSameDeparture = 1e-9;
// Bridges cut loose in one pass may leave further loose ends and bridges; this many passes
// settle any drawing met in practice.
constexpr int kMaxPasses = 8;
constexpr double kFarCell = 4e18; // vertex cells beyond this are one

// A piece of a curve between two vertices, running from u to v (a round one counter-clockwise).
struct Edge {
  int u;
  int v;
  bool round;
  Point o;
  double r;
  double a0; // absolute angles of a round piece's ends
  double a1;
  bool live = true;
};

bool Usable(const RegionCurve& c) {
  if (c.round) return c.r >= kTol && c.sweep * c.r >= kTol && std::isfinite(c.r + c.sweep);
  return Distance(c.a, c.b) >= kTol && std::isfinite(c.a.x + c.a.y + c.b.x + c.b.y);
}

// Points closer than the tolerance (in both axes) share a vertex: the first one met.
class Vertices {
public:
  int Of(const Point& p) {
    const std::int64_t cx = Cell(p.x);
    const std::int64_t cy = Cell(p.y);
    for (std::int64_t dx = -1; dx <= 1; ++dx) {
      for (std::int64_t dy = -1; dy <= 1; ++dy) {
        const auto found = cells_.find(Key(cx + dx, cy + dy));
        if (found == cells_.end()) continue;
        for (const int id : found->second) {
          if (SamePoint(points[static_cast<std::size_t>(id)], p)) return id;
        }
      }
    }
    const int id = static_cast<int>(points.size());
    points.push_back(p);
    cells_[Key(cx, cy)].push_back(id);
    return id;
  }
  std::vector<Point> points;

private:
  // Far-off coordinates (a drawing may hold any finite number) share the outermost cells.
  static std::int64_t Cell(double v) {
    const double c = std::floor(v / kTol);
    return std::isfinite(c) ? static_cast<std::int64_t>(std::clamp(c, -kFarCell, kFarCell)) : 0;
  }
  static std::uint64_t Key(std::int64_t x, std::int64_t y) {
    return (static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ULL) ^ static_cast<std::uint64_t>(y);
  }
  std::unordered_map<std::uint64_t, std::vector<int>> cells_;
};

// The split places of every curve, from all pairs whose boxes meet (a sweep over x).
std::vector<std::vector<double>> SplitPlaces(std::span<const RegionCurve> curves,
                                             const std::vector<int>& usable) {
  std::vector<std::vector<double>> places(curves.size());
  std::vector<Box> boxes(curves.size());
  for (const int i : usable)
    boxes[static_cast<std::size_t>(i)] = CurveBox(curves[static_cast<std::size_t>(i)]);
  std::vector<int> order = usable;
  std::sort(order.begin(), order.end(), [&boxes](int a, int b) {
    return boxes[static_cast<std::size_t>(a)].xmin < boxes[static_cast<std::size_t>(b)].xmin;
  });
  for (std::size_t k = 0; k < order.size(); ++k) {
    const auto i = static_cast<std::size_t>(order[k]);
    const Box& bi = boxes[i];
    for (std::size_t m = k + 1; m < order.size(); ++m) {
      const auto j = static_cast<std::size_t>(order[m]);
      const Box& bj = boxes[j];
      if (bj.xmin > bi.xmax + kTol) break;
      if (bj.ymin > bi.ymax + kTol || bj.ymax < bi.ymin - kTol) continue;
      CurveMeetings(curves[i], curves[j], places[i], places[j]);
    }
  }
  return places;
}

class Graph {
public:
  void Build(std::span<const RegionCurve> curves);
  bool Face(const Point& p, Region& region) const;

private:
  struct Cycle {
    RegionLoop loop;
    Box box;
    int part;
  };

  std::vector<int> Parts() const;
  std::vector<Cycle> Cycles() const;
  void AddPiece(const RegionCurve& c, double t0, double t1);
  void AddEdge(const Edge& e);
  void Order();
  void Prune();
  bool CutBridges();
  void Trace();
  int From(int h) const { return h % 2 == 0 ? edges_[h / 2].u : edges_[h / 2].v; }
  int Next(int h) const;
  RegionEdge Half(int h) const;
  RegionLoop LoopOf(int cycle) const;

  Vertices vertices_;
  std::vector<Edge> edges_;
  std::unordered_map<std::uint64_t, std::vector<int>> between_; // vertex pair -> edges
  std::vector<std::vector<int>> around_;                        // vertex -> half-edges, ccw
  std::vector<int> slot_;                                       // half-edge -> place in around_
  std::vector<int> cycleOf_;
  std::vector<std::vector<int>> cycles_;
};

void Graph::Build(std::span<const RegionCurve> curves) {
  std::vector<int> usable;
  for (std::size_t i = 0; i < curves.size(); ++i) {
    if (Usable(curves[i])) usable.push_back(static_cast<int>(i));
  }
  std::vector<std::vector<double>> places = SplitPlaces(curves, usable);
  for (const int i : usable) {
    const RegionCurve& c = curves[static_cast<std::size_t>(i)];
    std::vector<double>& at = places[static_cast<std::size_t>(i)];
    const double end = c.round ? c.sweep : 1.0;
    at.push_back(0.0);
    at.push_back(end);
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    for (std::size_t k = 0; k + 1 < at.size(); ++k) AddPiece(c, at[k], at[k + 1]);
  }
  Order();
  Prune();
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    Trace();
    if (!CutBridges()) return;
    Prune();
  }
  Trace();
}

void Graph::AddPiece(const RegionCurve& c, double t0, double t1) {
  // A round piece over half a turn is halved, so no piece can start and end at one vertex.
  if (c.round && t1 - t0 > kHalfTurn) {
    const double mid = (t0 + t1) / 2.0;
    AddPiece(c, t0, mid);
    AddPiece(c, mid, t1);
    return;
  }
  const int u = vertices_.Of(CurvePoint(c, t0));
  const int v = vertices_.Of(CurvePoint(c, t1));
  if (u == v) return;
  AddEdge({u, v, c.round, c.o, c.r, c.start + t0, c.start + t1});
}

// Pieces lying on top of each other (a line drawn twice, overlapping lines) are kept once.
void Graph::AddEdge(const Edge& e) {
  const auto lo = static_cast<std::uint64_t>(std::min(e.u, e.v));
  const auto hi = static_cast<std::uint64_t>(std::max(e.u, e.v));
  std::vector<int>& same = between_[(lo << 32) | hi];
  const auto mid = [](const Edge& x, const std::vector<Point>& points) {
    if (!x.round) {
      const Point& p = points[static_cast<std::size_t>(x.u)];
      const Point& q = points[static_cast<std::size_t>(x.v)];
      return Point{(p.x + q.x) / 2.0, (p.y + q.y) / 2.0};
    }
    const double m = (x.a0 + x.a1) / 2.0;
    return Point{x.o.x + x.r * std::cos(m), x.o.y + x.r * std::sin(m)};
  };
  const Point here = mid(e, vertices_.points);
  for (const int k : same) {
    const Edge& other = edges_[static_cast<std::size_t>(k)];
    if (other.round == e.round && SamePoint(mid(other, vertices_.points), here)) return;
  }
  same.push_back(static_cast<int>(edges_.size()));
  edges_.push_back(e);
}

// The direction a half-edge leaves its vertex in, and how it bends (left positive).
struct Departure {
  double angle;
  double bend;
  int h;
};

void Graph::Order() {
  around_.assign(vertices_.points.size(), {});
  slot_.assign(edges_.size() * 2, 0);
  std::vector<std::vector<Departure>> leaving(vertices_.points.size());
  for (std::size_t k = 0; k < edges_.size(); ++k) {
    const Edge& e = edges_[k];
    const Point& pu = vertices_.points[static_cast<std::size_t>(e.u)];
    const Point& pv = vertices_.points[static_cast<std::size_t>(e.v)];
    const int h = static_cast<int>(2 * k);
    if (!e.round) {
      leaving[static_cast<std::size_t>(e.u)].push_back(
          {std::atan2(pv.y - pu.y, pv.x - pu.x), 0.0, h});
      leaving[static_cast<std::size_t>(e.v)].push_back(
          {std::atan2(pu.y - pv.y, pu.x - pv.x), 0.0, h + 1});
    } else {
      leaving[static_cast<std::size_t>(e.u)].push_back(
          {std::remainder(e.a0 + kHalfTurn / 2.0, kFullTurnRadians), 1.0 / e.r, h});
      leaving[static_cast<std::size_t>(e.v)].push_back(
          {std::remainder(e.a1 - kHalfTurn / 2.0, kFullTurnRadians), -1.0 / e.r, h + 1});
    }
  }
  for (std::size_t v = 0; v < leaving.size(); ++v) {
    std::vector<Departure>& d = leaving[v];
    std::sort(d.begin(), d.end(),
              [](const Departure& a, const Departure& b) { return a.angle < b.angle; });
    // Along one tangent, the piece bending most to the right comes first counter-clockwise.
    // A run across the half turn at -pi (angle near pi and near -pi) is rare enough to order
    // by angle alone.
    for (std::size_t i = 0; i < d.size();) {
      std::size_t j = i + 1;
      while (j < d.size() && d[j].angle - d[j - 1].angle < kSameDeparture) ++j;
      std::stable_sort(d.begin() + static_cast<std::ptrdiff_t>(i),
                       d.begin() + static_cast<std::ptrdiff_t>(j),
                       [](const Departure& a, const Departure& b) { return a.bend < b.bend; });
      i = j;
    }
    for (std::size_t i = 0; i < d.size(); ++i) {
      around_[v].push_back(d[i].h);
      slot_[static_cast<std::size_t>(d[i].h)] = static_cast<int>(i);
    }
  }
}

// Loose ends bound nothing: they go until every vertex left has two live edges or more.
void Graph::Prune() {
  std::vector<int> degree(vertices_.points.size(), 0);
  for (const Edge& e : edges_) {
    if (!e.live) continue;
    ++degree[static_cast<std::size_t>(e.u)];
    ++degree[static_cast<std::size_t>(e.v)];
  }
  std::vector<int> loose;
  for (std::size_t v = 0; v < degree.size(); ++v) {
    if (degree[v] == 1) loose.push_back(static_cast<int>(v));
  }
  while (!loose.empty()) {
    const auto v = static_cast<std::size_t>(loose.back());
    loose.pop_back();
    for (const int h : around_[v]) {
      Edge& e = edges_[static_cast<std::size_t>(h / 2)];
      if (!e.live) continue;
      e.live = false;
      const auto other = static_cast<std::size_t>(h % 2 == 0 ? e.v : e.u);
      --degree[v];
      if (--degree[other] == 1) loose.push_back(static_cast<int>(other));
    }
  }
}

// The half-edge after h along its face (the face on the left): at h's end vertex, the live
// half-edge next clockwise from the way back.
int Graph::Next(int h) const {
  const int back = h ^ 1;
  const std::vector<int>& ring = around_[static_cast<std::size_t>(From(back))];
  const auto n = static_cast<int>(ring.size());
  int i = slot_[static_cast<std::size_t>(back)];
  for (int step = 0; step < n; ++step) {
    i = (i + n - 1) % n;
    const int candidate = ring[static_cast<std::size_t>(i)];
    if (edges_[static_cast<std::size_t>(candidate / 2)].live) return candidate;
  }
  return back;
}

void Graph::Trace() {
  cycleOf_.assign(edges_.size() * 2, -1);
  cycles_.clear();
  for (std::size_t start = 0; start < cycleOf_.size(); ++start) {
    if (cycleOf_[start] >= 0 || !edges_[start / 2].live) continue;
    const auto id = static_cast<int>(cycles_.size());
    cycles_.emplace_back();
    for (int h = static_cast<int>(start); cycleOf_[static_cast<std::size_t>(h)] < 0; h = Next(h)) {
      cycleOf_[static_cast<std::size_t>(h)] = id;
      cycles_.back().push_back(h);
    }
  }
}

// An edge with the same face on both sides joins two parts without bounding anything.
bool Graph::CutBridges() {
  bool cut = false;
  for (std::size_t k = 0; k < edges_.size(); ++k) {
    if (edges_[k].live && cycleOf_[2 * k] == cycleOf_[2 * k + 1]) {
      edges_[k].live = false;
      cut = true;
    }
  }
  return cut;
}

RegionEdge Graph::Half(int h) const {
  const Edge& e = edges_[static_cast<std::size_t>(h / 2)];
  const bool forward = h % 2 == 0;
  const Point& pu = vertices_.points[static_cast<std::size_t>(e.u)];
  const Point& pv = vertices_.points[static_cast<std::size_t>(e.v)];
  RegionEdge out{.round = e.round,
                 .from = forward ? pu : pv,
                 .to = forward ? pv : pu,
                 .o = e.o,
                 .r = e.r,
                 .sweep = e.a1 - e.a0,
                 .ccw = forward};
  if (!e.round) out.sweep = 0.0;
  return out;
}

RegionLoop Graph::LoopOf(int cycle) const {
  RegionLoop loop;
  for (const int h : cycles_[static_cast<std::size_t>(cycle)]) loop.edges.push_back(Half(h));
  loop.area = LoopArea(loop.edges);
  // One whole circle: every edge round about one centre and one radius, a full turn in all.
  double turned = 0.0;
  bool oneCircle = true;
  for (const RegionEdge& e : loop.edges) {
    const RegionEdge& first = loop.edges.front();
    oneCircle = oneCircle && e.round && SamePoint(e.o, first.o) && SameValue(e.r, first.r);
    turned += e.sweep;
  }
  loop.circle = oneCircle && std::abs(turned - kFullTurnRadians) < 1e-6;
  return loop;
}

// The connected part of each vertex (a union of the vertices each live edge joins).
std::vector<int> Graph::Parts() const {
  std::vector<int> part(vertices_.points.size());
  std::iota(part.begin(), part.end(), 0);
  const auto root = [&part](int v) {
    while (part[static_cast<std::size_t>(v)] != v) {
      const int up = part[static_cast<std::size_t>(v)];
      part[static_cast<std::size_t>(v)] = part[static_cast<std::size_t>(up)];
      v = up;
    }
    return v;
  };
  for (const Edge& e : edges_) {
    if (e.live) part[static_cast<std::size_t>(root(e.u))] = root(e.v);
  }
  for (std::size_t v = 0; v < part.size(); ++v) part[v] = root(static_cast<int>(v));
  return part;
}

// Every loop that encloses something, with its box and its part.
std::vector<Graph::Cycle> Graph::Cycles() const {
  const std::vector<int> part = Parts();
  std::vector<Cycle> cycles;
  for (std::size_t c = 0; c < cycles_.size(); ++c) {
    RegionLoop loop = LoopOf(static_cast<int>(c));
    if (std::abs(loop.area) <= kTol * kTol) continue;
    const Box box = LoopBox(loop);
    const int at = part[static_cast<std::size_t>(From(cycles_[c].front()))];
    cycles.push_back({std::move(loop), box, at});
  }
  return cycles;
}

// The outer loop is the smallest counter-clockwise loop round p. Its holes are the outlines
// (clockwise loops) of the other parts inside it, unless a smaller loop inside it holds them.
bool Graph::Face(const Point& p, Region& region) const {
  const std::vector<Cycle> cycles = Cycles();
  const auto holds = [](const Cycle& c, const Point& q) {
    return InBox(q.x, q.y, c.box) != 0 && InsideLoop(q, c.loop.edges);
  };
  const Cycle* outer = nullptr;
  for (const Cycle& c : cycles) {
    if (c.loop.area > 0.0 && (outer == nullptr || c.loop.area < outer->loop.area) && holds(c, p))
      outer = &c;
  }
  if (outer == nullptr) return false;
  region = Region{.outer = outer->loop, .holes = {}, .area = outer->loop.area};
  for (const Cycle& hole : cycles) {
    if (hole.loop.area > 0.0 || hole.part == outer->part) continue;
    const Point q = hole.loop.edges.front().from;
    if (!holds(*outer, q)) continue;
    const bool nested = std::any_of(cycles.begin(), cycles.end(), [&](const Cycle& c) {
      return c.loop.area > 0.0 && &c != outer && c.part != hole.part &&
             c.loop.area < outer->loop.area && holds(c, q);
    });
    if (nested) continue;
    region.holes.push_back(hole.loop);
    region.area += hole.loop.area;
  }
  return true;
}

} // namespace

bool FindRegion(const Point& p, std::span<const RegionCurve> curves, Region& region) {
  Graph graph;
  graph.Build(curves);
  return graph.Face(p, region);
}

Box LoopBox(const RegionLoop& loop) {
  Box box;
  for (const RegionEdge& e : loop.edges) {
    ExtendBox(e.from.x, e.from.y, box);
    if (e.round) {
      ExtendBox(e.o.x - e.r, e.o.y - e.r, box);
      ExtendBox(e.o.x + e.r, e.o.y + e.r, box);
    }
  }
  return box;
}

} // namespace lumora
