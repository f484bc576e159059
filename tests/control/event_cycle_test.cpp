#include "control/event_cycle.h"
#include "control/headless_app.h"
#include "model/property_set.h"
#include "protocol/functions.h"
#include "screen/messages.h"
#include "screen/text_screen.h"
#include "view/soft_canvas.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

struct CycleFixture {
  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas;

  // 400 x 332 fits the view: 4 pixels per unit, grid step 1.
  explicit CycleFixture(int width = 400) : canvas(width, 332) {
    app.drawing.limits = Box{0, 0, 100, 75};
    app.view.viewBox = app.drawing.limits;
    AttachCanvas(app, canvas);
    HandleInput(app, {ExposeInput{width, 332}, {}});
  }
  int Acted() const { return app.window.commandCount; }
};

// The code of the latest command event; mouse motions hand over code 0.
int LastCode(const CycleFixture& f) {
  return f.app.window.lastCommand.code;
}

TEST(EventCycle, AClickActsOnceAtThePressOrAfterADragAtTheRelease) {
  CycleFixture plain; // after a move the press acts, a drag of 40 pixels changes nothing
  HandleInput(plain.app, {MotionInput{false}, {100, 100}});
  const Point moved = plain.app.control.In().cursor;
  HandleInput(plain.app, {ButtonInput{MouseButton::kLeft, true}, {100, 100}});
  EXPECT_EQ(LastCode(plain), 1);
  EXPECT_EQ(plain.app.window.lastCommand.mouse, (WindowPixel{100, 100}));
  HandleInput(plain.app, {MotionInput{true}, {120, 120}});
  HandleInput(plain.app, {ButtonInput{MouseButton::kLeft, false}, {120, 120}});
  EXPECT_EQ(LastCode(plain), 0); // the release did not act

  CycleFixture dragged; // a drag of 41 pixels: the click acts at its release
  HandleInput(dragged.app, {MotionInput{false}, {100, 100}});
  HandleInput(dragged.app, {MotionInput{true}, {141, 100}});
  HandleInput(dragged.app, {ButtonInput{MouseButton::kRight, true}, {141, 100}});
  EXPECT_EQ(LastCode(dragged), 0); // the press did not act
  HandleInput(dragged.app, {MotionInput{true}, {150, 130}});
  HandleInput(dragged.app, {ButtonInput{MouseButton::kRight, false}, {150, 130}});
  EXPECT_EQ(LastCode(dragged), 2);
  EXPECT_EQ(dragged.app.window.lastCommand.mouse, (WindowPixel{150, 130}));

  CycleFixture resting; // a window opened under the pointer: the press brings the cursor there
  HandleInput(resting.app, {ButtonInput{MouseButton::kLeft, true}, {100, 100}});
  EXPECT_EQ(LastCode(resting), 1);
  EXPECT_EQ(resting.app.control.In().cursor.x, moved.x);
  EXPECT_EQ(resting.app.control.In().cursor.y, moved.y);

  CycleFixture middle;
  HandleInput(middle.app, {ButtonInput{MouseButton::kMiddle, false}, {1, 1}});
  EXPECT_EQ(middle.Acted(), 0);
}

TEST(EventCycle, ANoteStaysThroughMotionsAndGoesWithTheNextKeyOrClick) {
  CycleFixture f(800);
  const auto noted = [&f] {
    return MirrorRow(f.app.screen, 1).find("Ok") != std::string_view::npos;
  };
  ShowNote(f.app.screen, "Ok");
  RefreshPrompt(f.app.control); // as at the end of the pass that saved
  EXPECT_TRUE(noted());
  HandleInput(f.app, {MotionInput{true}, {200, 150}});
  HandleInput(f.app, {MotionInput{false}, {100, 100}});
  EXPECT_TRUE(noted());
  HandleInput(f.app, {KeyInput{false, 'x', {}}, {200, 150}});
  EXPECT_FALSE(noted());
  ShowNote(f.app.screen, "Ok");
  RefreshPrompt(f.app.control);
  EXPECT_TRUE(noted());
  HandleInput(f.app, {MotionInput{false}, {300, 200}});
  EXPECT_TRUE(noted());
  HandleInput(f.app, {ButtonInput{MouseButton::kLeft, true}, {300, 200}});
  EXPECT_FALSE(noted());
}

TEST(EventCycle, AKeyBecomesItsCommandCodeInTheCycleWhereverItComesFrom) {
  CycleFixture f;
  const Modifiers shift{true, false, false};
  // Enter as the window hands it over with Ctrl held, and as an event file types it.
  HandleInput(f.app, {KeyInput{false, kCodeEnter, {false, true, false}}, {10, 10}});
  EXPECT_EQ(LastCode(f), kCodeCtrlEnter);
  HandleInput(f.app, {KeyInput{false, kCodeCtrlEnter, {false, true, false}}, {10, 10}});
  EXPECT_EQ(LastCode(f), kCodeCtrlEnter);
  HandleInput(f.app, {KeyInput{true, kKeyKeypadDelete, {}}, {10, 10}});
  EXPECT_EQ(LastCode(f), kCodeDelete);
  const int acted = f.Acted();
  HandleInput(f.app, {KeyInput{true, kKeyShift, shift}, {10, 10}});
  EXPECT_EQ(f.Acted(), acted); // a modifier pressed alone says nothing
  HandleInput(f.app, {KeyInput{true, kKeyUp, shift}, {10, 10}});
  EXPECT_EQ(LastCode(f), kSpecialShift + kKeyUp);
}

TEST(EventCycle, ClosingEndsAtOnceUnlessADrawingIsUnsaved) {
  CycleFixture empty;
  HandleInput(empty.app, {CloseInput{}, {}});
  EXPECT_TRUE(empty.app.window.quit);

  CycleFixture unsaved;
  PropertySet set;
  set.SetShape(kShapeOpen);
  const Point points[] = {{1, 1}, {5, 5}};
  ASSERT_NE(unsaved.app.store.AddLine(set, points, 2), nullptr);
  ASSERT_NE(unsaved.app.drawing.changes, 0u);
  HandleInput(unsaved.app, {CloseInput{}, {}});
  EXPECT_FALSE(unsaved.app.window.quit);
  EXPECT_EQ(LevelCode(unsaved.app.control, Level::kHelp), 27); // the quit question takes over
}

TEST(EventCycle, ResizeRefitsAWholeSheetButKeepsAZoomedView) {
  CycleFixture whole;
  HandleInput(whole.app, {ExposeInput{400, 332}, {}});
  ASSERT_TRUE(whole.canvas.Resize(300, 532));
  HandleInput(whole.app, {ExposeInput{300, 532}, {}});
  const Box& v = whole.app.view.viewBox;
  EXPECT_DOUBLE_EQ(v.xmax, 100.0);
  EXPECT_DOUBLE_EQ(v.ymax - v.ymin, 500.0 / 3.0);

  // A zoomed view reaching the sheet's right edge is still a zoom: its centre stays.
  CycleFixture zoomed;
  HandleInput(zoomed.app, {ExposeInput{400, 332}, {}});
  zoomed.app.view.viewBox = Box{60, 30, 100, 60};
  HandleInput(zoomed.app, {ExposeInput{400, 332}, {}}); // same size: only repainted
  ASSERT_TRUE(zoomed.canvas.Resize(600, 332));
  HandleInput(zoomed.app, {ExposeInput{600, 332}, {}});
  const Box& z = zoomed.app.view.viewBox;
  EXPECT_DOUBLE_EQ((z.xmin + z.xmax) / 2, 80.0);
  EXPECT_DOUBLE_EQ((z.ymin + z.ymax) / 2, 45.0);
  EXPECT_DOUBLE_EQ(z.ymax - z.ymin, 30.0);
}

} // namespace
} // namespace lumora
