#include "files/drawing_dump.h"
#include "model/store_fixture.h"

namespace lumora::test {
namespace {

class JournalTest : public StoreTest {
protected:
  JournalTest() { store.EnableJournal(true); }
  std::string Report() const { return DrawingReport(drawing); }
  void Sound() const { EXPECT_EQ(store.CheckSoundness(), ""); }
  bool Undo() {
    StepKind kind = StepKind::kChange;
    return store.Undo(kind);
  }
  bool Redo() {
    StepKind kind = StepKind::kChange;
    return store.Redo(kind);
  }
};

TEST_F(JournalTest, StepsOfDeletesComeBackInTheirPlacesWithIndexesAndMembership) {
  const std::string empty = Report();
  LineElement* a = Line({{10, 10}, {20, 10}});
  LineElement* b = Line({{10, 20}, {20, 20}, {20, 30}}, kShapeClosed);
  LineElement* c = Line({{30, 30}, {40, 40}});
  Filling({b});
  Text({50, 50});
  PartElement* part = Part(1);
  store.AddMember(part, a);
  store.AddMember(part, c);
  PartElement* outer = Part(1);
  store.AddMember(outer, part);
  ASSERT_TRUE(store.CommitStep());
  const std::string built = Report();
  // A boundary line (its filling goes with it), then the nested part with its members.
  store.DeleteLine(b);
  store.DeletePart(part, true);
  ASSERT_TRUE(store.CommitStep());
  const std::string deleted = Report();
  EXPECT_EQ(Count(drawing.lines), 0);
  EXPECT_EQ(Count(drawing.parts), 0) << "the outer part was left empty";

  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(Undo());
    EXPECT_EQ(Report(), built);
    Sound();
    // The searches find the lines again, newest first as the list runs.
    EXPECT_EQ(store.LineIndex()->size(), 3u);
    ASSERT_TRUE(Undo());
    EXPECT_EQ(Report(), empty);
    EXPECT_FALSE(Undo());
    ASSERT_TRUE(Redo());
    EXPECT_EQ(Report(), built);
    ASSERT_TRUE(Redo());
    EXPECT_EQ(Report(), deleted);
    Sound();
    EXPECT_FALSE(Redo());
  }
}

TEST_F(JournalTest, InPlaceChangesAndBoundaryJoinsAreTakenBackExactly) {
  LineElement* a = Line({{10, 10}, {20, 10}, {20, 20}});
  LineElement* b = Line({{30, 10}, {40, 10}});
  FillingElement* f = Filling({a});
  store.CommitStep();
  const std::string before = Report();
  store.Keep(*a);
  a->points[1] = {150, 150};
  store.SetZones(*a, LineBox(*a));
  LineElement* with[] = {a, b};
  ASSERT_TRUE(store.ReplaceBoundaryEntry(*f, 0, with));
  ASSERT_TRUE(store.CommitStep());
  const std::string after = Report();
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Report(), before);
  EXPECT_EQ(store.FillingsBoundedBy(b).size(), 0u);
  Sound();
  ASSERT_TRUE(Redo());
  EXPECT_EQ(Report(), after);
  EXPECT_EQ(store.FillingsBoundedBy(b).size(), 1u);
  Sound();
}

TEST_F(JournalTest, NothingIsAStepUnlessItChangedTheDrawing) {
  LineElement* a = Line({{10, 10}, {20, 10}});
  store.CommitStep();
  // A command hiding a line for a while, or keeping one it leaves as it was.
  store.Keep(*a);
  a->SetHidden(1);
  EXPECT_FALSE(store.CommitStep());
  a->SetHidden(0);
  // A selection group is a command's working set.
  PartElement* group = Part(0);
  store.AddMember(group, a);
  store.DeletePart(group, false);
  EXPECT_FALSE(store.CommitStep());
  EXPECT_EQ(store.Journal().done.size(), 1u);
}

TEST_F(JournalTest, ANewChangeDropsTheStepsTakenBackAndReadingStartsANewHistory) {
  Line({{10, 10}, {20, 10}});
  store.CommitStep();
  Line({{10, 20}, {20, 20}});
  store.CommitStep();
  ASSERT_TRUE(Undo());
  Text({5, 5});
  store.CommitStep();
  EXPECT_FALSE(store.CanRedo());
  EXPECT_EQ(Count(drawing.lines), 1);
  // Clearing for a read: what is read until the step ends is no step at all.
  store.ClearDrawing();
  Line({{1, 1}, {2, 2}});
  EXPECT_FALSE(store.CommitStep());
  EXPECT_FALSE(store.CanUndo());
  Line({{3, 3}, {4, 4}});
  EXPECT_TRUE(store.CommitStep());
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Count(drawing.lines), 1);
}

TEST_F(JournalTest, TheDrawingIsSavedAgainWhenTheStepsComeBackToTheSave) {
  Line({{10, 10}, {20, 10}});
  store.CommitStep();
  drawing.changes = 0; // saved
  store.CommitStep();
  Line({{10, 20}, {20, 20}});
  store.CommitStep();
  EXPECT_NE(drawing.changes, 0u);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(drawing.changes, 0u);
  ASSERT_TRUE(Undo());
  EXPECT_NE(drawing.changes, 0u);
  ASSERT_TRUE(Redo());
  EXPECT_EQ(drawing.changes, 0u);
  // Once another change replaces the saved state's future, no position is the save.
  ASSERT_TRUE(Undo());
  Line({{10, 30}, {20, 30}});
  store.CommitStep();
  ASSERT_TRUE(Undo());
  EXPECT_NE(drawing.changes, 0u);
}

// A deleted record stays as it is while a step can bring it back: the step keeps a few words of
// it, however many points or letters it holds, and counts the record itself against the budget.
TEST_F(JournalTest, ADeleteKeepsAFewWordsPerElementAndCountsTheRecords) {
  constexpr int kElements = 50;
  constexpr std::size_t kPerElement = 16 * sizeof(void*);
  std::vector<Point> points;
  for (int i = 0; i < 2000; ++i) points.push_back({double(i), double(i % 7)});
  for (int k = 0; k < kElements; ++k) {
    Line(points);
    const Point at{1.0 * k, 1};
    store.AddText({}, &at, 1, std::string(2000, 'x'));
  }
  ASSERT_TRUE(store.CommitStep());
  const std::string built = Report();
  const std::size_t before = store.Journal().bytes;
  while (LineElement* line = drawing.lines) store.DeleteLine(line);
  while (TextElement* text = drawing.texts) store.DeleteText(text);
  ASSERT_TRUE(store.CommitStep());
  const std::size_t records = kElements * (sizeof(LineElement) + points.size() * sizeof(Point) +
                                           sizeof(TextElement) + sizeof(Point) + 2001);
  EXPECT_GE(store.Journal().bytes - before, records);
  EXPECT_LE(store.Journal().bytes - before, records + 2 * kElements * kPerElement + 1024);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Report(), built);
  Sound();
  ASSERT_TRUE(Redo());
  EXPECT_EQ(drawing.lines, nullptr);
  EXPECT_EQ(drawing.texts, nullptr);
}

TEST_F(JournalTest, OverTheBudgetTheOldestStepsGoWithOneMessage) {
  store.SetJournalBudget(1);
  for (int k = 0; k < 4; ++k) {
    Line({{10.0 * k, 10}, {10.0 * k + 5, 10}});
    store.CommitStep();
    LineElement* gone = drawing.lines;
    store.DeleteLine(gone);
    store.CommitStep();
  }
  EXPECT_EQ(env.errors.size(), 1u);
  EXPECT_EQ(store.Journal().done.size(), 1u);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Count(drawing.lines), 1);
  EXPECT_FALSE(Undo());
  Sound();
}

// A filling that joins a part (its words kept) and then loses a boundary entry (kept whole) in
// the same step comes back with its whole boundary, written into room for all of it.
TEST_F(JournalTest, AFillingKeptByItsWordsAndThenWholeComesBackWithItsBoundary) {
  LineElement* a = Line({{0, 0}, {10, 0}});
  LineElement* b = Line({{10, 0}, {10, 10}});
  LineElement* c = Line({{10, 10}, {0, 0}});
  FillingElement* filling = Filling({a, b, c});
  PartElement* part = Part(1);
  store.AddMember(part, a);
  ASSERT_TRUE(store.CommitStep());
  const std::string before = Report();
  store.AddMember(part, filling);
  ASSERT_TRUE(store.ReplaceBoundaryEntry(*filling, 0, {}));
  ASSERT_TRUE(store.CommitStep());
  const std::string after = Report();
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(Undo());
    EXPECT_EQ(Report(), before);
    ASSERT_EQ(filling->ls0(), 3u);
    EXPECT_EQ(filling->lines[2], c);
    EXPECT_EQ(store.CheckSoundness(), "");
    ASSERT_TRUE(Redo());
    EXPECT_EQ(Report(), after);
    EXPECT_EQ(store.CheckSoundness(), "");
  }
  Sound();
}

// Deleted records weigh what they hold: deleting a long line again and again reaches the
// budget, though each step's own words are few.
TEST_F(JournalTest, DeletedRecordsCountAgainstTheBudget) {
  store.SetJournalBudget(std::size_t{1} << 20);
  std::vector<Point> points;
  for (int i = 0; i < 4000; ++i) points.push_back({double(i % 100), double(i / 100)});
  for (int k = 0; k < 40; ++k) {
    Line(points);
    store.CommitStep();
    store.DeleteLine(drawing.lines);
    store.CommitStep();
  }
  EXPECT_EQ(env.errors.size(), 1u);
  EXPECT_LE(store.Journal().bytes, std::size_t{1} << 20);
  EXPECT_LT(store.Journal().done.size(), 80u);
}

} // namespace
} // namespace lumora::test
