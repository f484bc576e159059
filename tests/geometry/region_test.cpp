// The region round a point in arrangements of straight and round pieces, checked on a floor plan
// and against a plain walk over random arrangements.
#include "geometry/region.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace lumora {
namespace {

constexpr double kPi = kFullTurnRadians / 2.0;

RegionCurve Seg(Point a, Point b) {
  return {.round = false, .a = a, .b = b};
}

RegionCurve Arc(Point o, double r, double start, double sweep) {
  return {.round = true, .o = o, .r = r, .start = start, .sweep = sweep};
}

// A 10000 x 8000 outline of four lines, an inner wall from the bottom to the top line at
// x = 6000, a quarter-circle door swing touching the inner wall's side, a round column of
// radius 300 in the left room and a loose line (a leader) in the right one.
std::vector<RegionCurve> Plan() {
  return {Seg({0, 0}, {10000, 0}),         Seg({10000, 0}, {10000, 8000}),
          Seg({10000, 8000}, {0, 8000}),   Seg({0, 8000}, {0, 0}),
          Seg({6000, 0}, {6000, 8000}),    Arc({6000, 3000}, 900, 0.0, kPi / 2.0),
          Seg({6000, 3000}, {6900, 3000}), Arc({2000, 4000}, 300, 0.0, kFullTurnRadians),
          Seg({8000, 6000}, {9000, 7000})};
}

TEST(Region, FloorPlanRoomsColumnAndDoor) {
  const std::vector<RegionCurve> plan = Plan();
  Region left;
  ASSERT_TRUE(FindRegion({1000, 1000}, plan, left));
  EXPECT_NEAR(left.area, 6000.0 * 8000.0 - kPi * 300 * 300, 1e-6);
  EXPECT_NEAR(left.outer.area, 6000.0 * 8000.0, 1e-6);
  ASSERT_EQ(left.holes.size(), 1u);
  EXPECT_TRUE(left.holes[0].circle);
  EXPECT_FALSE(left.outer.circle);
  // The right room stops at the door's swing and leaf; the leader bounds nothing.
  Region right;
  ASSERT_TRUE(FindRegion({9000, 1000}, plan, right));
  EXPECT_NEAR(right.area, 4000.0 * 8000.0 - kPi * 900 * 900 / 4.0, 1e-6);
  EXPECT_TRUE(right.holes.empty());
  EXPECT_TRUE(std::any_of(right.outer.edges.begin(), right.outer.edges.end(),
                          [](const RegionEdge& e) { return e.round; }));
  Region door;
  ASSERT_TRUE(FindRegion({6300, 3300}, plan, door));
  EXPECT_NEAR(door.area, kPi * 900 * 900 / 4.0, 1e-6);
  Region column;
  ASSERT_TRUE(FindRegion({2000, 4100}, plan, column));
  EXPECT_TRUE(column.outer.circle);
  EXPECT_NEAR(column.area, kPi * 300 * 300, 1e-6);
  Region outside;
  EXPECT_FALSE(FindRegion({-10, 4000}, plan, outside));
  // Lines running past a corner and a wall drawn twice, overlapping, close the same room.
  const std::vector<RegionCurve> sloppy{Seg({-5, 0}, {105, 0}), Seg({100, -5}, {100, 55}),
                                        Seg({110, 50}, {-5, 50}), Seg({0, 60}, {0, -5}),
                                        Seg({30, 50}, {0, 50})};
  Region room;
  ASSERT_TRUE(FindRegion({50, 25}, sloppy, room));
  EXPECT_NEAR(room.area, 5000.0, 1e-9);
  EXPECT_EQ(room.outer.edges.size(), 5u); // the overlap leaves a vertex at (30, 50)
  // A line reaching as far as a number goes spoils nothing.
  std::vector<RegionCurve> far = sloppy;
  far.push_back(Seg({200, 200}, {1e300, 3e300}));
  ASSERT_TRUE(FindRegion({50, 25}, far, room));
  EXPECT_NEAR(room.area, 5000.0, 1e-9);
}

// ---- A plain walk to compare with: every pair of curves, every vertex, every turn scanned ----

struct Piece {
  int u;
  int v;
  RegionEdge edge; // from u to v
};

class PlainWalk {
public:
  explicit PlainWalk(const std::vector<RegionCurve>& curves) {
    std::vector<std::vector<double>> at(curves.size());
    for (std::size_t i = 0; i < curves.size(); ++i) {
      for (std::size_t j = i + 1; j < curves.size(); ++j)
        CurveMeetings(curves[i], curves[j], at[i], at[j]);
    }
    for (std::size_t i = 0; i < curves.size(); ++i) {
      const RegionCurve& c = curves[i];
      at[i].push_back(0.0);
      at[i].push_back(c.round ? c.sweep : 1.0);
      std::sort(at[i].begin(), at[i].end());
      for (std::size_t k = 0; k + 1 < at[i].size(); ++k) Add(c, at[i][k], at[i][k + 1]);
    }
    Label();
  }

  // The area of the face round p, or NaN when no loop holds it.
  double Area(const Point& p, std::vector<RegionEdge>& boundary) {
    std::vector<std::vector<int>> cycles;
    std::vector<int> seen(pieces_.size() * 2, 0);
    for (std::size_t h = 0; h < seen.size(); ++h) {
      if (seen[h] != 0) continue;
      cycles.emplace_back();
      for (int k = static_cast<int>(h); seen[static_cast<std::size_t>(k)] == 0; k = Next(k)) {
        seen[static_cast<std::size_t>(k)] = 1;
        cycles.back().push_back(k);
      }
    }
    std::vector<std::vector<RegionEdge>> loops;
    std::vector<double> areas;
    for (const auto& c : cycles) {
      loops.emplace_back();
      for (const int h : c) loops.back().push_back(Half(h));
      areas.push_back(LoopArea(loops.back()));
    }
    std::size_t outer = cycles.size();
    for (std::size_t c = 0; c < cycles.size(); ++c) {
      if (areas[c] > 1e-6 && InsideLoop(p, loops[c]) &&
          (outer == cycles.size() || areas[c] < areas[outer]))
        outer = c;
    }
    if (outer == cycles.size()) return std::nan("");
    double area = areas[outer];
    std::vector<int> faceCycles{static_cast<int>(outer)};
    for (std::size_t c = 0; c < cycles.size(); ++c) {
      const Point q = loops[c].front().from;
      if (areas[c] >= -1e-6 || Joined(cycles[c].front(), cycles[outer].front()) ||
          !InsideLoop(q, loops[outer]))
        continue;
      bool direct = true;
      for (std::size_t d = 0; d < cycles.size(); ++d) {
        if (d != outer && areas[d] > 1e-6 && areas[d] < areas[outer] &&
            !Joined(cycles[d].front(), cycles[c].front()) && InsideLoop(q, loops[d]))
          direct = false;
      }
      if (!direct) continue;
      area += areas[c];
      faceCycles.push_back(static_cast<int>(c));
    }
    // Edges walked both ways (loose ends, bridges) bound nothing.
    for (const int c : faceCycles) {
      for (const int h : cycles[static_cast<std::size_t>(c)]) {
        const auto& mine = cycles[static_cast<std::size_t>(c)];
        if (std::find(mine.begin(), mine.end(), h ^ 1) == mine.end()) boundary.push_back(Half(h));
      }
    }
    return area;
  }

private:
  int Vertex(const Point& p) {
    for (std::size_t i = 0; i < points_.size(); ++i) {
      if (SamePoint(points_[i], p)) return static_cast<int>(i);
    }
    points_.push_back(p);
    return static_cast<int>(points_.size()) - 1;
  }
  void Add(const RegionCurve& c, double t0, double t1) {
    if (c.round && t1 - t0 > kPi) {
      Add(c, t0, (t0 + t1) / 2);
      Add(c, (t0 + t1) / 2, t1);
      return;
    }
    const int u = Vertex(CurvePoint(c, t0));
    const int v = Vertex(CurvePoint(c, t1));
    if (u == v) return;
    RegionEdge e{.round = c.round, .o = c.o, .r = c.r, .sweep = c.round ? t1 - t0 : 0.0};
    e.from = points_[static_cast<std::size_t>(u)];
    e.to = points_[static_cast<std::size_t>(v)];
    const Point mid = Mid(c, t0, t1);
    for (const Piece& q : pieces_) {
      if (std::min(q.u, q.v) == std::min(u, v) && std::max(q.u, q.v) == std::max(u, v) &&
          q.edge.round == c.round && SamePoint(Mid(q), mid))
        return;
    }
    pieces_.push_back({u, v, e});
  }
  static Point Mid(const RegionCurve& c, double t0, double t1) {
    if (c.round) return CurvePoint(c, (t0 + t1) / 2);
    const Point a = CurvePoint(c, t0);
    const Point b = CurvePoint(c, t1);
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
  }
  static Point Mid(const Piece& q) {
    if (!q.edge.round)
      return {(q.edge.from.x + q.edge.to.x) / 2, (q.edge.from.y + q.edge.to.y) / 2};
    const double a = std::atan2(q.edge.from.y - q.edge.o.y, q.edge.from.x - q.edge.o.x);
    return {q.edge.o.x + q.edge.r * std::cos(a + q.edge.sweep / 2),
            q.edge.o.y + q.edge.r * std::sin(a + q.edge.sweep / 2)};
  }
  RegionEdge Half(int h) const {
    RegionEdge e = pieces_[static_cast<std::size_t>(h / 2)].edge;
    if (h % 2 == 1) {
      std::swap(e.from, e.to);
      e.ccw = false;
    }
    return e;
  }
  int From(int h) const {
    const Piece& q = pieces_[static_cast<std::size_t>(h / 2)];
    return h % 2 == 0 ? q.u : q.v;
  }
  // The way a half-edge leaves, as an angle nudged by its bending.
  double Leaving(int h) const {
    const RegionEdge e = Half(h);
    if (!e.round) return std::atan2(e.to.y - e.from.y, e.to.x - e.from.x);
    const double a = std::atan2(e.from.y - e.o.y, e.from.x - e.o.x);
    const double tangent = e.ccw ? a + kPi / 2 : a - kPi / 2;
    return std::atan2(std::sin(tangent), std::cos(tangent)) + (e.ccw ? 1e-10 : -1e-10) / e.r;
  }
  // At h's end: the half-edge leaving there that is next clockwise from the way back.
  int Next(int h) const {
    const int back = h ^ 1;
    const int v = From(back);
    const double base = Leaving(back);
    int best = back;
    double bestTurn = 0.0;
    for (std::size_t k = 0; k < pieces_.size() * 2; ++k) {
      const int c = static_cast<int>(k);
      if (c == back || From(c) != v) continue;
      double turn = std::fmod(base - Leaving(c) + 2 * kFullTurnRadians, kFullTurnRadians);
      if (turn <= 0.0) turn += kFullTurnRadians;
      if (best == back || turn < bestTurn) {
        best = c;
        bestTurn = turn;
      }
    }
    return best;
  }
  // Labels every vertex with its connected part (a search over the pieces).
  void Label() {
    part_.assign(points_.size(), -1);
    for (std::size_t start = 0; start < points_.size(); ++start) {
      if (part_[start] >= 0) continue;
      std::vector<int> todo{static_cast<int>(start)};
      part_[start] = static_cast<int>(start);
      while (!todo.empty()) {
        const int v = todo.back();
        todo.pop_back();
        for (const Piece& q : pieces_) {
          const int w = q.u == v ? q.v : q.v == v ? q.u : -1;
          if (w >= 0 && part_[static_cast<std::size_t>(w)] < 0) {
            part_[static_cast<std::size_t>(w)] = static_cast<int>(start);
            todo.push_back(w);
          }
        }
      }
    }
  }
  bool Joined(int a, int b) const {
    return part_[static_cast<std::size_t>(From(a))] == part_[static_cast<std::size_t>(From(b))];
  }

  std::vector<Point> points_;
  std::vector<Piece> pieces_;
  std::vector<int> part_;
};

bool SamePiece(const RegionEdge& a, const RegionEdge& b) {
  const bool along = SamePoint(a.from, b.from) && SamePoint(a.to, b.to);
  const bool against = SamePoint(a.from, b.to) && SamePoint(a.to, b.from);
  return a.round == b.round && (along || against) && (!a.round || SamePoint(a.o, b.o));
}

TEST(Region, RandomArrangementsMatchAPlainWalk) {
  std::mt19937 random(38);
  std::uniform_real_distribution<double> coordinate(0.0, 100.0);
  std::uniform_real_distribution<double> share(0.0, 1.0);
  int found = 0;
  for (int round = 0; round < 300; ++round) {
    std::vector<RegionCurve> curves;
    if (round % 2 == 0) {
      // A frame makes most points fall in some region.
      curves = {Seg({0, 0}, {100, 0}), Seg({100, 0}, {100, 100}), Seg({100, 100}, {0, 100}),
                Seg({0, 100}, {0, 0})};
    }
    const int count = 4 + round % 12;
    for (int i = 0; i < count; ++i) {
      const Point a{coordinate(random), coordinate(random)};
      Point b{coordinate(random), coordinate(random)};
      // Some pieces end on another one: T-junctions and touching arcs.
      if (!curves.empty() && share(random) < 0.4) {
        const RegionCurve& on = curves[static_cast<std::size_t>(random() % curves.size())];
        b = CurvePoint(on, share(random) * (on.round ? on.sweep : 1.0));
      }
      if (share(random) < 0.35) {
        const double r = 2.0 + 30.0 * share(random);
        const double start = std::atan2(b.y - a.y, b.x - a.x);
        const Point o{b.x - r * std::cos(start), b.y - r * std::sin(start)};
        curves.push_back(
            Arc(o, r, start, share(random) < 0.3 ? kFullTurnRadians : 0.3 + 5.5 * share(random)));
      } else {
        curves.push_back(Seg(a, b));
      }
    }
    PlainWalk walk(curves);
    for (int probe = 0; probe < 5; ++probe) {
      const Point p{coordinate(random), coordinate(random)};
      Region region;
      std::vector<RegionEdge> plainEdges;
      const double plain = walk.Area(p, plainEdges);
      const bool closed = FindRegion(p, curves, region);
      ASSERT_EQ(closed, !std::isnan(plain)) << "round " << round << " probe " << probe;
      if (!closed) continue;
      ++found;
      EXPECT_NEAR(region.area, plain, 1e-9 * std::abs(plain)) << round << " " << probe;
      std::vector<RegionEdge> edges = region.outer.edges;
      for (const RegionLoop& hole : region.holes)
        edges.insert(edges.end(), hole.edges.begin(), hole.edges.end());
      ASSERT_EQ(edges.size(), plainEdges.size()) << round << " " << probe;
      for (const RegionEdge& e : edges) {
        EXPECT_TRUE(std::any_of(plainEdges.begin(), plainEdges.end(),
                                [&e](const RegionEdge& q) { return SamePiece(e, q); }))
            << round << " " << probe;
      }
    }
  }
  EXPECT_GT(found, 500);
}

} // namespace
} // namespace lumora
