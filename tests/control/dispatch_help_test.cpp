#include "commands/quit.h"
#include "control/dispatch_fixture.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

struct HelpFixture : DispatchFixture {
  Drawing& drawing = app.drawing;
  ElementStore& store = app.store;
  HeadlessWindow& window = headless.window;

  HelpFixture() {
    table = ProgramCommands();
    DispatchInput(control); // the idle prompt
  }

  bool Ended() const { return app.window.quit; }

  void AddLine() {
    const Point points[2] = {{0, 0}, {10, 10}};
    store.AddLine(PropertySet{}, points, 2);
  }
};

TEST(QuitQuestion, AnUnsavedDrawingIsProtected) {
  HelpFixture f;
  f.AddLine();
  f.Key(kCodeEsc);
  EXPECT_EQ(f.Cells(1, 2, 28), "You have not saved drawing: ");
  EXPECT_EQ(f.Cues(), (std::vector<int>{kSoundKey, kSoundError}));
  f.Key(kCodeEsc); // Esc answers no
  EXPECT_FALSE(f.Ended());
  EXPECT_FALSE(AnyLevelActive(f.control));
  // Saved, or only changes without lines or texts: no warning.
  f.drawing.changes = 0;
  f.Key(kCodeEsc);
  EXPECT_EQ(f.Cells(1, 2, 25), "Quitting Lumora-program: ");
}

TEST(QuitQuestion, ClosingTheWindowEndsOnlyASavedDrawingAtOnce) {
  HelpFixture f;
  RequestQuit(f.control);
  EXPECT_TRUE(f.Ended());
  HelpFixture g;
  g.AddLine();
  g.Key(kCodeInformation); // whatever help function runs is closed first
  RequestQuit(g.control);
  EXPECT_EQ(OpenWindowCount(g.screen), 0);
  EXPECT_FALSE(g.Ended());
  EXPECT_EQ(g.window.keptRunning, 1);
  EXPECT_EQ(g.Cells(1, 2, 28), "You have not saved drawing: ");
  g.Key('k');
  EXPECT_TRUE(g.Ended());
}

TEST(HelpFunctions, SwitchLanguagePointerAndBackground) {
  HelpFixture f;
  f.Key(kCodeLanguage);
  f.Key(kCodeLanguage);
  EXPECT_EQ(f.window.repaints, 2); // the menu bar and the open texts follow the language at once
  f.Key('X');
  EXPECT_FALSE(f.window.pointerShown);
  f.Key('x');
  EXPECT_TRUE(f.window.pointerShown);
  f.Key(kCodeBackground);
  EXPECT_EQ(f.canvas.GetBackground(), Background::kDark);
  // Not while a text window is open: there the key only closes the information box.
  f.Key(kCodeInformation);
  f.Key(kCodeBackground);
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  EXPECT_EQ(f.canvas.GetBackground(), Background::kDark);
  f.Key(kCodeBackground);
  EXPECT_EQ(f.canvas.GetBackground(), Background::kLight);
}

TEST(HelpFunctions, InformationBoxClosesOnAnyKey) {
  HelpFixture f;
  f.Key(kCodeInformation);
  EXPECT_EQ(OpenWindowCount(f.screen), 1);
  TranslateInput(f.control, InputKind::kMotion, 10, 10);
  DispatchInput(f.control);
  EXPECT_EQ(OpenWindowCount(f.screen), 1);
  f.Key(kCodeLanguage); // taken by the box, not a language switch
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  EXPECT_EQ(f.language, Language::kEnglish);
}

} // namespace
} // namespace lumora
