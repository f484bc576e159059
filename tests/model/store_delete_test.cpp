// Deleting: cascades to fillings and emptied parts, part deletes with and without members,
// clearing the drawing, and no list left pointing at a freed record.
#include "model/store_fixture.h"

namespace lumora::test {
namespace {

TEST_F(StoreTest, DeletingABoundaryLineDeletesItsFillingsOnly) {
  LineElement* a = Line({{10, 10}, {20, 10}});
  LineElement* b = Line({{20, 10}, {20, 20}});
  // Outside the limits, so without zones: the cascade must still find its filling.
  LineElement* far = Line({{500, 500}, {600, 600}});
  FillingElement* both = Filling({a, b});
  Filling({b});
  Filling({far});
  FillingElement* unbounded = Filling({nullptr});

  // The filling last picked goes with its line and is forgotten: a new filling that takes its
  // memory is not stepped past as if picked before.
  store.RememberFillingPick(both);
  EXPECT_EQ(store.DeleteLine(a), 1);
  EXPECT_EQ(store.LastFillingPick(), nullptr);
  EXPECT_EQ(Count(drawing.fillings), 3);
  EXPECT_EQ(env.draws.back().element, both);
  EXPECT_EQ(env.draws.back().mode, static_cast<int>(DrawMode::kErase));
  EXPECT_EQ(store.DeleteLine(b), 1);
  EXPECT_EQ(store.DeleteLine(far), 1);
  // The caller's pointer may be the filling's own boundary slot.
  FillingElement* own = Filling({Line({{30, 30}, {40, 40}}), Line({{40, 40}, {50, 30}})});
  EXPECT_EQ(store.DeleteLine(own->lines[1]), 1);
  EXPECT_EQ(drawing.fillings, unbounded);
  EXPECT_EQ(unbounded->next, nullptr);
}

TEST_F(StoreTest, ATypedPartEmptiedByDeletesDisappears) {
  PartElement* typed = Part(1);
  PartElement* group = Part(0);
  LineElement* line = Line({{10, 10}, {20, 20}});
  TextElement* text = Text({30, 30});
  LineElement* far = Line({{900, 900}, {950, 950}}); // no zones: must be let go all the same
  store.AddMember(typed, line);
  store.AddMember(typed, text);
  store.AddMember(typed, far);
  store.AddMember(group, line);

  EXPECT_EQ(store.DeleteLine(line), 1);
  EXPECT_EQ(group->lines, nullptr); // a selection group lets go too, but stays
  EXPECT_EQ(store.DeleteLine(far), 1);
  EXPECT_EQ(Count(drawing.parts), 2);
  EXPECT_EQ(store.DeleteText(text), 1);
  EXPECT_EQ(drawing.parts, group);
  EXPECT_EQ(group->next, nullptr);

  // The emptiness climbs: a typed part holding only an emptied typed part goes too.
  PartElement* outer = Part(1);
  PartElement* inner = Part(1);
  LineElement* last = Line({{1, 1}, {2, 2}});
  store.AddMember(inner, last);
  store.AddMember(outer, inner);
  EXPECT_EQ(store.DeleteLine(last), 1);
  EXPECT_EQ(drawing.parts, group);
}

TEST_F(StoreTest, DeletePartWithoutMembersKeepsThemAndClearsTheirFlags) {
  PartElement* part = Part(1);
  PartElement* sub = Part(1);
  LineElement* line = Line({{10, 10}, {20, 20}});
  FillingElement* filling = Filling({line});
  TextElement* text = Text({5, 5});
  LineElement* subLine = Line({{40, 40}, {50, 50}});
  store.AddMember(part, line);
  store.AddMember(part, filling);
  store.AddMember(part, text);
  store.AddMember(sub, subLine);
  store.AddMember(part, sub);
  const std::uint32_t changes = drawing.changes;

  EXPECT_EQ(store.DeletePart(part, false), 1);
  EXPECT_EQ(part, nullptr);
  EXPECT_EQ(Count(drawing.lines) + Count(drawing.fillings) + Count(drawing.texts), 4);
  EXPECT_EQ(drawing.parts, sub);
  EXPECT_EQ(line->inPart() | filling->inPart() | text->inPart() | sub->nested(), 0u);
  EXPECT_EQ(subLine->inPart(), 1u);
  // A placed part dissolved is no longer what a saved file holds; a selection group is.
  EXPECT_EQ(drawing.changes, changes + 1);
  PartElement* group = Part(0);
  store.AddMember(group, subLine);
  EXPECT_EQ(store.DeletePart(group, false), 1);
  EXPECT_EQ(drawing.changes, changes + 1);
}

TEST_F(StoreTest, DeletePartWithMembersDeletesEveryLevel) {
  PartElement* part = Part(1);
  PartElement* sub = Part(1);
  LineElement* subLine = Line({{40, 40}, {50, 50}});
  store.AddMember(part, Line({{10, 10}, {20, 20}}));
  store.AddMember(sub, subLine);
  store.AddMember(sub, Filling({subLine}));
  store.AddMember(part, sub);
  TextElement* keep = Text({70, 70});
  keep->SetSpareFlags(7); // whatever spare flags a record carries, only doomed records go
  store.Select(part);     // members leave the selection lists with them
  store.Select(keep);
  EXPECT_EQ(store.DeletePart(part, true), 1);
  EXPECT_EQ(drawing.SelectedLines, nullptr);
  EXPECT_EQ(drawing.SelectedFillings, nullptr);
  EXPECT_EQ(drawing.SelectedTexts->element, keep);
  EXPECT_EQ(drawing.parts, nullptr);
  EXPECT_EQ(drawing.lines, nullptr);
  EXPECT_EQ(drawing.fillings, nullptr);
  EXPECT_EQ(drawing.texts, keep);

  // A sub-part holding only a filling on a line of the outer part: deleting that line empties
  // the sub-part, and the cascade must not delete the outer part a second time.
  PartElement* outer = Part(1);
  PartElement* holder = Part(1);
  LineElement* edge = Line({{10, 10}, {20, 20}});
  store.AddMember(outer, edge);
  store.AddMember(holder, Filling({edge}));
  store.AddMember(outer, holder);
  EXPECT_EQ(store.DeletePart(outer, true), 1);
  EXPECT_EQ(drawing.parts, nullptr);
}

TEST_F(StoreTest, DeletingASelectedElementTakesItOffTheSelection) {
  LineElement* line = Line({{10, 10}, {20, 20}});
  TextElement* text = Text({5, 5});
  store.Select(line);
  store.Select(text);
  store.Select(Filling({line}));
  EXPECT_EQ(store.DeleteText(text), 1);
  EXPECT_EQ(drawing.SelectedTexts, nullptr);
  // The caller's pointer may sit in the very node the delete frees.
  EXPECT_EQ(store.DeleteLine(drawing.SelectedLines->element), 1);
  EXPECT_EQ(drawing.SelectedLines, nullptr);
  EXPECT_EQ(drawing.SelectedFillings, nullptr);

  // The list head itself, or the previous record's link, only moves on to the next record.
  Line({{1, 1}});
  LineElement* second = Line({{2, 2}});
  Line({{3, 3}});
  EXPECT_EQ(store.DeleteLine(drawing.lines), 1);
  EXPECT_EQ(drawing.lines, second);
  EXPECT_EQ(store.DeleteLine(second->next), 1);
  EXPECT_EQ(second->next, nullptr);
  PartElement* older = Part(0);
  store.AddMember(Part(0), second);
  EXPECT_EQ(store.DeletePart(drawing.parts, false), 1);
  EXPECT_EQ(drawing.parts, older);
  EXPECT_EQ(store.DeletePart(drawing.parts, false), 1);
  EXPECT_EQ(drawing.parts, nullptr);
  EXPECT_EQ(drawing.lines, second);
}

TEST_F(StoreTest, ClearDrawingEmptiesAndResetsEverything) {
  LineElement* line = Line({{10, 10}, {20, 20}});
  store.AddMember(Part(1), line);
  store.SetHatch(*Filling({line}), drawing.lines->points, 2);
  Text({5, 5});
  store.Select(line);
  store.AddMarker({1, 1}, 'X');
  drawing.layerVisible[17] = 0;
  drawing.unitsChosen = 1;
  SetDrawingName(drawing, "plan");

  store.ClearDrawing();
  EXPECT_EQ(Count(drawing.lines) + Count(drawing.fillings) + Count(drawing.texts) +
                Count(drawing.parts) + Count(drawing.SelectedLines) + Count(drawing.MarkerList),
            0);
  EXPECT_TRUE(allocator.live.empty());
  EXPECT_EQ(drawing.layerVisible[17], 1u);
  EXPECT_EQ(drawing.changes + drawing.unitsChosen, 0u);
  ASSERT_EQ(env.viewBoxes.size(), 1u);
  EXPECT_EQ(env.viewBoxes[0].xmax, kLimit);
  EXPECT_EQ(env.fullRedraws + env.menuRedraws, 2);
  EXPECT_EQ(DrawingName(drawing), "plan");

  drawing.version = kAccurateVersion;
  drawing.step = 5.0;
  store.NewDrawing();
  EXPECT_EQ(DrawingName(drawing), "");
  EXPECT_EQ(drawing.version, kNewDrawingVersion);
  EXPECT_EQ(drawing.step, 1.0);
}

} // namespace
} // namespace lumora::test
