// Selections, markers and outlines: what is drawn, in which mode and order.
#include "model/store_fixture.h"

namespace lumora::test {
namespace {

TEST_F(StoreTest, SelectingAPartHighlightsEveryMemberAndUnselectingErases) {
  PartElement* part = Part(1);
  PartElement* sub = Part(1);
  LineElement* line = Line({{10, 10}, {20, 20}});
  store.AddMember(part, line);
  store.AddMember(part, Text({5, 5}));
  store.AddMember(sub, Line({{30, 30}, {40, 40}}));
  store.AddMember(part, sub);
  env.draws.clear();
  store.Select(part);
  EXPECT_EQ(Count(drawing.SelectedLines), 2);
  EXPECT_EQ(Count(drawing.SelectedTexts), 1);
  ASSERT_EQ(env.draws.size(), 3u);
  for (const DrawCall& call : env.draws)
    EXPECT_EQ(call.mode, static_cast<int>(DrawMode::kHighlight));

  store.Unselect(line);
  EXPECT_EQ(env.draws.back().element, line);
  EXPECT_EQ(env.draws.back().mode, static_cast<int>(DrawMode::kErase));
  EXPECT_EQ(Count(drawing.SelectedLines), 1);
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
  store.AddMarker({8, 8}, 'X');
  EXPECT_EQ(store.RemoveMarker({8.0005, 8}), 1);
  env.draws.clear();

  store.ClearSelections();
  const std::vector<const void*> elements{nullptr, nullptr, text, filling, line};
  const std::vector<int> modes{'O', -3, static_cast<int>(DrawMode::kErase),
                               static_cast<int>(DrawMode::kErase),
                               static_cast<int>(DrawMode::kErase)};
  ASSERT_EQ(env.draws.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(env.draws[i].element, elements[i]);
    EXPECT_EQ(env.draws[i].mode, modes[i]);
  }
  EXPECT_EQ(drawing.lines, line); // the elements themselves stay
  EXPECT_EQ(store.RemoveOutline(triangle, 3), 0);
}

// Every highlight is erased before anything is drawn again, fillings first as a full redraw
// draws them: no erase punches a hole in an element already drawn.
TEST_F(StoreTest, ShowingHighlightedNormallyErasesEveryHighlightThenDrawsAsARedraw) {
  LineElement* line = Line({{10, 10}, {20, 20}});
  FillingElement* filling = Filling({line});
  TextElement* text = Text({5, 5});
  store.Select(line);
  store.Select(filling);
  store.Select(text);
  env.draws.clear();
  store.ShowHighlightedNormally();
  EXPECT_EQ(drawing.SelectedLines, nullptr);
  EXPECT_EQ(drawing.SelectedFillings, nullptr);
  EXPECT_EQ(drawing.SelectedTexts, nullptr);
  const int erase = static_cast<int>(DrawMode::kErase);
  const int normal = static_cast<int>(DrawMode::kNormal);
  const std::vector<const void*> elements{line, filling, text, filling, line, text};
  const std::vector<int> modes{erase, erase, erase, normal, normal, normal};
  ASSERT_EQ(env.draws.size(), elements.size());
  for (std::size_t i = 0; i < elements.size(); ++i) {
    EXPECT_EQ(env.draws[i].element, elements[i]) << i;
    EXPECT_EQ(env.draws[i].mode, modes[i]) << i;
  }
  store.ShowHighlightedNormally(); // nothing highlighted: nothing drawn
  EXPECT_EQ(env.draws.size(), elements.size());
}

} // namespace
} // namespace lumora::test
