#include "control/dispatch_fixture.h"
#include "ui/ask_fixture.h"
#include "ui/ask_str.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr int kLeft = 1100, kRight = 1102, kUp = 1101, kDown = 1103, kHome = 1106, kEnd = 1107;
constexpr int kInsert = 1108, kF11 = 1011, kF12 = 1012, kCtrlF12 = 3012;

struct EntryFixture : AskFixture {
  AskStrArgs args;
  std::string text;

  explicit EntryFixture(std::string_view initial = "", std::size_t size = 100) {
    args.title = {"Saving: ", "Tallennus: "};
    args.prompt = {"^WRITE NAME ? ", "^ANNA NIMI ? "};
    args.initial = initial;
    args.size = size;
    call = [this] { return AskStr(control, prompts, args, text); };
    Call();
  }
};

TEST(AskStr, TypingReplacesTheProposalUnlessAnEditingKeyCameFirst) {
  // Typed at once, the answer replaces the whole proposal, as a selected text would be.
  EntryFixture typed("Overlap");
  typed.Type("Plan");
  EXPECT_EQ(typed.text, "Plan");

  // An editing key first keeps the proposal, and typing overwrites it, then inserts.
  EntryFixture f("Plan", 7);
  EXPECT_EQ(f.Cells(1, 2, 24), "Saving: WRITE NAME ? Pla");
  f.Key(kHome);
  f.Type("Sk");
  EXPECT_EQ(f.text, "Skan");
  f.Key(kInsert);
  f.Type("x");
  f.Key(kEnd);
  f.Type("1");
  EXPECT_EQ(f.text, "Skxan1");
  f.player.Clear();
  f.Type("2^"); // six characters fill a 7-byte buffer; "^" is never typed
  EXPECT_EQ(f.text, "Skxan1");
  EXPECT_TRUE(f.Shown("Over write !"));
  EXPECT_EQ(f.Cues(), (std::vector<int>{kSoundError, kSoundSmallError}));
  EXPECT_EQ(f.Key(kCodeEnter), kEntryAccepted);
  EXPECT_EQ(f.control.state.inputMode, kModeCursor);
}

TEST(AskStr, EditingKeysMoveAndDelete) {
  EntryFixture f("abcdef");
  f.Keys({kEnd, kCodeBackspace, kHome, kCodeDelete});
  EXPECT_EQ(f.text, "bcde");
  f.Keys({kRight, kF11, kLeft, kCodeDelete});
  EXPECT_EQ(f.text, "");
  f.Key(kCodeDelete);
  EXPECT_TRUE(f.Shown("Nothing to delete !"));
  // Without back, Backspace on an empty text refuses and Ctrl+Enter is not in use.
  EXPECT_EQ(f.Key(kCodeBackspace), kStillRunning);
  EXPECT_EQ(f.Key(kCodeCtrlEnter), kStillRunning);
  EXPECT_EQ(f.Key(kCodeEsc), kEntryEsc);
  f.control.state.backAllowed = true;
  f.args.initial = "";
  f.Call();
  EXPECT_EQ(f.control.state.actionVariant, 4); // the popup offers back
  EXPECT_EQ(f.Key(kCodeBackspace), kEntryBack);
  EXPECT_EQ(f.control.state.actionVariant, 0);
}

TEST(AskStr, AnswerMemoryKeepsTenAndBrowses) {
  EntryFixture f;
  f.Key(kF12);
  EXPECT_TRUE(f.Shown("No texts in memory !"));
  for (int i = 1; i <= 11; ++i) {
    if (i > 1) f.Call();
    f.Type("t" + std::to_string(i));
    f.Key(kCodeEnter);
  }
  EXPECT_EQ(f.prompts.answers.At(0), "t2"); // the first answer was dropped
  f.Call();
  f.Type("new");
  f.Key(kF12);
  EXPECT_EQ(f.text, "t11");
  f.Keys({kF12, kCtrlF12, kCtrlF12});
  EXPECT_EQ(f.text, "new"); // what was being typed comes back
  f.canvas.glyphs.clear();
  f.Key(kCtrlF12);
  EXPECT_TRUE(f.Shown("No texts in memory !"));
}

TEST(AskStr, TheContinueTickRedrawsTheField) {
  EntryFixture f("Plan");
  MirrorPut(f.screen, 1, 1, std::string(40, '-'));
  f.control.In().code = kContinueTick;
  f.control.In().rawKey = kRawNone;
  f.control.state.continueFlag = true;
  f.Call();
  EXPECT_EQ(f.Cells(1, 23, 5), "Plan ");
  EXPECT_FALSE(f.control.state.continueFlag);
}

TEST(AskStr, ListRowsHandBackUpDownAndJoins) {
  EntryFixture f;
  f.Key(kCodeEsc);
  f.args = {5, 3, 20, {}, {}, 100, "abc", false, 2, false, true};
  f.Call();
  EXPECT_EQ(f.Cells(5, 3, 4), "abc ");
  EXPECT_EQ(f.Key(kDown), kStillRunning); // the last row: Down stays
  EXPECT_EQ(f.Key(kUp), kEntryUp);
  f.Call();
  f.Key(kEnd);
  EXPECT_EQ(f.Key(kCodeDelete), kEntryJoin);
  f.args.cursor = 0;
  f.Call();
  EXPECT_EQ(f.Key(kCodeBackspace), kEntryJoin);
}

} // namespace
} // namespace lumora

namespace lumora {
namespace {

// A main function that asks one name, as the commands do, under the real dispatcher.
class NameAsker final : public Function {
public:
  NameAsker(PromptState& prompts, std::string& text) : prompts_(prompts), text_(text) {}
  int Step(Control& control, const CommandRow& /*row*/) override {
    if (!LevelActive(control, Level::kMain)) BeginFunction(control, Level::kMain, kCode);
    AskStrArgs args;
    args.title = {"Saving: ", "Tallennus: "};
    args.prompt = {"^WRITE NAME ? ", "^ANNA NIMI ? "};
    if (AskStr(control, prompts_, args, text_) == kStillRunning) return kStillRunning;
    EndFunction(control, Level::kMain);
    return kFinished;
  }
  static constexpr int kCode = 1007;

private:
  PromptState& prompts_;
  std::string& text_;
};

TEST(AskStr, TheFieldSurvivesThePromptLineUnderTheDispatcher) {
  DispatchFixture f;
  PromptState prompts;
  std::string text;
  f.table.Add(
      {NameAsker::kCode, Level::kMain, [&] { return std::make_unique<NameAsker>(prompts, text); }});
  f.Key(NameAsker::kCode);
  for (int key : std::initializer_list<int>{'P', 'x', 1100, 127, 'l'})
    f.Key(key); // typed letters keep their case
  EXPECT_EQ(f.Cells(1, 2, 24), "Saving: WRITE NAME ? Pl ");
  f.Key(kCodeEnter);
  EXPECT_EQ(text, "Pl");
  EXPECT_EQ(f.Cells(1, 2, 32), "Lumora-program: SELECT FUNCTION ");
}

} // namespace
} // namespace lumora
