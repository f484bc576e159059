#include "commands/measure_commands.h"
#include "commands/text_fixture.h"
#include "model/drawing.h"
#include "model/elements.h"
#include "text/text_layout.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(MeasureValue, DirectionAndValue) {
  const Point o{0, 0};
  const Point p{30, 40};
  // Horizontal or vertical turns to the axis the points are farther apart along.
  EXPECT_EQ(MeasureDirection(0, o, p), 90);
  EXPECT_EQ(MeasureValue(o, p, 90), "40");
  EXPECT_EQ(MeasureDirection(90, o, {40, 30}), 0);
  EXPECT_EQ(MeasureDirection(0, o, {20, -20}), 90);
  EXPECT_EQ(MeasureDirection(0.0005, o, {40, 30}), 0);
  EXPECT_EQ(MeasureDirection(89.9995, o, {40, 30}), 0);
  // Any other angle stays and measures along itself.
  EXPECT_EQ(MeasureDirection(30, o, p), 30);
  EXPECT_EQ(MeasureValue(o, p, 30), "45.981");
  EXPECT_EQ(MeasureValue(o, {40.0004, 0}, 0), "40");
  EXPECT_EQ(MeasureValue({5, 5}, {5, 5.25}, 90), "0.25");
}

TEST(AngleValue, FromTheRightSideToTheLeft) {
  std::string value;
  EXPECT_TRUE(AngleValue({30, 20}, {60, 20}, {20, 30}, {20, 60}, value));
  EXPECT_EQ(value, "90`");
  EXPECT_TRUE(AngleValue({20, 30}, {20, 60}, {30, 20}, {60, 20}, value));
  EXPECT_EQ(value, "270`");
  // A direction point on the crossing: the side points to its start.
  EXPECT_TRUE(AngleValue({30, 20}, {60, 20}, {20, 60}, {20, 20}, value));
  EXPECT_EQ(value, "90`");
  EXPECT_TRUE(AngleValue({0, 0}, {10, 0}, {0, 0}, {10, 10}, value));
  EXPECT_EQ(value, "45`");
  EXPECT_FALSE(AngleValue({20, 100}, {60, 100}, {20, 110}, {60, 110}, value));
  EXPECT_EQ(value, "*`");
  // A side whose both points lie on the crossing has no direction.
  EXPECT_FALSE(AngleValue({0, 0}, {0.0004, 0}, {0, -5}, {0, 5}, value));
  EXPECT_EQ(value, "*`");
}

using TextCommands = TextFixture;

TEST_F(TextCommands, TheTextAngleComesBackOnEveryWayOut) {
  double& angle = app.properties.text.angle;
  angle = 45;
  // A cancelled type choice.
  Key(kCodeAddMeasure);
  Key(kCodeEsc);
  EXPECT_EQ(angle, 45);
  // Esc after the measure turned the text vertical.
  Key(kCodeAddMeasure);
  Key(kCodeEnter);
  EXPECT_EQ(angle, 0); // the measure type's own angle
  EnterAt(0, 0);
  EnterAt(30, 40);
  EXPECT_EQ(angle, 90);
  EXPECT_NE(Prompt().find("'40'"), std::string::npos) << Prompt();
  Key(kCodeEsc);
  EXPECT_EQ(angle, 45);
  EXPECT_EQ(app.drawing.MarkerList, nullptr);
  // The Esc another main function sends, with the string entry open.
  Key(kCodeAngleMeasure);
  Key(kCodeEnter);
  angle = 10;
  EnterAt(0, 0);
  EnterAt(10, 0);
  EnterAt(0, 0);
  EnterAt(0, 10);
  Key(kCodeCtrlEnter);
  ASSERT_EQ(control.state.inputMode, kModeTextEntry);
  Key(kCodeAddText);
  EXPECT_EQ(angle, 45);
  EXPECT_EQ(app.drawing.MarkerList, nullptr);
  EXPECT_EQ(LevelCode(control, Level::kMain), kCodeAddText);
}

TEST_F(TextCommands, MeasuresKeepTheirPointsAndValue) {
  Key(kCodeAddMeasure);
  Key(kCodeEnter);
  EnterAt(20, 100);
  EnterAt(50, 140);
  EXPECT_EQ(control.In().cursor.x, 35); // the cursor waits between the points
  EXPECT_EQ(control.In().cursor.y, 120);
  Key(kCodeTab);
  ASSERT_NE(app.drawing.texts, nullptr);
  const TextElement& made = *app.drawing.texts;
  EXPECT_EQ(TextOf(made), "40");
  EXPECT_EQ(made.mitta(), 1u);
  EXPECT_EQ(made.angle(), 90);
  ASSERT_EQ(made.pointCount(), 3u);
  EXPECT_EQ(made.points[2].y, 140);
  EXPECT_EQ(app.drawing.MarkerList, nullptr);
  // Taken back, it comes with its two marks.
  Key(kCodeBackspace);
  EXPECT_EQ(app.drawing.texts, nullptr);
  int marks = 0;
  for (const MarkerNode* m = app.drawing.MarkerList; m != nullptr; m = m->next) ++marks;
  EXPECT_EQ(marks, 2);
}

TEST_F(TextCommands, TheCursorCarriesTheTextUntilItEnds) {
  Key(kCodeAddText);
  Key(kCodeEnter);
  Type("Hi");
  Key(kCodeEnter);
  const InputRecord& in = control.In();
  ASSERT_EQ(in.previewKind, kPreviewShape);
  ASSERT_EQ(in.pointCount, 5);
  const double shortWidth = in.points[1].x - in.points[0].x;
  EXPECT_GT(shortWidth, 0);
  Key(kCodeBackspace);
  Key(kCodeEnd);
  Type("gher");
  Key(kCodeEnter);
  EXPECT_GT(in.points[1].x - in.points[0].x, shortWidth);
  Key(kCodeEsc);
  EXPECT_EQ(in.pointCount, 0);
}

TEST_F(TextCommands, TakingBackATextGoneMeanwhileDoesNothing) {
  Key(kCodeAddText);
  Key(kCodeEnter);
  Type("Gone");
  Key(kCodeEnter);
  EnterAt(10, 10);
  ASSERT_NE(app.drawing.texts, nullptr);
  app.store.ClearDrawing();
  Key(kCodeBackspace);
  EXPECT_TRUE(Shown("Nothing to be done !"));
  EXPECT_EQ(app.drawing.texts, nullptr);
}

} // namespace
} // namespace lumora
