#include "geometry/primitives.h"

#include <gtest/gtest.h>
#include <vector>

namespace lumora {
namespace {

// A closed square loop of a pen path, repeating its start point.
void AddSquare(std::vector<PenPathRecord>& path, double x0, double y0, double side) {
  path.push_back({x0, y0, 0});
  path.push_back({x0 + side, y0, 1});
  path.push_back({x0 + side, y0 + side, 1});
  path.push_back({x0, y0 + side, 1});
  path.push_back({x0, y0, 1});
}

std::vector<PenPathRecord> Loop(std::vector<Point> points) {
  std::vector<PenPathRecord> path;
  for (const Point& p : points) path.push_back({p.x, p.y, path.empty() ? 0 : 1});
  return path;
}

TEST(Inside, PolygonCountsItsBoundaryAsInside) {
  const std::vector<Point> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_EQ(PointInPolygon(5, 5, square), 1);
  EXPECT_EQ(PointInPolygon(15, 5, square), 0);
  EXPECT_EQ(PointInPolygon(10, 5, square), 1);
  EXPECT_EQ(PointInPolygon(5, 0, square), 1);
  EXPECT_EQ(PointInPolygon(10.0009, 5, square), 1);
  EXPECT_EQ(PointInPolygon(10.002, 5, square), 0);
  EXPECT_EQ(PointInPolygon(5, 5, {}), 0);
  // Rays through vertices: going straight on counts once, turning back not at all.
  const std::vector<Point> diamond{{5, 0}, {10, 5}, {5, 10}, {0, 5}};
  EXPECT_EQ(PointInPolygon(5, 5, diamond), 1);
  EXPECT_EQ(PointInPolygon(12, 5, diamond), 0);
  const std::vector<Point> triangle{{0, 0}, {10, 0}, {5, 10}};
  EXPECT_EQ(PointInPolygon(8, 10, triangle), 0);
  EXPECT_EQ(PointInPolygon(5, 10, triangle), 1);
  // A top edge split into many short pieces level with the point.
  const std::vector<Point> split{{0, 0}, {10, 0}, {10, 5}, {8, 5}, {6, 5}, {4, 5}, {2, 5}, {0, 5}};
  EXPECT_EQ(PointInPolygon(20, 5, split), 0);
  EXPECT_EQ(PointInPolygon(5, 2, split), 1);
}

TEST(Inside, PenPathCountsItsBoundaryAsOutside) {
  std::vector<PenPathRecord> path;
  AddSquare(path, 0, 0, 10);
  EXPECT_EQ(PointInPenPath(5, 5, path), 1);
  EXPECT_EQ(PointInPenPath(10, 5, path), 0);
  EXPECT_EQ(PointInPenPath(5, 0, path), 0);
  EXPECT_EQ(PointInPenPath(15, 5, path), 0);
  AddSquare(path, 3, 3, 4); // a hole
  EXPECT_EQ(PointInPenPath(5, 5, path), 0);
  EXPECT_EQ(PointInPenPath(1, 5, path), 1);
  // Vertex rays, with the loop starting at such a vertex.
  const auto diamond = Loop({{0, 5}, {5, 0}, {10, 5}, {5, 10}, {0, 5}});
  EXPECT_EQ(PointInPenPath(5, 5, diamond), 1);
  EXPECT_EQ(PointInPenPath(12, 5, diamond), 0);
  EXPECT_EQ(PointInPenPath(-3, 5, diamond), 0);
  const auto split =
      Loop({{0, 5}, {0, 0}, {10, 0}, {10, 5}, {8, 5}, {6, 5}, {4, 5}, {2, 5}, {0, 5}});
  EXPECT_EQ(PointInPenPath(20, 5, split), 0);
  EXPECT_EQ(PointInPenPath(5, 2, split), 1);
  // Malformed paths answer without reading out of bounds.
  EXPECT_EQ(PointInPenPath(0, 0, std::vector<PenPathRecord>{}), 0);
  EXPECT_EQ(PointInPenPath(5, 5, Loop({{5, 5}})), 0);
  const std::vector<PenPathRecord> noStart{{0, 5, 1}, {5, 5, 1}, {5, 0, 0}, {5, 5, 1}};
  EXPECT_EQ(PointInPenPath(9, 5, noStart), 0);
}

TEST(Area, LoopsAddAndHolesSubtract) {
  std::vector<PenPathRecord> path;
  EXPECT_EQ(PenPathArea(path), 0.0);
  AddSquare(path, 0, 0, 10);
  EXPECT_NEAR(PenPathArea(path), 100, 1e-9);
  AddSquare(path, 3, 3, 4);
  EXPECT_NEAR(PenPathArea(path), 84, 1e-9);

  std::vector<PenPathRecord> apart;
  AddSquare(apart, 0, 0, 10);
  AddSquare(apart, 20, 20, 2);
  EXPECT_NEAR(PenPathArea(apart), 104, 1e-9);

  // Clockwise loops count positive; the hole may come before its outline; an island inside a
  // hole counts again.
  EXPECT_NEAR(PenPathArea(Loop({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}})), 100, 1e-9);
  std::vector<PenPathRecord> holeFirst;
  AddSquare(holeFirst, 3, 3, 4);
  AddSquare(holeFirst, 0, 0, 10);
  EXPECT_NEAR(PenPathArea(holeFirst), 84, 1e-9);
  std::vector<PenPathRecord> island;
  AddSquare(island, 0, 0, 10);
  AddSquare(island, 2, 2, 6);
  AddSquare(island, 4, 4, 2);
  EXPECT_NEAR(PenPathArea(island), 68, 1e-9);
}

} // namespace
} // namespace lumora
