// The line commands driven by codes through the real translation and dispatcher on the shipped
// setup: the full vertex and clipping-point tables, the line dialog in the middle of a line, and
// Backspace after a clone was taken back.
#include "commands/line_commands.h"
#include "model/drawing.h"
#include "screen/text_screen.h"
#include "support/started_app.h"

#include <gtest/gtest.h>
#include <string>

namespace lumora {
namespace {

struct LineCommandFixture : StartedApp {
  void AddSegment(Point a, Point b) {
    Key(kCodeAddLine);
    Key(kCodeEnter); // the first line type
    EnterAt(a.x, a.y);
    EnterAt(b.x, b.y);
    Key(kCodeTab);
    Key(kCodeEsc);
  }
};

TEST_F(LineCommandFixture, TheVertexTableHoldsTwoHundredAndTheLineCanStillBeFinished) {
  Key(kCodeAddLine);
  Key(kCodeEnter);
  for (int i = 0; i < kMaxRubberBandPoints; ++i) EnterAt(10.0 + 0.5 * i, 20.0 + (i % 2));
  ASSERT_EQ(control.In().pointCount, kMaxRubberBandPoints);
  EnterAt(150.0, 150.0);
  EXPECT_TRUE(Shown("Pistetaulukko täynnä !"_l1));
  EXPECT_EQ(control.In().pointCount, kMaxRubberBandPoints);
  // Backspace still drops one, and Tab makes the line of what is held.
  Key(kCodeBackspace);
  EXPECT_EQ(control.In().pointCount, kMaxRubberBandPoints - 1);
  EnterAt(150.0, 150.0);
  Key(kCodeTab);
  ASSERT_EQ(Lines(), 1);
  EXPECT_EQ(app.drawing.lines->ps0(), static_cast<std::uint32_t>(kMaxRubberBandPoints));
  EXPECT_EQ(control.In().pointCount, 0);
}

TEST_F(LineCommandFixture, TheLineDialogChangesTheNextLineOnly) {
  AddSegment({20.0, 20.0}, {60.0, 20.0});
  const std::uint32_t before = app.drawing.lines->width();
  Key(kCodeAddLine);
  Key(kCodeEnter);
  EnterAt(20.0, 40.0);
  // Key 2, the width line, the next width in its list, and the dialog closed.
  for (int key : {kCodePropertiesMenuKey, kCodeDown, kCodeEnter, kCodeDown, kCodeEnter, kCodeEsc}) {
    Key(key);
  }
  EXPECT_EQ(control.In().pointCount, 1);
  EnterAt(60.0, 40.0);
  Key(kCodeTab);
  ASSERT_EQ(Lines(), 2);
  EXPECT_NE(app.drawing.lines->width(), before);
  EXPECT_EQ(app.drawing.lines->width(), app.properties.line.width());
  EXPECT_EQ(app.drawing.lines->next->width(), before);
}

TEST_F(LineCommandFixture, ClippingTakesTwoHundredPointsAndCutsAtAllOfThem) {
  AddSegment({5.0, 100.0}, {195.0, 100.0});
  Key(kCodeClipLine);
  EnterAt(100.0, 100.0);
  for (std::size_t i = 0; i < kMaxClipPoints; ++i)
    EnterAt(10.0 + 0.5 * static_cast<double>(i), 100.0);
  EnterAt(150.0, 100.0);
  EXPECT_TRUE(Shown("No clipping point found !"));
  EXPECT_EQ(Lines(), 1);
  Key(kCodeTab);
  EXPECT_EQ(Lines(), static_cast<int>(kMaxClipPoints) + 1);
  EXPECT_EQ(app.drawing.MarkerList, nullptr);
}

TEST_F(LineCommandFixture, BackspaceTakesAClonedLineBackOnceAndThenHasNothingToDo) {
  AddSegment({20.0, 100.0}, {80.0, 100.0});
  Key(kCodeCloneLine);
  Key(kCodeEnter);
  EnterAt(50.0, 100.0); // on the line: a position is asked
  EnterAt(50.0, 110.0);
  ASSERT_EQ(Lines(), 2);
  Key(kCodeBackspace); // the clone goes and the line is picked again
  EXPECT_EQ(Lines(), 1);
  Key(kCodeBackspace); // the pick goes
  Key(kCodeBackspace); // the deleted clone is not deleted a second time
  EXPECT_TRUE(Shown("Nothing to be done !"));
  EXPECT_EQ(Lines(), 1);
  // A clone at a new position is the one Backspace takes.
  EnterAt(50.0, 100.0);
  EnterAt(50.0, 90.0);
  ASSERT_EQ(Lines(), 2);
  EXPECT_DOUBLE_EQ(app.drawing.lines->points[0].y, 90.0);
}

} // namespace
} // namespace lumora
