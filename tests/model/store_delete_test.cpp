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
  FillingElement* onlyB = Filling({b});
  FillingElement* onFar = Filling({far});
  Filling({nullptr});

  EXPECT_EQ(store.DeleteLine(a), 1);
  EXPECT_EQ(Count(drawing.fillings), 3);
  for (FillingElement* f = drawing.fillings; f != nullptr; f = f->next) EXPECT_NE(f, both);
  ASSERT_FALSE(env.draws.empty());
  EXPECT_EQ(env.draws.back().element, both);
  EXPECT_EQ(env.draws.back().mode, kDrawErase);

  EXPECT_EQ(store.DeleteLine(b), 1);
  EXPECT_EQ(store.DeleteLine(far), 1);
  EXPECT_EQ(Count(drawing.fillings), 1);
  EXPECT_NE(drawing.fillings, onlyB);
  EXPECT_NE(drawing.fillings, onFar);
}

TEST_F(StoreTest, ATypedPartEmptiedByDeletesDisappears) {
  PartElement* typed = store.AddPart("door", 1, 0);
  PartElement* group = store.AddPart("", 0, 0);
  LineElement* line = Line({{10, 10}, {20, 20}});
  TextElement* text = Text({30, 30});
  // Outside the limits: the part has to let go of it all the same.
  LineElement* far = Line({{900, 900}, {950, 950}});
  store.AddMember(typed, line);
  store.AddMember(typed, text);
  store.AddMember(typed, far);
  store.AddMember(group, line);

  EXPECT_EQ(store.DeleteLine(line), 1);
  EXPECT_EQ(Count(typed->lines), 1);
  EXPECT_EQ(group->lines, nullptr); // a selection group lets go too but stays
  EXPECT_EQ(store.DeleteLine(far), 1);
  EXPECT_EQ(Count(drawing.parts), 2);
  EXPECT_EQ(store.DeleteText(text), 1);
  ASSERT_EQ(Count(drawing.parts), 1);
  EXPECT_EQ(drawing.parts, group);

  // The emptiness climbs: a typed part whose only member is an emptied typed part goes too.
  PartElement* outer = store.AddPart("outer", 1, 0);
  PartElement* inner = store.AddPart("inner", 1, 0);
  LineElement* last = Line({{1, 1}, {2, 2}});
  store.AddMember(inner, last);
  store.AddMember(outer, inner);
  EXPECT_EQ(store.DeleteLine(last), 1);
  EXPECT_EQ(Count(drawing.parts), 1);
}

TEST_F(StoreTest, DeletePartWithoutMembersKeepsThemAndClearsTheirFlags) {
  PartElement* part = store.AddPart("p", 1, 0);
  PartElement* sub = store.AddPart("s", 1, 0);
  LineElement* line = Line({{10, 10}, {20, 20}});
  FillingElement* filling = Filling({line});
  TextElement* text = Text({5, 5});
  LineElement* subLine = Line({{40, 40}, {50, 50}});
  store.AddMember(part, line);
  store.AddMember(part, filling);
  store.AddMember(part, text);
  store.AddMember(sub, subLine);
  store.AddMember(part, sub);
  ASSERT_EQ(sub->nested(), 1u);
  const std::uint32_t changes = drawing.changes;

  EXPECT_EQ(store.DeletePart(part, false), 1);
  EXPECT_EQ(part, nullptr);
  EXPECT_EQ(Count(drawing.lines), 2);
  EXPECT_EQ(Count(drawing.fillings), 1);
  EXPECT_EQ(Count(drawing.texts), 1);
  ASSERT_EQ(drawing.parts, sub);
  EXPECT_EQ(line->inPart() | filling->inPart() | text->inPart() | sub->nested(), 0u);
  EXPECT_EQ(subLine->inPart(), 1u);
  EXPECT_EQ(drawing.changes, changes);
}

TEST_F(StoreTest, DeletePartWithMembersDeletesEveryLevel) {
  PartElement* part = store.AddPart("p", 1, 0);
  PartElement* sub = store.AddPart("s", 1, 0);
  LineElement* line = Line({{10, 10}, {20, 20}});
  LineElement* subLine = Line({{40, 40}, {50, 50}});
  FillingElement* subFilling = Filling({subLine});
  TextElement* keep = Text({70, 70});
  store.AddMember(part, line);
  store.AddMember(sub, subLine);
  store.AddMember(sub, subFilling);
  store.AddMember(part, sub);

  EXPECT_EQ(store.DeletePart(part, true), 1);
  EXPECT_EQ(drawing.parts, nullptr);
  EXPECT_EQ(drawing.lines, nullptr);
  EXPECT_EQ(drawing.fillings, nullptr);

  // A sub-part whose only member is a filling on a line of the outer part: deleting that line
  // empties the sub-part, and the cascade must not delete the outer part a second time.
  PartElement* outer = store.AddPart("o", 1, 0);
  PartElement* holder = store.AddPart("h", 1, 0);
  LineElement* edge = Line({{10, 10}, {20, 20}});
  store.AddMember(outer, edge);
  store.AddMember(holder, Filling({edge}));
  store.AddMember(outer, holder);
  EXPECT_EQ(store.DeletePart(outer, true), 1);
  EXPECT_EQ(drawing.parts, nullptr);
  EXPECT_EQ(drawing.lines, nullptr);
  EXPECT_EQ(drawing.texts, keep);
}

TEST_F(StoreTest, DeletingASelectedElementTakesItOffTheSelection) {
  LineElement* line = Line({{10, 10}, {20, 20}});
  TextElement* text = Text({5, 5});
  FillingElement* filling = Filling({line});
  store.Select(line);
  store.Select(text);
  store.Select(filling);
  EXPECT_EQ(store.DeleteText(text), 1);
  EXPECT_EQ(drawing.SelectedTexts, nullptr);
  EXPECT_EQ(store.DeleteLine(line), 1);
  EXPECT_EQ(drawing.SelectedLines, nullptr);
  EXPECT_EQ(drawing.SelectedFillings, nullptr);
  store.ClearSelections(); // nothing freed is drawn (ASan would object)
}

TEST_F(StoreTest, ClearDrawingEmptiesAndResetsEverything) {
  PartElement* part = store.AddPart("p", 1, 0);
  LineElement* line = Line({{10, 10}, {20, 20}});
  store.AddMember(part, line);
  Filling({line});
  Text({5, 5});
  store.Select(line);
  store.AddMarker({1, 1}, 'X');
  const Point square[] = {{0, 0}, {1, 0}, {1, 1}};
  store.AddOutline(square, 3);
  drawing.layerVisible[17] = 0;
  drawing.unitsChosen = 1;
  SetDrawingName(drawing, "plan");

  store.ClearDrawing();
  EXPECT_EQ(drawing.lines, nullptr);
  EXPECT_EQ(drawing.fillings, nullptr);
  EXPECT_EQ(drawing.texts, nullptr);
  EXPECT_EQ(drawing.parts, nullptr);
  EXPECT_EQ(drawing.SelectedLines, nullptr);
  EXPECT_EQ(drawing.MarkerList, nullptr);
  EXPECT_EQ(drawing.OutlineList, nullptr);
  EXPECT_EQ(drawing.layerVisible[17], 1u);
  EXPECT_EQ(drawing.changes, 0u);
  EXPECT_EQ(drawing.unitsChosen, 0u);
  ASSERT_EQ(env.viewBoxes.size(), 1u);
  EXPECT_EQ(env.viewBoxes[0].xmax, kLimit);
  EXPECT_EQ(env.fullRedraws, 1);
  EXPECT_EQ(env.menuRedraws, 1);
  EXPECT_TRUE(allocator.live.empty());
  EXPECT_EQ(DrawingName(drawing), "plan");

  drawing.version = kAccurateVersion;
  drawing.step = 5.0;
  store.NewDrawing();
  EXPECT_EQ(DrawingName(drawing), "");
  EXPECT_EQ(drawing.version, kNewDrawingVersion);
  EXPECT_EQ(drawing.step, 1.0);
}

TEST(StoreLifetime, DestroyingTheStoreFreesEverythingWithoutDrawing) {
  Drawing drawing;
  RecordingEnvironment env;
  CountingAllocator allocator;
  {
    ElementStore store(drawing, env, allocator);
    PropertySet set;
    const Point points[] = {{1, 1}, {2, 2}};
    LineElement* line = store.AddLine(set, points, 2);
    FillingElement* filling = store.AddFilling(set, &line, 1);
    store.SetHatch(*filling, points, 2);
    PartElement* part = store.AddPart("p", 1, 0);
    store.AddMember(part, line);
    store.AddMember(part, store.AddText(set, points, 2, "t"));
    store.Select(line);
    store.AddMarker(points[0], '+');
    env.draws.clear();
  }
  EXPECT_TRUE(allocator.live.empty());
  EXPECT_TRUE(env.draws.empty());
  EXPECT_EQ(drawing.lines, nullptr);
}

} // namespace
} // namespace lumora::test
