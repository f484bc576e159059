// Selections, markers and outlines: what is drawn, in which mode and order, and what is kept.
#include "model/store_fixture.h"

namespace lumora::test {
namespace {

TEST_F(StoreTest, SelectingHighlightsAndUnselectingErases) {
  PartElement* part = store.AddPart("p", 1, 0);
  LineElement* line = Line({{10, 10}, {20, 20}});
  TextElement* text = Text({5, 5});
  PartElement* sub = store.AddPart("s", 1, 0);
  LineElement* subLine = Line({{30, 30}, {40, 40}});
  store.AddMember(part, line);
  store.AddMember(part, text);
  store.AddMember(sub, subLine);
  store.AddMember(part, sub);
  env.draws.clear();

  store.Select(part);
  EXPECT_EQ(Count(drawing.SelectedLines), 2);
  EXPECT_EQ(drawing.SelectedTexts->element, text);
  ASSERT_EQ(env.draws.size(), 3u);
  for (const DrawCall& call : env.draws) EXPECT_EQ(call.mode, kDrawHighlight);

  env.draws.clear();
  store.Unselect(line);
  ASSERT_EQ(env.draws.size(), 1u);
  EXPECT_EQ(env.draws[0].element, line);
  EXPECT_EQ(env.draws[0].mode, kDrawErase);
  ASSERT_EQ(Count(drawing.SelectedLines), 1);
  EXPECT_EQ(drawing.SelectedLines->element, subLine);

  store.Unselect(part);
  EXPECT_EQ(drawing.SelectedLines, nullptr);
  EXPECT_EQ(drawing.SelectedTexts, nullptr);
}

TEST_F(StoreTest, ClearSelectionsErasesMarkersOutlinesTextsFillingsLinesInOrder) {
  LineElement* line = Line({{10, 10}, {20, 20}});
  FillingElement* filling = Filling({line});
  TextElement* text = Text({5, 5});
  store.Select(line);
  store.Select(filling);
  store.Select(text);
  const Point triangle[] = {{0, 0}, {4, 0}, {2, 3}};
  store.AddOutline(triangle, 3);
  store.AddMarker({7, 7}, 'O');
  env.draws.clear();

  store.ClearSelections();
  ASSERT_EQ(env.draws.size(), 5u);
  EXPECT_EQ(env.draws[0].mode, 'O');
  EXPECT_EQ(env.draws[1].mode, -3);
  EXPECT_EQ(env.draws[2].element, text);
  EXPECT_EQ(env.draws[3].element, filling);
  EXPECT_EQ(env.draws[4].element, line);
  EXPECT_EQ(env.draws[4].mode, kDrawErase);
  EXPECT_EQ(drawing.lines, line); // the elements themselves stay
}

TEST_F(StoreTest, MarkersAndOutlinesAreDrawnOnAddAndAgainOnRemove) {
  Point where{3, 4};
  store.AddMarker(where, '+');
  store.AddMarker({9, 9}, 'X');
  where.x = 100; // the marker keeps its own copy of the point
  EXPECT_EQ(drawing.MarkerList->next->point.x, 3.0);
  EXPECT_EQ(store.RemoveMarker({3.0005, 4}), 1);
  EXPECT_EQ(store.RemoveMarker({3, 4}), 0);
  ASSERT_EQ(env.markerDraws.size(), 3u);
  EXPECT_EQ(env.markerDraws[2].x, 3.0);
  EXPECT_EQ(Count(drawing.MarkerList), 1);

  const Point square[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  const Point other[] = {{0, 0}, {1, 0}, {1, 2}, {0, 1}};
  store.AddOutline(square, 4);
  EXPECT_EQ(store.RemoveOutline(other, 4), 0);
  EXPECT_EQ(store.RemoveOutline(square, 3), 0);
  EXPECT_EQ(store.RemoveOutline(square, 4), 1);
  EXPECT_EQ(drawing.OutlineList, nullptr);
  EXPECT_EQ(store.AddOutline(square, 0), nullptr);
}

} // namespace
} // namespace lumora::test
