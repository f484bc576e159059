#include "control/dispatch_fixture.h"

#include <gtest/gtest.h>
#include <random>

namespace lumora {
namespace {

using Fixture = DispatchFixture;

TEST(Dispatch, TheKeyOfTheRunningMainFunctionCancelsIt) {
  Fixture f;
  f.Key(Fixture::kMainKey);
  f.Key(Fixture::kMainKey);
  EXPECT_EQ(f.CodesOf(Fixture::kMainKey), (std::vector<int>{1001, kCodeEsc}));
  EXPECT_FALSE(LevelActive(f.control, Level::kMain));
  // A third press starts it afresh.
  f.Key(Fixture::kMainKey);
  EXPECT_EQ(LevelCode(f.control, Level::kMain), Fixture::kMainKey);
}

TEST(Dispatch, ANewMainFunctionSendsEscToTheOldOneFirst) {
  Fixture f;
  f.Key(Fixture::kMainKey);
  f.Key(Fixture::kPropertyKey);
  f.Key(Fixture::kOtherMainKey);
  // The property function nested in the old main function goes first, then the old one.
  EXPECT_EQ(f.log, (std::vector<Call>{
                       {1001, 1001}, {99, 99}, {99, kCodeEsc}, {1001, kCodeEsc}, {1002, 1002}}));
  EXPECT_EQ(LevelCode(f.control, Level::kMain), Fixture::kOtherMainKey);
  EXPECT_FALSE(LevelActive(f.control, Level::kProperty));
}

TEST(Dispatch, HelpFunctionsNestAndTheirKeyTogglesThemOff) {
  Fixture f;
  f.Key(Fixture::kMainKey);
  f.Key(Fixture::kHelpKey);
  EXPECT_EQ(LevelCode(f.control, Level::kHelp), Fixture::kHelpKey);
  f.Key('q'); // goes to the innermost function only
  f.Key(Fixture::kHelpKey);
  EXPECT_EQ(f.CodesOf(Fixture::kHelpKey), (std::vector<int>{1010, 'q', kCodeEsc}));
  EXPECT_EQ(f.CodesOf(Fixture::kMainKey), (std::vector<int>{1001}));
  EXPECT_FALSE(LevelActive(f.control, Level::kHelp));
  EXPECT_TRUE(LevelActive(f.control, Level::kMain));
}

TEST(Dispatch, RightClickWhileThePopupIsOpenClosesIt) {
  Fixture f;
  f.RightClick();
  EXPECT_TRUE(LevelActive(f.control, Level::kPopup));
  f.Key(Fixture::kMainKey); // the open popup takes every code
  EXPECT_TRUE(f.CodesOf(Fixture::kMainKey).empty());
  f.RightClick();
  EXPECT_EQ(f.CodesOf(kCodePopup), (std::vector<int>{kCodePopup, 1001, kCodeEsc}));
  EXPECT_FALSE(LevelActive(f.control, Level::kPopup));
}

TEST(Dispatch, AMenuChoiceIsDispatchedLikeItsKey) {
  Fixture f;
  f.Key(Fixture::kMenuKey);
  EXPECT_EQ(f.log, (std::vector<Call>{{49, 49}, {1002, 1002}}));
  EXPECT_EQ(LevelCode(f.control, Level::kMain), Fixture::kOtherMainKey);
  EXPECT_EQ(f.control.In().rawKey, Fixture::kOtherMainKey);
}

TEST(Dispatch, TheContinueTickReachesTheTextEntry) {
  Fixture f;
  f.Key(Fixture::kTextEntryKey);
  EXPECT_EQ(f.CodesOf(Fixture::kTextEntryKey), (std::vector<int>{1003, kContinueTick}));
  // Typed letters come as code 0 with their key, followed by one tick per pass.
  f.Key('Q');
  EXPECT_EQ(f.CodesOf(Fixture::kTextEntryKey),
            (std::vector<int>{1003, kContinueTick, 0, kContinueTick}));
  EXPECT_EQ(f.control.In().code, kContinueTick);
}

TEST(Dispatch, EndingRestoresWhatANestedLevelSaved) {
  Fixture f;
  f.Key(Fixture::kMainKey);
  f.control.In().pointCount = 3; // a line in the making
  f.control.state.referenceLock = true;
  f.Key(Fixture::kHelpMenuKey);
  EXPECT_EQ(f.control.In().pointCount, 0);
  f.control.state.inputMode = kModeList;
  f.control.state.cursorShown = false;
  f.Key(kCodeEsc);
  EXPECT_EQ(f.control.In().pointCount, 3);
  EXPECT_EQ(f.control.state.inputMode, kModeCursor);
  EXPECT_TRUE(f.control.state.cursorShown);
  EXPECT_TRUE(f.control.state.referenceLock);
  // A help function saves only the flags, and leaves the points alone.
  f.Key(Fixture::kHelpKey);
  EXPECT_EQ(f.control.In().pointCount, 3);
  f.Key(kCodeEsc);
  // Ending the main function clears the lock.
  f.Key(kCodeEsc);
  EXPECT_FALSE(f.control.state.referenceLock);
  EXPECT_FALSE(AnyLevelActive(f.control));
}

TEST(Dispatch, RandomKeysAndClicksNeverBreakTheState) {
  Fixture f;
  for (int code : {kCodeEsc, kCodeInformation, kCodeLanguage, kCodeBackground}) {
    f.RegisterProgram(code);
  }
  std::mt19937 random(20260512);
  const std::vector<int> keys{0,    1,    2,    8,    9,    10,   13,   27,   48,   49,
                              65,   99,   113,  127,  167,  228,  255,  1001, 1002, 1003,
                              1009, 1010, 1100, 1102, 2003, 3001, 4107, 8432, 7654, -5};
  for (int i = 0; i < 5000; ++i) {
    const int pick = static_cast<int>(random() % 8);
    const int x = static_cast<int>(random() % 1200) - 100;
    const int y = static_cast<int>(random() % 1000) - 100;
    if (pick == 0) {
      TranslateInput(f.control, InputKind::kLeftClick, x, y);
    } else if (pick == 1) {
      TranslateInput(f.control, InputKind::kRightClick, x, y);
    } else if (pick == 2) {
      TranslateInput(f.control, InputKind::kMotion, x, y);
    } else {
      TranslateInput(f.control, InputKind::kKey, x, y, keys[random() % keys.size()]);
    }
    DispatchInput(f.control);
    f.control.state.ended = false; // a quit answered yes: carry on regardless
    ASSERT_EQ(f.control.state.dispatchDepth, 0);
    ASSERT_LE(OpenWindowCount(f.screen), kMaxWindows);
  }
}

} // namespace
} // namespace lumora
