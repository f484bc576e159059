#include "control/dispatch_fixture.h"
#include "setup/setup.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

// A sheet of 0..198 x 0..281 seen at 2 pixels per unit from the window's top left corner.
class TestGeometry final : public CursorGeometry {
public:
  Point PixelToDrawing(int x, int y) const override {
    return {x / kPixelsPerUnit - origin.x, (kTop - y) / kPixelsPerUnit - origin.y};
  }
  Point GlobalOrigin() const override { return origin; }
  double GridStep() const override { return grid; }
  double PixelSize() const override { return 1.0 / kPixelsPerUnit; }
  bool InsideSheet(Point p) const override {
    return p.x >= 0 && p.x <= 198 && p.y >= 0 && p.y <= 281;
  }
  Point ApplyCursorAngle(const InputRecord&, Point p) const override { return p; }
  void SetLocalOrigin(Point p) override { localOrigin = p; }
  bool SnapSearch(InputRecord& in) override {
    if (!snapFinds) return false;
    in.cursor = {50, 50};
    return true;
  }

  static constexpr double kPixelsPerUnit = 2.0;
  static constexpr int kTop = 600; // the pixel row of y = 0
  Point origin{0, 0};
  double grid = 5.0;
  Point localOrigin{-1, -1};
  bool snapFinds = false;
};

struct TranslateFixture : DispatchFixture {
  TestGeometry geometry;
  Setup setup;
  TranslateFixture() {
    control.geometry = &geometry;
    control.setup = &setup;
  }
  int Move(int x, int y) { return TranslateInput(control, InputKind::kMotion, x, y); }
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
  EXPECT_EQ(SpecialKeyCode(1, {}), 1001);
  EXPECT_EQ(SpecialKeyCode(1, {.shift = true, .ctrl = true}), 1001); // two modifiers: as none
  EXPECT_EQ(SpecialKeyCode(101, {.shift = true}), 2101);
  EXPECT_EQ(SpecialKeyCode(1, {.ctrl = true}), 3001);
  EXPECT_EQ(SpecialKeyCode(107, {.alt = true}), 4107);
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
  EXPECT_EQ(TranslateInput(f.control, InputKind::kRightClick, 3, 4), kMouseClick);
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
  EXPECT_EQ(f.Move(130, 8), kNothing);
  EXPECT_EQ(f.Move(131, 8), kCursorMoved);
  EXPECT_EQ(f.Code(), kCodeRight);
  EXPECT_EQ(f.control.In().repeat, 1);
  EXPECT_EQ(f.Move(0, 8), kCursorMoved);
  EXPECT_EQ(f.Code(), kCodeLeft);
  EXPECT_EQ(f.control.In().repeat, 2); // 100 pixels = 1.67 choices
  EXPECT_EQ(f.control.In().rawKey, kRawNone);
  // A list: vertical only, inside its rectangle, the dead zone halved at the first row.
  f.OpenList(kListEdgeFirst);
  EXPECT_EQ(f.Move(50, 55), kCursorMoved);
  EXPECT_EQ(f.Code(), kCodeUp);
  EXPECT_EQ(f.Move(50, 67), kNothing);
  EXPECT_EQ(f.Move(50, 69), kCursorMoved);
  EXPECT_EQ(f.Code(), kCodeDown);
  EXPECT_EQ(f.Move(250, 100), kNothing);
  // Both axes: the longer distance decides, a tie goes to the vertical.
  f.control.state.arrows = {.centreX = 100, .centreY = 100, .halfWidth = 5, .halfHeight = 8};
  f.Move(120, 90);
  EXPECT_EQ(f.Code(), kCodeRight);
  f.Move(120, 80);
  EXPECT_EQ(f.Code(), kCodeUp);
}

TEST(Translate, CursorFollowsTheMouseOnTheGrid) {
  TranslateFixture f;
  EXPECT_EQ(f.Move(25, 590), kCursorMoved); // (12.5, 5) -> (15, 5)
  EXPECT_EQ(f.control.In().cursor.x, 15);
  EXPECT_EQ(f.control.In().cursor.y, 5);
  EXPECT_EQ(f.Move(26, 591), kNoChange);
  // The grid hangs on the global origin.
  f.geometry.origin = {1, 1};
  f.Move(25, 590); // (11.5, 4) from the origin -> 10 + 1, 5 + 1
  EXPECT_EQ(f.control.In().cursor.x, 11);
  EXPECT_EQ(f.control.In().cursor.y, 6);
  f.geometry.origin = {0, 0};
  // With the reference lock the search grid of the setup applies.
  f.setup.searchGrid = 0.5;
  f.control.state.referenceLock = true;
  EXPECT_EQ(f.Move(25, 590), kFineGridMove); // 0.3 units < 2 pixels of 0.5
  EXPECT_EQ(f.control.In().cursor.x, 12.5);
  // Outside the sheet the cursor stays.
  f.Move(-100, 590);
  EXPECT_EQ(f.control.In().cursor.x, 12.5);
}

TEST(Translate, EnterTakesTheCursorPointInsideTheSheet) {
  TranslateFixture f;
  f.Move(100, 500); // (50, 50)
  f.control.In().directionShown = 1;
  TranslateInput(f.control, InputKind::kKey, 0, 0, kCodeEnter);
  EXPECT_EQ(f.Code(), kCodeEnter);
  EXPECT_EQ(f.control.In().directionShown, 0);
  EXPECT_EQ(f.geometry.localOrigin.x, 50);
  // A pending snap that finds nothing drops the code and stays pending.
  f.control.In().snapMode = kSnapLine;
  f.geometry.localOrigin = {-1, -1};
  TranslateInput(f.control, InputKind::kKey, 0, 0, kCodeEnter);
  EXPECT_EQ(f.Code(), 0);
  EXPECT_EQ(f.control.In().snapMode, kSnapLine);
  EXPECT_EQ(f.geometry.localOrigin.x, -1);
  EXPECT_EQ(f.Cues(), (std::vector<int>{kSoundError}));
  f.geometry.snapFinds = true;
  EXPECT_EQ(TranslateInput(f.control, InputKind::kLeftClick, 0, 0), kMouseClick);
  EXPECT_EQ(f.control.In().snapMode, kSnapNone);
  EXPECT_EQ(f.geometry.localOrigin.x, 50);
  // Outside the sheet: refused; with the reference lock the local origin stays.
  f.control.In().cursor = {300, 10};
  ClearSoundGroups(f.sound);
  TranslateInput(f.control, InputKind::kKey, 0, 0, kCodeEnter);
  EXPECT_EQ(f.Code(), 0);
  EXPECT_EQ(f.Cues().back(), kSoundSmallError);
  f.control.In().cursor = {20, 10};
  f.control.state.referenceLock = true;
  TranslateInput(f.control, InputKind::kKey, 0, 0, kCodeEnter);
  EXPECT_EQ(f.geometry.localOrigin.x, 50);
  EXPECT_EQ(TranslateInput(f.control, InputKind::kKey, 0, 0, 2101), kCursorStep);
}

} // namespace
} // namespace lumora
