// The cursor, its lines, the rubber band and the drag preview come and go with the inverting
// pen; the help functions of the cursor work on the step as it is.
#include "commands/help_view.h"
#include "control/cursor_overlays.h"
#include "control/event_cycle.h"
#include "control/headless_app.h"
#include "model/property_set.h"
#include "ui/status_line.h"
#include "view/soft_canvas.h"
#include "view/view_cursor.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

struct OverlayFixture {
  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas{500, 432};

  OverlayFixture() {
    app.drawing.limits = {0, 0, 198, 281};
    app.view.viewBox = app.drawing.limits;
    AttachCanvas(app, canvas);
    HandleInput(app, {ExposeInput{canvas.Width(), canvas.Height()}, {}});
    PropertySet set;
    set.SetShape(kShapeOpen);
    set.SetColour(1);
    const Point across[] = {{20, 102}, {120, 102}};
    const Point up[] = {{40, 60}, {100, 140}};
    app.store.AddLine(set, across, 2);
    app.store.AddLine(set, up, 2);
    RepaintWindow(app);
  }

  void Special(int key, Modifiers m = {}) {
    HandleInput(app, {KeyInput{true, key, m}, {250, 200}});
  }
  void Move(int x, int y) { HandleInput(app, {MotionInput{false}, {x, y}}); }

  // The drawing area as it is now, the message band left out.
  std::vector<Rgb> Area() const {
    std::vector<Rgb> pixels;
    for (int y = 0; y < canvas.Height() - kMessageBandPixels; ++y) {
      for (int x = 0; x < canvas.Width(); ++x) pixels.push_back(canvas.Pixel(x, y));
    }
    return pixels;
  }
};

TEST(CursorOverlays, NoSequenceOfEventsLeavesATrace) {
  OverlayFixture f;
  App& app = f.app;
  f.Special(kKeyF12, {false, false, true}); // the full-window lines on
  f.Move(200, 200);
  f.Move(240, 180);
  f.Move(241, 181); // resting: the long lines and the preview come back
  f.Move(243, 183);
  f.Special(kKeyF11, {false, false, true}); // a pending crossing snap shows its circle
  HandleInput(app, {KeyInput{false, kCodeEnter, {}}, {243, 183}});
  f.Special(kKeyRight, {true, false, false});
  // A line in the making: its points change between the events, as a command changes them.
  InputRecord& in = app.input;
  in.previewKind = kPreviewElement;
  in.attributes.SetShape(kShapeClosed);
  in.points[0] = {30, 30};
  in.pointCount = 1;
  f.Move(300, 250);
  in.points[1] = {60, 40};
  in.pointCount = 2;
  in.attributes.SetStyle(2);
  f.Move(320, 260);
  in.attributes.SetShape(kShapeArc);
  f.Special(kKeyUp);
  in.previewKind = kPreviewShape;
  in.points[2] = {5, 5};
  in.pointCount = 3;
  f.Move(330, 270);
  f.Special(kKeyF11);
  f.Move(100, 100);
  EraseOverlays(app, kAllOverlays);
  const std::vector<Rgb> left = f.Area();
  RepaintWindow(app);
  EraseOverlays(app, kAllOverlays);
  EXPECT_EQ(left, f.Area());

  // Across a zoom, which repaints under the overlays.
  DrawOverlays(app, kAllOverlays);
  f.Special(kKeyF10, {false, true, false}); // previous zoom
  f.Move(150, 150);
  f.Special(kKeyF10);
  f.Move(160, 150);
  EraseOverlays(app, kAllOverlays);
  const std::vector<Rgb> zoomed = f.Area();
  RepaintWindow(app);
  EraseOverlays(app, kAllOverlays);
  EXPECT_EQ(zoomed, f.Area());
}

TEST(CursorOverlays, ATenUnitViewGivesACrossOfSixteenHundredths) {
  OverlayFixture f;
  App& app = f.app;
  EraseOverlays(app, kAllOverlays);
  app.view.viewBox = {0, 0, 10, 10};
  FitView(app.view, 500, 432); // 50 pixels a unit
  app.input.cursor = {5, 5};
  const std::vector<Rgb> before = f.Area();
  DrawOverlays(app, kCursorMark);
  int changed = 0;
  const std::vector<Rgb> after = f.Area();
  for (std::size_t i = 0; i < after.size(); ++i) changed += after[i] == before[i] ? 0 : 1;
  // Two strokes of 0.16 units, 8 pixels each, one pixel for their ends and none twice.
  EXPECT_GE(changed, 16);
  EXPECT_LE(changed, 18);
}

TEST(CursorOverlays, HelpFunctionsKeepTheStepAndAMainFunctionStartsAfresh) {
  OverlayFixture f;
  InputRecord& in = f.app.input;
  const Modifiers alt{false, false, true};
  f.Special(kKeyF12, alt);
  f.Special(kKeyF11);
  EXPECT_EQ(in.cursorLinesOff, 0);
  EXPECT_EQ(in.snapMode, kSnapLine);
  f.Special(kKeyF11);
  EXPECT_EQ(in.snapMode, kSnapNone);
  f.Special(kKeyPageUp);
  f.Special(kKeyPageUp);
  EXPECT_FALSE(f.app.view.directionShown);
  f.Special(kKeyPageDown);
  EXPECT_TRUE(f.app.view.directionShown);
  f.Special(kKeyF11, alt);
  HandleInput(f.app, {KeyInput{false, kCodeMainMenuKey, {}}, {250, 200}});
  EXPECT_EQ(in.cursorLinesOff, 1);
  EXPECT_EQ(in.snapMode, kSnapNone);
  EXPECT_FALSE(f.app.view.directionShown);
}

TEST(CursorOverlays, TheDirectionHoldsTheCursorOnItsLineInsideTheSheet) {
  Drawing drawing;
  drawing.limits = {0, 0, 198, 281};
  View view;
  view.localOrigin = {40, 40};
  EXPECT_DOUBLE_EQ(ConstrainToDirection(view, drawing, {50, 60}).y, 60); // not shown: free
  ShowDirection(view, 30);
  const Point p = ConstrainToDirection(view, drawing, {50, 60});
  EXPECT_DOUBLE_EQ(p.x, 50);
  EXPECT_NEAR(p.y, 45.7735, 1e-4);
  // Steeper than 45 degrees the cursor keeps its y.
  ShowDirection(view, 90);
  const Point q = ConstrainToDirection(view, drawing, {70, 12});
  EXPECT_DOUBLE_EQ(q.x, 40); // exactly on the grid
  EXPECT_DOUBLE_EQ(q.y, 12);
  // Where the direction line leaves the sheet the point stays as it was.
  view.localOrigin = {40, 270};
  ShowDirection(view, 30);
  const Point above = ConstrainToDirection(view, drawing, {190, 100});
  EXPECT_DOUBLE_EQ(above.y, 100);
}

TEST(StatusLine, ElementStatusAndFieldsThatDoNotFit) {
  PropertySet set;
  set.SetLayer(kLayerNotSet);
  EXPECT_EQ(ElementStatusText(kElementLine, set, Language::kEnglish), "layer:*");
  EXPECT_EQ(ElementStatusText(kElementLine, set, Language::kFinnish), "taso:*");
  EXPECT_EQ(ElementStatusText(kElementNone, set, Language::kEnglish), "");
  set.SetLayer(3);
  set.partAngle = 45;
  set.partSx = -1;
  EXPECT_EQ(ElementStatusText(kElementPart, set, Language::kEnglish), "layer:3 angle:45y");
  set.partSy = -2;
  EXPECT_EQ(ElementStatusText(kElementPart, set, Language::kFinnish), "taso:3 kulma:45xy");
  set.angle = 12.4;
  EXPECT_EQ(ElementStatusText(kElementText, set, Language::kEnglish), "layer:3 angle:12");
  // A value too wide for its room overflows visibly rather than losing its leading digits.
  EXPECT_EQ(FieldText("X= ", 123456.5, 0.001, 15), "X= 123456.5");
  EXPECT_EQ(FieldText("X= ", 12345678.25, 0.001, 10), "X= ****");
}

} // namespace
} // namespace lumora

namespace lumora {
namespace {

// A main function that places a paper of a fixed size and keeps what PlacePaper answered.
class PaperUser final : public Function {
public:
  PaperUser(Box& box, int& result) : box_(box), result_(result) {}
  int Step(Control& control, const CommandRow& row) override {
    if (!begun_) {
      begun_ = true;
      BeginFunction(control, row);
    }
    const int answer = paper_.Step(control, box_, {"Paper: "_l1, "Paperi: "_l1});
    if (answer == kStillRunning) return kStillRunning;
    result_ = answer;
    EndFunction(control, row.level);
    return kFinished;
  }

private:
  Box& box_;
  int& result_;
  PlacePaper paper_;
  bool begun_ = false;
};

TEST(PlacePaper, CentredWhenItFitsElseCarriedByTheCursor) {
  OverlayFixture f;
  App& app = f.app;
  Box box{0, 0, 40, 20};
  int result = -1;
  app.commands.Add(
      {kCodePrint, Level::kMain, [&] { return Make<PaperUser, Box&, int&>(box, result); }});
  f.Special(kKeyF8);
  EXPECT_EQ(result, kPaperPlaced);
  EXPECT_NEAR((box.xmin + box.xmax) / 2, (app.view.viewBox.xmin + app.view.viewBox.xmax) / 2, 1e-9);
  EXPECT_DOUBLE_EQ(box.xmax - box.xmin, 40);

  // Wider than the view: the outline follows the cursor and the lock keeps the local origin.
  box = {0, 0, 500, 100};
  result = -1;
  app.view.localOrigin = {1, 1};
  f.Special(kKeyF8);
  EXPECT_EQ(result, -1);
  EXPECT_TRUE(app.commandState.referenceLock);
  EXPECT_EQ(app.input.previewKind, kPreviewShape);
  f.Move(250, 200);
  const Point cursor = app.input.cursor;
  HandleInput(app, {KeyInput{false, kCodeEnter, {}}, {250, 200}});
  EXPECT_EQ(result, kPaperPlaced);
  EXPECT_DOUBLE_EQ(box.xmin, cursor.x - 250);
  EXPECT_DOUBLE_EQ(box.ymax, cursor.y + 50);
  EXPECT_DOUBLE_EQ(app.view.localOrigin.x, 1);
  EXPECT_FALSE(app.commandState.referenceLock);
  EXPECT_EQ(app.input.pointCount, 0);

  f.Special(kKeyF8);
  HandleInput(app, {KeyInput{false, kCodeEsc, {}}, {250, 200}});
  EXPECT_EQ(result, kPaperNotPlaced);
}

} // namespace
} // namespace lumora
