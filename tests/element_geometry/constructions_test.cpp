// Crossings, offsets and cuts.
#include "element_geometry/geometry_fixture.h"

namespace lumora::test {
namespace {

TEST_F(GeometryTest, CrossingsOfSegmentsCirclesAndClosedLines) {
  Point out[8];
  LineElement* flat = Line({{20, 102}, {120, 102}});
  LineElement* slanted = Line({{40, 60}, {100, 140}});
  ASSERT_EQ(ElementGeometry::LineIntersections(*flat, *slanted, out), 1);
  EXPECT_TRUE(Same(out[0], {71.5, 102}));
  LineElement* circle = Line({{50, 50}, {60, 50}}, kShapeCircle);
  LineElement* through = Line({{30, 50}, {70, 50}});
  ASSERT_EQ(ElementGeometry::LineIntersections(*through, *circle, out), 2);
  EXPECT_EQ(ElementGeometry::LineIntersections(*circle, *through, out), 2);
  // Each corner of the square lies on two of its segments but counts once.
  LineElement* square = Line({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, kShapeClosed);
  LineElement* diagonal = Line({{0, 0}, {10, 10}});
  ASSERT_EQ(ElementGeometry::LineIntersections(*square, *diagonal, out), 2);
  EXPECT_TRUE(Same(out[0], {0, 0}));
  EXPECT_TRUE(Same(out[1], {10, 10}));
  EXPECT_EQ(ElementGeometry::LineIntersections(*square, *diagonal, std::span(out, 1)), 1);
}

TEST_F(GeometryTest, OffsetPolylinesAndArcs) {
  OffsetResult r;
  EXPECT_EQ(ElementGeometry::OffsetLine(*Line({{0, 0}, {10, 0}, {10, 10}}), 5, r), 3);
  EXPECT_TRUE(Same(r.points, {{0, -5}, {15, -5}, {15, 10}}));
  EXPECT_EQ(ElementGeometry::OffsetLine(*Line({{0, 0}, {5, 0}, {10, 0}}), 2, r), 2);
  EXPECT_TRUE(Same(r.points, {{0, -2}, {10, -2}}));
  // A repeated vertex has no edge of its own to offset.
  EXPECT_EQ(ElementGeometry::OffsetLine(*Line({{0, 0}, {10, 0}, {10, 0}, {10, 10}}), 5, r), 3);
  EXPECT_TRUE(Same(r.points, {{0, -5}, {15, -5}, {15, 10}}));
  // A clockwise closed square has its inside on the right: it shrinks.
  EXPECT_EQ(
      ElementGeometry::OffsetLine(*Line({{0, 0}, {0, 10}, {10, 10}, {10, 0}}, kShapeClosed), 1, r),
      4);
  EXPECT_EQ(r.shape, kShapeClosed);
  EXPECT_TRUE(Same(r.points, {{1, 1}, {1, 9}, {9, 9}, {9, 1}}));

  LineElement* circle = Line({{50, 50}, {55, 50}}, kShapeCircle);
  EXPECT_EQ(ElementGeometry::OffsetLine(*circle, -5, r), 0);
  EXPECT_EQ(ElementGeometry::OffsetLine(*circle, 2, r), 2);
  EXPECT_TRUE(Same(r.points, {{50, 50}, {57, 50}}));
  LineElement* arc = Line({{0, 0}, {4, 0}, {0, 4}}, kShapeArc);
  EXPECT_EQ(ElementGeometry::OffsetLine(*arc, -6, r), 0);
  EXPECT_EQ(ElementGeometry::OffsetLine(*arc, -1, r), 3);
  EXPECT_TRUE(Same(r.points, {{0, 0}, {3, 0}, {0, 3}}));
}

TEST_F(GeometryTest, CutCirclesAndClosedLines) {
  LineElement* circle = Line({{50, 50}, {60, 50}}, kShapeCircle);
  EXPECT_EQ(geo.CutLineAtPoints(circle, {{40, 50}, {50, 60}}, false), 2);
  EXPECT_EQ(circle, nullptr);
  // Each piece starts where the other ends: together they turn once.
  ASSERT_EQ(Count(drawing.lines), 2);
  const std::vector<Point> later = Pts(drawing.lines);
  const std::vector<Point> earlier = Pts(drawing.lines->next);
  EXPECT_TRUE(Same(earlier, {{50, 50}, {40, 50}, {50, 60}}) ||
              Same(earlier, {{50, 50}, {50, 60}, {40, 50}}));
  EXPECT_TRUE(Same(earlier[2], later[1]) && Same(later[2], earlier[1]));

  LineElement* whole = Line({{100, 100}, {110, 100}}, kShapeCircle);
  EXPECT_EQ(geo.CutLineAtPoints(whole, {{100, 90}}, false), 1);
  EXPECT_EQ(drawing.lines->shape(), kShapeArc);
  EXPECT_TRUE(Same(Pts(drawing.lines), {{100, 100}, {100, 90}, {100, 90}}));

  LineElement* square = Line({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, kShapeClosed);
  EXPECT_EQ(geo.CutLineAtPoints(square, {{5, 0}}, false), 1);
  EXPECT_EQ(drawing.lines->shape(), kShapeOpen);
  EXPECT_TRUE(Same(Pts(drawing.lines), {{5, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {5, 0}}));
  EXPECT_EQ(env.Count(DrawMode::kNormal, drawing.lines), 1);
}

TEST_F(GeometryTest, CutOpenLinesAndArcsInOrder) {
  LineElement* line = Line({{0, 0}, {10, 0}, {10, 10}});
  // Two points on one segment, given out of order, and one on a vertex.
  EXPECT_EQ(geo.CutLineAtPoints(line, {{8, 0}, {2, 0}, {10, 0}}, false), 4);
  std::vector<std::vector<Point>> pieces;
  for (LineElement* l = drawing.lines; l != nullptr; l = l->next) pieces.push_back(Pts(l));
  ASSERT_EQ(pieces.size(), 4u);
  EXPECT_TRUE(Same(pieces[3], {{0, 0}, {2, 0}}));
  EXPECT_TRUE(Same(pieces[2], {{2, 0}, {8, 0}}));
  EXPECT_TRUE(Same(pieces[1], {{8, 0}, {10, 0}}));
  EXPECT_TRUE(Same(pieces[0], {{10, 0}, {10, 10}}));

  LineElement* arc = Line({{50, 50}, {60, 50}, {40, 50}}, kShapeArc);
  // Beyond the arc's end and off the circle: ignored.
  EXPECT_EQ(geo.CutLineAtPoints(arc, {{50, 40}, {50, 60}, {70, 50}}, false), 2);
  EXPECT_TRUE(Same(Pts(drawing.lines), {{50, 50}, {50, 60}, {40, 50}}));
  EXPECT_TRUE(Same(Pts(drawing.lines->next), {{50, 50}, {60, 50}, {50, 60}}));
}

TEST_F(GeometryTest, AFailedCutLeavesTheLineAsItWas) {
  PartElement* part = Part(1);
  LineElement* line = Line({{0, 0}, {10, 0}, {10, 10}});
  store.AddMember(part, line);
  LineElement* kept = line;
  EXPECT_EQ(geo.CutLineAtPoints(line, {{5, 3}, {20, 0}}, false), 0);
  EXPECT_EQ(line, kept);
  // The second piece cannot be made: the first is taken back.
  allocator.failAt = allocator.calls + 2;
  EXPECT_EQ(geo.CutLineAtPoints(line, {{5, 0}}, false), 0);
  EXPECT_EQ(line, kept);
  EXPECT_EQ(Count(drawing.lines), 1);
  EXPECT_TRUE(Same(Pts(line), {{0, 0}, {10, 0}, {10, 10}}));
  EXPECT_EQ(part->lines->element, line);
  EXPECT_TRUE(env.draws.empty());
  // Without a failure both pieces join the line's part.
  EXPECT_EQ(geo.CutLineAtPoints(line, {{5, 0}}, false), 2);
  EXPECT_EQ(Count(part->lines), 2);
}

TEST_F(GeometryTest, CutPointsAreRefusedAtEndsAndTwice) {
  LineElement* open = Line({{0, 0}, {10, 0}});
  const Point held[] = {{5, 0}};
  EXPECT_EQ(ElementGeometry::AcceptCutPoint(*open, {0, 0}, {}), 0);
  EXPECT_EQ(ElementGeometry::AcceptCutPoint(*open, {5, 0}, held), 0);
  EXPECT_EQ(ElementGeometry::AcceptCutPoint(*open, {6, 0}, held), 1);
  LineElement* arc = Line({{0, 0}, {4, 0}, {0, 4}}, kShapeArc);
  EXPECT_EQ(ElementGeometry::AcceptCutPoint(*arc, {0, 4}, {}), 0);
  LineElement* closed = Line({{0, 0}, {10, 0}, {10, 10}}, kShapeClosed);
  EXPECT_EQ(ElementGeometry::AcceptCutPoint(*closed, {0, 0}, {}), 1);
}

} // namespace
} // namespace lumora::test
