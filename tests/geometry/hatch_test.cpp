// Hatch segments of pen paths: the vertex rules, holes, and the bounds on the work done.
#include "geometry/hatch.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace lumora {
namespace {

using Path = std::vector<PenPathRecord>;

// Closed loops, each given by its corners.
Path Loops(const std::vector<std::vector<Point>>& loops) {
  Path path;
  for (const auto& loop : loops) {
    for (std::size_t i = 0; i < loop.size(); ++i) path.push_back({loop[i].x, loop[i].y, i > 0});
    path.push_back({loop[0].x, loop[0].y, 1});
  }
  return path;
}

std::vector<Segment> Hatch(const Path& path, double gap, double angle, HatchStatus* status) {
  std::vector<Point> points;
  *status = HatchPenPath(path, gap, angle, points);
  std::vector<Segment> segments;
  for (std::size_t i = 0; i + 1 < points.size(); i += 2)
    segments.push_back({points[i], points[i + 1]});
  return segments;
}

TEST(Hatch, VerticesCountOnceWhenPassedAndTwiceWhereTheBoundaryTurns) {
  HatchStatus status{};
  // The left vertex (-2, 4) lies on the line y = 4 and the boundary passes on through it,
  // whether it is in the middle of the loop or the loop's start.
  for (const auto& loop : {std::vector<Point>{{0, 0}, {10, 0}, {10, 8}, {0, 8}, {-2, 4}},
                           std::vector<Point>{{-2, 4}, {0, 0}, {10, 0}, {10, 8}, {0, 8}}}) {
    const auto s = Hatch(Loops({loop}), 4.0, 0.0, &status);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_NEAR(s[0].p1.x, -2.0, 1e-9);
    EXPECT_NEAR(s[0].p2.x, 10.0, 1e-9);
  }
  // The notch (10, 4) turns back on the line: both sides of it stay hatched.
  const auto notch =
      Hatch(Loops({{{0, 0}, {20, 0}, {20, 10}, {10, 4}, {0, 10}}}), 4.0, 0.0, &status);
  ASSERT_EQ(notch.size(), 4u); // y = 4: the two halves; y = 8: the two horns
  EXPECT_NEAR(notch[0].p1.x, 0.0, 1e-9);
  EXPECT_NEAR(notch[0].p2.x, 10.0, 1e-9);
  EXPECT_NEAR(notch[1].p1.x, 10.0, 1e-9);
  EXPECT_NEAR(notch[1].p2.x, 20.0, 1e-9);
}

TEST(Hatch, BadGapsPointsAndDensitiesGiveNoSegments) {
  const Path square = Loops({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}});
  std::vector<Point> out{{1, 1}, {2, 2}};
  EXPECT_EQ(HatchPenPath(square, 0.0009, 0.0, out), HatchStatus::kNoHatch);
  EXPECT_EQ(HatchPenPath(square, NAN, 0.0, out), HatchStatus::kTooDense);
  EXPECT_EQ(HatchPenPath(square, INFINITY, 0.0, out), HatchStatus::kTooDense);
  Path broken = square;
  broken[2].x = NAN;
  EXPECT_EQ(HatchPenPath(broken, 1.0, 0.0, out), HatchStatus::kTooDense);
  broken[2] = {1e308, -1e308, 1};
  EXPECT_EQ(HatchPenPath(broken, 1.0, 45.0, out), HatchStatus::kTooDense);
  // A 190 x 95 rectangle at 45 degrees with lines 0.0015 apart needs 134 000 lines.
  const Path wide = Loops({{{0, 0}, {190, 0}, {190, 95}, {0, 95}}});
  EXPECT_EQ(HatchPenPath(wide, 0.0015, 45.0, out), HatchStatus::kTooDense);
  // 1100 narrow strips of 999 lines each pass the segment bound.
  std::vector<std::vector<Point>> strips;
  for (int i = 0; i < 1100; ++i)
    strips.push_back({{2.0 * i, 0}, {2.0 * i + 1, 0}, {2.0 * i + 1, 1000}, {2.0 * i, 1000}});
  EXPECT_EQ(HatchPenPath(Loops(strips), 1.0, 0.0, out), HatchStatus::kTooDense);
  EXPECT_EQ(out.size(), 2u); // what was there stays
  // Far from the origin adding the gap may not move a line; the hatch still ends.
  const Path far = Loops({{{0, 1e17}, {10, 1e17}, {10, 1e17 + 5000}, {0, 1e17 + 5000}}});
  EXPECT_EQ(HatchPenPath(far, 1.0, 0.0, out), HatchStatus::kDone);
  EXPECT_LE(out.size(), 2u + 2u * kMaxHatchLines);
}

// A loop round c with one corner in each of n equal sectors, at a random radius: simple, and
// with n >= 12 it holds the disc of radius rmin * cos(30 degrees) round c.
std::vector<Point> Star(std::mt19937& random, Point c, double rmin, double rmax, int n) {
  std::uniform_real_distribution<double> radius(rmin, rmax);
  std::uniform_real_distribution<double> within(0.0, 1.0);
  std::vector<Point> loop;
  for (int i = 0; i < n; ++i) {
    const double a = (i + within(random)) * 6.283185307 / n;
    const double r = radius(random);
    loop.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
  }
  return loop;
}

// Even-odd by a ray to the right.
bool Inside(const Point& p, const Path& path) {
  bool inside = false;
  for (std::size_t k = 1; k < path.size(); ++k) {
    const PenPathRecord& a = path[k - 1];
    const PenPathRecord& b = path[k];
    if (b.pen == 0 || (a.y <= p.y) == (b.y <= p.y)) continue;
    if (a.x + (b.x - a.x) * (p.y - a.y) / (b.y - a.y) > p.x) inside = !inside;
  }
  return inside;
}

double Perimeter(const Path& path) {
  double length = 0.0;
  for (std::size_t k = 1; k < path.size(); ++k) {
    if (path[k].pen != 0) length += Distance(path[k - 1].x, path[k - 1].y, path[k].x, path[k].y);
  }
  return length;
}

TEST(Hatch, RandomPolygonsWithHolesAreHatchedInsideAndCoverTheirArea) {
  std::mt19937 random(20261206);
  std::uniform_real_distribution<double> gapOf(0.05, 1.0);
  std::uniform_int_distribution<int> angleOf(-180, 180);
  std::uniform_int_distribution<int> corners(12, 40);
  std::uniform_int_distribution<int> holes(0, 2);
  for (int round = 0; round < 300; ++round) {
    const Point c{std::uniform_real_distribution<double>(-1000, 1000)(random), 50.0};
    std::vector<std::vector<Point>> loops{Star(random, c, 5.0, 10.0, corners(random))};
    const int h = holes(random);
    for (int i = 0; i < h; ++i) {
      loops.push_back(Star(random, {c.x + (i == 0 ? -2.5 : 2.5), c.y}, 0.5, 1.2, corners(random)));
    }
    std::shuffle(loops.begin(), loops.end(), random); // holes may come first
    const Path path = Loops(loops);
    const double gap = gapOf(random);
    HatchStatus status{};
    const auto s = Hatch(path, gap, angleOf(random), &status);
    ASSERT_EQ(status, HatchStatus::kDone);
    double length = 0.0;
    for (const Segment& seg : s) {
      length += Distance(seg.p1, seg.p2);
      const Point mid{(seg.p1.x + seg.p2.x) / 2, (seg.p1.y + seg.p2.y) / 2};
      // Exactly, without the tolerance that counts a point near an edge as outside.
      EXPECT_TRUE(Inside(mid, path)) << round << ": " << mid.x << ", " << mid.y;
    }
    EXPECT_NEAR(length * gap, PenPathArea(path), Perimeter(path) * gap) << round;
  }
}

} // namespace
} // namespace lumora
