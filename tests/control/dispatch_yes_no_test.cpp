#include "control/dispatch_fixture.h"
#include "ui/ask_yes_no.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr TextPair kTitle{"Saving: "_l1, "Tallennus: "_l1};
constexpr TextPair kQuestion{"^REPLACE ? "_l1, "^KORVATAANKO ? "_l1};
constexpr int kAskKey = kCodeSave;

// A main function that asks one question and keeps the answer.
class Asker final : public Function {
public:
  explicit Asker(int& answer) : answer_(answer) {}
  int Step(Control& control, const CommandRow& /*row*/) override {
    if (!LevelActive(control, Level::kMain)) BeginFunction(control, Level::kMain, kAskKey);
    const int result = question_.Ask(control, 1, 2, 0, kTitle, kQuestion, kAnswerYes);
    if (result == kStillRunning) return kStillRunning;
    answer_ = result;
    EndFunction(control, Level::kMain);
    return kFinished;
  }

private:
  int& answer_;
  AskYesNo question_;
};

struct YesNoFixture : DispatchFixture {
  int answer = kStillRunning;
  YesNoFixture() {
    table.Add({kAskKey, Level::kMain, [this] { return std::make_unique<Asker>(answer); }});
    Key(kAskKey);
  }
  // The answer to a question opened afresh and given these keys.
  int AnswerTo(std::initializer_list<int> keys) {
    answer = kStillRunning;
    if (!LevelActive(control, Level::kMain)) Key(kAskKey);
    for (int key : keys) Key(key);
    return answer;
  }
};

TEST(AskYesNo, KeysAnswer) {
  YesNoFixture f;
  EXPECT_EQ(f.AnswerTo({'y'}), kAnswerYes);
  EXPECT_EQ(f.AnswerTo({'K'}), kAnswerYes);
  EXPECT_EQ(f.AnswerTo({'n'}), kAnswerNo);
  EXPECT_EQ(f.AnswerTo({kCodeEnter}), kAnswerYes);
  EXPECT_EQ(f.AnswerTo({kCodeRight, kCodeEnter}), kAnswerNo);
  EXPECT_EQ(f.AnswerTo({kCodeRight, kCodeCtrlLeft, kCodeTab}), kAnswerYes);
  EXPECT_EQ(f.AnswerTo({kCodeBackspace}), kAnswerBack);
  EXPECT_EQ(f.AnswerTo({kCodeEsc}), kAnswerEsc);
  EXPECT_EQ(f.control.state.inputMode, kModeCursor);
  EXPECT_TRUE(f.control.state.cursorShown);
}

TEST(AskYesNo, OtherKeysAreRefusedAndKeepTheQuestion) {
  YesNoFixture f;
  f.player.Clear();
  EXPECT_EQ(f.AnswerTo({'q'}), kStillRunning);
  EXPECT_EQ(f.Cues(), (std::vector<int>{kSoundSmallError}));
  // The language key works only with no prompt open: here it is not in use either.
  EXPECT_EQ(f.AnswerTo({kCodeLanguage}), kStillRunning);
  EXPECT_EQ(f.AnswerTo({'n'}), kAnswerNo);
}

// A help function over the question writes its own prompt; when it ends the question is shown
// again with its choices, and closing the question gives the outer prompt its mouse back.
TEST(AskYesNo, TheChoicesComeBackAfterAHelpFunctionAndTheMouseArrowsAreRestored) {
  YesNoFixture f;
  const std::string question = f.Cells(1, 2, 27);
  EXPECT_EQ(question, "Saving: REPLACE ?  yes   no");
  f.Key(DispatchFixture::kHelpKey);
  EXPECT_EQ(f.Cells(1, 2, 16), "Test: DO IT !   ");
  f.Key(kCodeEsc);
  EXPECT_EQ(f.Cells(1, 2, 27), question);
  f.Key('n');

  const MouseArrows outer{.centreX = 300, .centreY = 40, .halfHeight = 8};
  f.control.state.arrows = outer;
  f.Key(kAskKey);
  f.Key('y');
  EXPECT_EQ(f.control.state.arrows.centreX, outer.centreX);
  EXPECT_EQ(f.control.state.arrows.halfHeight, outer.halfHeight);
}

} // namespace
} // namespace lumora
