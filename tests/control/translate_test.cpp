#include "control/dispatch_fixture.h"
#include "setup/setup.h"
#include "view/view.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

// The shipped sheet 0..198 x 0..281 seen whole in a 1000 x 800 window, on a grid of 5.
struct TranslateFixture : DispatchFixture {
  TranslateFixture() {
    app.drawing.limits = Box{0, 0, 198, 281};
    app.drawing.step = 5.0;
    app.view.viewBox = app.drawing.limits;
    FitView(app.view, kWidth, kHeight);
  }
  // The mouse over a drawing point (relative to the global origin).
  Translation MoveTo(Point at) {
    const WindowPixel pixel = DrawingToPixel(app.view, at);
    return Move(pixel.x, pixel.y);
  }
  Translation Move(int x, int y) { return TranslateInput(control, InputKind::kMotion, x, y); }
  int Code() const { return control.In().code; }
  // An open vertical list of rows 40..120, x 20..200, whose highlighted row is at y 60.
  void OpenList(int edge = 0) {
    control.state.inputMode = kModeList;
    control.state.arrows = {.centreX = 50,
                            .centreY = 60,
                            .halfHeight = 8,
                            .listLeft = 20,
                            .listTop = 40,
                            .listRight = 200,
                            .listBottom = 120,
                            .listEdge = edge};
  }
};

TEST(Translate, KeysGiveTheirCodes) {
  TranslateFixture f;
  TranslateInput(f.control, InputKind::kKey, 0, 0, 'Q');
  EXPECT_EQ(f.Code(), 'q');
  EXPECT_EQ(f.control.In().rawKey, 'Q');
  TranslateInput(f.control, InputKind::kKey, 0, 0, 'q');
  EXPECT_EQ(f.Code(), 'q');
  EXPECT_EQ(SpecialKeyCode(kKeyF1, {}), 1001);
  EXPECT_EQ(SpecialKeyCode(kKeyF1, {.shift = true, .ctrl = true}), 1001); // two: as none
  EXPECT_EQ(SpecialKeyCode(kKeyUp, {.shift = true}), 2101);
  EXPECT_EQ(SpecialKeyCode(kKeyF1, {.ctrl = true}), 3001);
  EXPECT_EQ(SpecialKeyCode(kKeyEnd, {.alt = true}), 4107);
  // Ctrl+A and Ctrl+B are keys, not mouse buttons.
  TranslateInput(f.control, InputKind::kKey, 0, 0, 1);
  EXPECT_EQ(f.Code(), 1);
  EXPECT_EQ(f.control.In().rawKey, 1);
}

TEST(Translate, TextEntryTakesPrintableKeysAsText) {
  TranslateFixture f;
  f.control.state.inputMode = kModeTextEntry;
  for (int key : {int('x'), int('A'), int(' '), 228, 249}) {
    TranslateInput(f.control, InputKind::kKey, 0, 0, key);
    EXPECT_EQ(f.Code(), 0) << key;
    EXPECT_EQ(f.control.In().rawKey, key);
  }
  for (int key : {127, 167, 250, 13, 1001}) {
    TranslateInput(f.control, InputKind::kKey, 0, 0, key);
    EXPECT_EQ(f.Code(), key) << key;
  }
}

TEST(Translate, ButtonsAndLabels) {
  TranslateFixture f;
  EXPECT_EQ(TranslateInput(f.control, InputKind::kRightClick, 3, 4), Translation::kMouseClick);
  EXPECT_EQ(f.Code(), kCodePopup);
  EXPECT_EQ(f.control.In().rawKey, kRawClick);
  // Outside an open vertical list a click is Esc; inside, Enter.
  f.OpenList();
  TranslateInput(f.control, InputKind::kLeftClick, 300, 60);
  EXPECT_EQ(f.Code(), kCodeEsc);
  TranslateInput(f.control, InputKind::kLeftClick, 100, 100);
  EXPECT_EQ(f.Code(), kCodeEnter);
}

TEST(Translate, MouseActsAsArrowsAroundAChoice) {
  TranslateFixture f;
  f.control.state.inputMode = kModeYesNo;
  f.control.state.arrows = {.centreX = 100, .centreY = 8, .halfWidth = 30};
  EXPECT_EQ(f.Move(130, 8), Translation::kNothing);
  EXPECT_EQ(f.Move(131, 8), Translation::kCursorMoved);
  EXPECT_EQ(f.Code(), kCodeRight);
  EXPECT_EQ(f.control.In().repeat, 1);
  EXPECT_EQ(f.Move(0, 8), Translation::kCursorMoved);
  EXPECT_EQ(f.Code(), kCodeLeft);
  EXPECT_EQ(f.control.In().repeat, 2); // 100 pixels = 1.67 choices
  EXPECT_EQ(f.control.In().rawKey, kRawNone);
  // A list: vertical only, inside its rectangle, the dead zone halved at the first row.
  f.OpenList(kListEdgeFirst);
  EXPECT_EQ(f.Move(50, 55), Translation::kCursorMoved);
  EXPECT_EQ(f.Code(), kCodeUp);
  EXPECT_EQ(f.Move(50, 67), Translation::kNothing);
  EXPECT_EQ(f.Move(50, 69), Translation::kCursorMoved);
  EXPECT_EQ(f.Code(), kCodeDown);
  EXPECT_EQ(f.Move(250, 100), Translation::kNothing);
  // Both axes: the longer distance decides, a tie goes to the vertical.
  f.control.state.arrows = {.centreX = 100, .centreY = 100, .halfWidth = 5, .halfHeight = 8};
  f.Move(120, 90);
  EXPECT_EQ(f.Code(), kCodeRight);
  f.Move(120, 80);
  EXPECT_EQ(f.Code(), kCodeUp);
}

TEST(Translate, CursorFollowsTheMouseOnTheGrid) {
  TranslateFixture f;
  EXPECT_EQ(f.MoveTo({13.1, 4.1}), Translation::kCursorMoved);
  EXPECT_EQ(f.control.In().cursor.x, 15);
  EXPECT_EQ(f.control.In().cursor.y, 5);
  EXPECT_EQ(f.MoveTo({13.4, 4.4}), Translation::kNoChange);
  // The grid hangs on the global origin.
  f.app.view.globalOrigin = {1, 1};
  f.MoveTo({11.4, 3.9}); // -> 10 + 1, 5 + 1
  EXPECT_EQ(f.control.In().cursor.x, 11);
  EXPECT_EQ(f.control.In().cursor.y, 6);
  f.app.view.globalOrigin = {0, 0};
  // With the reference lock the search grid of the setup applies.
  f.app.setup.searchGrid = 0.5;
  f.control.state.referenceLock = true;
  EXPECT_EQ(f.MoveTo({12.6, 5.1}), Translation::kFineGridMove); // 0.3 units < 2 pixels of 0.37
  EXPECT_DOUBLE_EQ(f.control.In().cursor.x, 12.5);
  // Outside the sheet the cursor stays.
  f.MoveTo({-30, 5});
  EXPECT_DOUBLE_EQ(f.control.In().cursor.x, 12.5);
}

TEST(Translate, EnterTakesTheCursorPointInsideTheSheet) {
  TranslateFixture f;
  f.MoveTo({49.6, 50.4});
  f.app.view.directionShown = true;
  TranslateInput(f.control, InputKind::kKey, 0, 0, kCodeEnter);
  EXPECT_EQ(f.Code(), kCodeEnter);
  EXPECT_FALSE(f.app.view.directionShown);
  EXPECT_EQ(f.app.view.localOrigin.x, 50);
  // A pending snap that finds nothing drops the code and stays pending.
  f.control.In().snapMode = kSnapLine;
  f.app.view.localOrigin = {-1, -1};
  TranslateInput(f.control, InputKind::kKey, 0, 0, kCodeEnter);
  EXPECT_EQ(f.Code(), 0);
  EXPECT_EQ(f.control.In().snapMode, kSnapLine);
  EXPECT_EQ(f.app.view.localOrigin.x, -1);
  EXPECT_EQ(f.Cues(), (std::vector<int>{kSoundError}));
  f.control.In().snapMode = kSnapNone;
  // Outside the sheet: refused; with the reference lock the local origin stays.
  f.control.In().cursor = {300, 10};
  ClearSoundGroups(f.sound);
  TranslateInput(f.control, InputKind::kKey, 0, 0, kCodeEnter);
  EXPECT_EQ(f.Code(), 0);
  EXPECT_EQ(f.Cues().back(), kSoundSmallError);
  f.control.In().cursor = {20, 10};
  f.control.state.referenceLock = true;
  TranslateInput(f.control, InputKind::kKey, 0, 0, kCodeEnter);
  EXPECT_EQ(f.app.view.localOrigin.x, -1);
  EXPECT_EQ(TranslateInput(f.control, InputKind::kKey, 0, 0, Shift(kKeyUp)),
            Translation::kCursorStep);
}

} // namespace
} // namespace lumora
