#include "geometry/primitives.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace lumora {
namespace {

using Path = std::vector<PenPathRecord>;

// Appends one loop that repeats its start point.
void AddLoop(Path& path, std::vector<Point> points) {
  points.push_back(points.front());
  for (std::size_t i = 0; i < points.size(); ++i) path.push_back({points[i].x, points[i].y, i > 0});
}

void AddSquare(Path& path, double x0, double y0, double side) {
  AddLoop(path, {{x0, y0}, {x0 + side, y0}, {x0 + side, y0 + side}, {x0, y0 + side}});
}

// A top edge split into many short pieces, level with the points tested.
const std::vector<Point> kSplitTop{{0, 5}, {0, 0}, {10, 0}, {10, 5},
                                   {8, 5}, {6, 5}, {4, 5},  {2, 5}};
const std::vector<Point> kDiamond{{0, 5}, {5, 0}, {10, 5}, {5, 10}};

TEST(Inside, PolygonBoundaryIsInsidePenPathBoundaryIsOutside) {
  const std::vector<Point> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  Path path;
  AddSquare(path, 0, 0, 10);
  EXPECT_EQ(PointInPolygon(5, 5, square) + PointInPenPath(5, 5, path), 2);
  EXPECT_EQ(PointInPolygon(15, 5, square) + PointInPenPath(15, 5, path), 0);
  EXPECT_EQ(PointInPolygon(10, 5, square), 1);
  EXPECT_EQ(PointInPenPath(10, 5, path), 0);
  EXPECT_EQ(PointInPolygon(5, 0, square), 1);
  EXPECT_EQ(PointInPenPath(5, 0, path), 0);
  EXPECT_EQ(PointInPolygon(10.002, 5, square), 0);
  AddSquare(path, 3, 3, 4); // a hole
  EXPECT_EQ(PointInPenPath(5, 5, path), 0);
  EXPECT_EQ(PointInPenPath(1, 5, path), 1);
}

TEST(Inside, RaysThroughVertices) {
  // Going straight on through a vertex counts once, turning back there not at all, however
  // many level vertices lie between.
  const std::vector<Point> triangle{{0, 0}, {10, 0}, {5, 10}};
  EXPECT_EQ(PointInPolygon(8, 10, triangle), 0);
  Path diamond;
  AddLoop(diamond, kDiamond);
  Path split;
  AddLoop(split, kSplitTop);
  for (const auto& [x, y, want] : {std::tuple{5.0, 5.0, 1}, {12.0, 5.0, 0}, {-3.0, 5.0, 0}}) {
    EXPECT_EQ(PointInPolygon(x, y, kDiamond), want) << x;
    EXPECT_EQ(PointInPenPath(x, y, diamond), want) << x;
  }
  EXPECT_EQ(PointInPolygon(20, 5, kSplitTop), 0);
  EXPECT_EQ(PointInPenPath(20, 5, split), 0);
  EXPECT_EQ(PointInPenPath(5, 2, split), 1);
  // Empty and malformed paths answer without reading out of bounds.
  EXPECT_EQ(PointInPolygon(5, 5, {}), 0);
  EXPECT_EQ(PointInPenPath(0, 0, Path{}), 0);
  EXPECT_EQ(PointInPenPath(9, 5, Path{{0, 5, 1}, {5, 5, 1}, {5, 0, 0}, {5, 5, 1}}), 0);
}

TEST(Area, LoopsAddAndHolesSubtract) {
  Path path;
  EXPECT_EQ(PenPathArea(path), 0.0);
  AddSquare(path, 0, 0, 10);
  AddSquare(path, 3, 3, 4);
  EXPECT_NEAR(PenPathArea(path), 84, 1e-9);
  // Clockwise loops count positive; a hole may come before its outline; an island inside a
  // hole counts again.
  Path clockwise;
  AddLoop(clockwise, {{0, 0}, {0, 10}, {10, 10}, {10, 0}});
  EXPECT_NEAR(PenPathArea(clockwise), 100, 1e-9);
  Path holeFirst;
  AddSquare(holeFirst, 3, 3, 4);
  AddSquare(holeFirst, 0, 0, 10);
  EXPECT_NEAR(PenPathArea(holeFirst), 84, 1e-9);
  Path island;
  AddSquare(island, 0, 0, 10);
  AddSquare(island, 2, 2, 6);
  AddSquare(island, 4, 4, 2);
  EXPECT_NEAR(PenPathArea(island), 68, 1e-9);
}

} // namespace
} // namespace lumora
