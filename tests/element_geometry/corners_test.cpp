// Finding and rounding corners: a new rounding, an existing one changed or removed, a closed
// line's corner, and a corner three lines share.
#include "element_geometry/geometry_fixture.h"

namespace lumora::test {
namespace {

class CornerTest : public GeometryTest {
protected:
  // Lines (0,0)-(8,0) and (10,2)-(10,10) joined by the arc about (8,2).
  void Rounded() {
    line1 = Line({{0, 0}, {8, 0}});
    line2 = Line({{10, 2}, {10, 10}});
    arc = Line({{8, 2}, {8, 0}, {10, 2}}, kShapeArc);
  }
  LineElement* line1 = nullptr;
  LineElement* line2 = nullptr;
  LineElement* arc = nullptr;
};

TEST_F(CornerTest, RadiusZeroTrimsBothLinesAndRemovesTheArc) {
  Rounded();
  Corner corner;
  corner.point = {9.5, 0.6};
  ASSERT_EQ(geo.FindCorner(arc, corner), 1);
  EXPECT_EQ(corner.arc, arc);
  EXPECT_DOUBLE_EQ(corner.radius, 2.0);
  ASSERT_EQ(geo.RoundLineCorner(corner, 0), 1);
  EXPECT_TRUE(Same(Pts(line1), {{0, 0}, {10, 0}}));
  EXPECT_TRUE(Same(Pts(line2), {{10, 0}, {10, 10}}));
  EXPECT_EQ(Count(drawing.lines), 2);
  EXPECT_TRUE(Same(corner.point, {10, 0}));
}

TEST_F(CornerTest, ANewRadiusReusesTheArcFoundFromEitherLine) {
  Rounded();
  Corner corner;
  corner.point = {8, 0.5};
  ASSERT_EQ(geo.FindCorner(line1, corner), 1);
  EXPECT_EQ(corner.arc, arc);
  EXPECT_EQ(corner.line2, line2);
  ASSERT_EQ(geo.RoundLineCorner(corner, 3), 1);
  EXPECT_TRUE(Same(Pts(arc), {{7, 3}, {7, 0}, {10, 3}}));
  EXPECT_TRUE(Same(Pts(line1), {{0, 0}, {7, 0}}));
  EXPECT_TRUE(Same(Pts(line2), {{10, 3}, {10, 10}}));
  EXPECT_EQ(env.Count(DrawMode::kErase, arc), 1);
  EXPECT_GE(env.Count(DrawMode::kNormal, arc), 1);
}

TEST_F(CornerTest, AClosedLinesCornerIsCutOpenAndRounded) {
  Line({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, kShapeClosed);
  Corner corner;
  corner.point = {9.5, 9.6};
  ASSERT_EQ(geo.FindCorner(drawing.lines, corner), 1);
  EXPECT_EQ(corner.line2, nullptr);
  ASSERT_EQ(geo.RoundLineCorner(corner, 2), 1);
  ASSERT_EQ(Count(drawing.lines), 2);
  LineElement* rounding = drawing.lines;
  EXPECT_EQ(rounding->shape(), kShapeArc);
  // Counter-clockwise about (8,8) from (10,8) to (8,10).
  EXPECT_TRUE(Same(Pts(rounding), {{8, 8}, {10, 8}, {8, 10}}));
  EXPECT_TRUE(Same(Pts(drawing.lines->next), {{8, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 8}}));
}

TEST_F(CornerTest, ANewRoundingArcBetweenTwoLines) {
  line1 = Line({{0, 0}, {10, 0}});
  line2 = Line({{10, 0}, {10, 10}});
  Corner corner;
  corner.point = {9.6, 0.3};
  ASSERT_EQ(geo.FindCorner(line1, corner), 1);
  EXPECT_EQ(corner.line2, line2);
  // An arc that does not fit leaves both lines as they were.
  EXPECT_EQ(geo.RoundLineCorner(corner, 20), 0);
  EXPECT_TRUE(Same(Pts(line1), {{0, 0}, {10, 0}}));
  ASSERT_EQ(geo.RoundLineCorner(corner, 3), 1);
  ASSERT_NE(corner.arc, nullptr);
  EXPECT_TRUE(Same(Pts(corner.arc), {{7, 3}, {7, 0}, {10, 3}}));
  EXPECT_EQ(env.Count(DrawMode::kNormal, corner.arc), 1);
}

TEST_F(CornerTest, AnInnerVertexIsCutThereAndRounded) {
  PartElement* part = Part(1);
  store.AddMember(part, Line({{0, 0}, {10, 0}, {10, 10}}));
  Corner corner;
  corner.point = {9.7, 0.2};
  ASSERT_EQ(geo.FindCorner(drawing.lines, corner), 1);
  ASSERT_EQ(geo.RoundLineCorner(corner, 2), 1);
  ASSERT_EQ(Count(drawing.lines), 3);
  EXPECT_TRUE(Same(Pts(corner.arc), {{8, 2}, {8, 0}, {10, 2}}));
  EXPECT_TRUE(Same(Pts(corner.line1), {{0, 0}, {8, 0}}) ||
              Same(Pts(corner.line1), {{10, 2}, {10, 10}}));
  // Both pieces and the new arc belong to the part of the line they came from.
  EXPECT_EQ(Count(part->lines), 3);
}

// What a rounding hands back is the corner to take it back on: the pieces, the arc it made (none
// after radius 0), the radius now there and, after radius 0, the crossing.
TEST_F(CornerTest, TheCornerARoundingLeavesTakesItBackAndForth) {
  Line({{20, 20}, {60, 20}, {60, 60}});
  Corner corner;
  corner.point = {59, 21};
  ASSERT_EQ(geo.FindCorner(drawing.lines, corner), 1);
  ASSERT_EQ(geo.RoundLineCorner(corner, 10), 1);
  ASSERT_NE(corner.arc, nullptr);
  EXPECT_DOUBLE_EQ(corner.radius, 10.0);
  EXPECT_TRUE(Same(Pts(corner.arc), {{50, 30}, {50, 20}, {60, 30}}));

  ASSERT_EQ(geo.RoundLineCorner(corner, 0), 1);
  EXPECT_EQ(corner.arc, nullptr);
  EXPECT_DOUBLE_EQ(corner.radius, 0.0);
  EXPECT_TRUE(Same(corner.point, {60, 20}));
  EXPECT_EQ(Count(drawing.lines), 2);

  ASSERT_EQ(geo.RoundLineCorner(corner, 10), 1);
  ASSERT_NE(corner.arc, nullptr);
  EXPECT_TRUE(Same(Pts(corner.arc), {{50, 30}, {50, 20}, {60, 30}}));
  EXPECT_EQ(Count(drawing.lines), 3);
}

TEST_F(CornerTest, ThreeLinesAtACornerAnswerZeroWithoutChange) {
  line1 = Line({{0, 0}, {10, 0}});
  Line({{10, 0}, {10, 10}});
  Line({{10, 0}, {20, 5}});
  Corner corner;
  corner.point = {9.8, 0.1};
  ASSERT_EQ(geo.FindCorner(line1, corner), 1);
  EXPECT_EQ(corner.line2, nullptr);
  EXPECT_EQ(geo.RoundLineCorner(corner, 2), 0);
  EXPECT_EQ(Count(drawing.lines), 3);
  // An arc with no single open line at an end is no corner.
  LineElement* lone = Line({{50, 50}, {55, 50}, {50, 55}}, kShapeArc);
  EXPECT_EQ(geo.FindCorner(lone, corner), 0);
  EXPECT_EQ(corner.line1, nullptr);
}

} // namespace
} // namespace lumora::test
