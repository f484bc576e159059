#include "ui/ask_fixture.h"
#include "ui/ask_str.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr int kLeft = 1100;
constexpr int kUp = 1101;
constexpr int kHome = 1106;
constexpr int kEnd = 1107;
constexpr int kInsert = 1108;
constexpr int kF11 = 1011;
constexpr int kCtrlF11 = 3011;
constexpr int kF12 = 1012;
constexpr int kCtrlF12 = 3012;

constexpr TextPair kTitle{"Saving: "_l1, "Tallennus: "_l1};
constexpr TextPair kRequest{"^WRITE NAME ? "_l1, "^ANNA NIMI ? "_l1};

struct EntryFixture : AskFixture {
  AskStrArgs args;
  std::string text;
  int result = kStillRunning;

  explicit EntryFixture(std::string_view initial = "", std::size_t size = 100) {
    args.title = kTitle;
    args.prompt = kRequest;
    args.initial = initial;
    args.size = size;
    result = AskStr(control, prompts, args, text);
  }
  int Key(int key) {
    Translate(key);
    return result = AskStr(control, prompts, args, text);
  }
  void Type(std::string_view typed) {
    for (char c : typed) Key(static_cast<unsigned char>(c));
  }
  // An entry answered with these keys after typing `typed`.
  std::string Answer(std::string_view typed, int key = kCodeEnter) {
    if (!prompts.entry.open) AskStr(control, prompts, args, text);
    Type(typed);
    Key(key);
    return text;
  }
};

TEST(AskStr, OverwritesTheProposalThenInsertsAndStopsWhenFull) {
  EntryFixture f("Plan", 7);
  EXPECT_EQ(f.result, kStillRunning);
  EXPECT_EQ(f.control.state.inputMode, kModeTextEntry);
  EXPECT_EQ(f.Cells(1, 2, 24), "Saving: WRITE NAME ? Pla");
  f.Type("Sk");
  EXPECT_EQ(f.text, "Skan");
  f.Key(kInsert);
  f.Type("x");
  EXPECT_EQ(f.text, "Skxan");
  f.Key(kEnd);
  f.Type("12");
  EXPECT_EQ(f.text, "Skxan1");
  f.player.Clear();
  f.Type("3"); // six characters fill a 7-byte buffer
  EXPECT_EQ(f.text, "Skxan1");
  EXPECT_TRUE(f.Shown("Over write !"));
  EXPECT_EQ(f.Cues(), std::vector<int>{kSoundError});
  f.Type("^"); // the highlight mark is never typed
  EXPECT_EQ(f.text, "Skxan1");
  EXPECT_EQ(f.Key(kCodeEnter), kEntryAccepted);
  EXPECT_EQ(f.control.state.inputMode, kModeCursor);
  EXPECT_TRUE(f.control.state.cursorShown);
}

TEST(AskStr, EditingKeysMoveAndDelete) {
  EntryFixture f("abcdef");
  f.Key(kEnd);
  f.Key(kCodeBackspace);
  EXPECT_EQ(f.text, "abcde");
  f.Key(kHome);
  f.Key(kCodeDelete);
  EXPECT_EQ(f.text, "bcde");
  f.control.In().repeat = 1;
  f.Key(1102); // Right
  f.Key(kF11);
  EXPECT_EQ(f.text, "b");
  f.Key(kLeft);
  f.Key(kCodeDelete);
  EXPECT_EQ(f.text, "");
  f.player.Clear();
  f.Key(kCodeDelete);
  EXPECT_TRUE(f.Shown("Nothing to delete !"));
  EXPECT_EQ(f.Cues(), std::vector<int>{kSoundSmallError});
  f.Type("xyz");
  f.Key(kCtrlF11);
  EXPECT_EQ(f.text, "");
  // Without back, Backspace on an empty text refuses like Del and Ctrl+Enter is not in use.
  EXPECT_EQ(f.Key(kCodeBackspace), kStillRunning);
  EXPECT_EQ(f.Key(kCodeCtrlEnter), kStillRunning);
  EXPECT_EQ(f.Key(kCodeEsc), kEntryEsc);
}

TEST(AskStr, BackIsOfferedOnlyWhenTheCallerAllowsIt) {
  EntryFixture f;
  f.Key(kCodeEsc);
  f.control.state.backAllowed = true;
  f.control.state.actionVariant = 1;
  AskStr(f.control, f.prompts, f.args, f.text);
  EXPECT_EQ(f.control.state.actionVariant, 4);
  EXPECT_EQ(f.Key(kCodeBackspace), kEntryBack);
  EXPECT_EQ(f.control.state.actionVariant, 1);
  AskStr(f.control, f.prompts, f.args, f.text);
  EXPECT_EQ(f.Key(kCodeCtrlEnter), kEntryBack);
}

TEST(AskStr, AnswerMemoryKeepsTenAndBrowses) {
  EntryFixture f;
  f.Key(kF12);
  EXPECT_TRUE(f.Shown("No texts in memory !"));
  f.Key(kCodeEsc);
  for (int i = 1; i <= 11; ++i) f.Answer("t" + std::to_string(i));
  EXPECT_EQ(f.prompts.answers.Count(), kAnswerMemorySize);
  EXPECT_EQ(f.prompts.answers.At(0), "t2"); // the first answer was dropped
  f.Answer("", kCodeTab);                   // an empty answer is not kept
  EXPECT_EQ(f.prompts.answers.At(9), "t11");

  AskStr(f.control, f.prompts, f.args, f.text);
  f.Type("new");
  f.Key(kF12);
  EXPECT_EQ(f.text, "t11");
  f.Key(kF12);
  EXPECT_EQ(f.text, "t10");
  f.Key(kCtrlF12);
  f.Key(kCtrlF12);
  EXPECT_EQ(f.text, "new"); // what was being typed comes back
  f.canvas.glyphs.clear();
  f.Key(kCtrlF12);
  EXPECT_TRUE(f.Shown("No texts in memory !"));
  f.Type("!");
  EXPECT_EQ(f.text, "new!"); // the cursor went to the end
}

TEST(AskStr, TheContinueTickRedrawsTheField) {
  EntryFixture f("Plan");
  MirrorPut(f.screen, 1, 1, std::string(40, '-'));
  f.Tick();
  f.control.state.continueFlag = true;
  AskStr(f.control, f.prompts, f.args, f.text);
  EXPECT_EQ(f.Cells(1, 23, 5), "Plan ");
  EXPECT_FALSE(f.control.state.continueFlag);
}

TEST(AskStr, ListRowsHandBackUpDownAndJoins) {
  EntryFixture f;
  f.Key(kCodeEsc);
  f.args.row = 5;
  f.args.column = 3;
  f.args.width = 20;
  f.args.cursor = 2;
  f.args.firstRow = false;
  f.args.initial = "abc";
  AskStr(f.control, f.prompts, f.args, f.text);
  EXPECT_EQ(f.Cells(5, 3, 4), "abc ");
  EXPECT_EQ(f.prompts.entry.cursor, 2);
  EXPECT_EQ(f.Key(1103), kStillRunning); // the last row: Down is ignored
  EXPECT_EQ(f.Key(kUp), kEntryUp);
  AskStr(f.control, f.prompts, f.args, f.text);
  f.Key(kEnd);
  EXPECT_EQ(f.Key(kCodeDelete), kEntryJoin);
  f.args.cursor = 0;
  AskStr(f.control, f.prompts, f.args, f.text);
  EXPECT_EQ(f.Key(kCodeBackspace), kEntryJoin);
}

} // namespace
} // namespace lumora
