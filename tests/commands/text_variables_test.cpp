#include "commands/text_fixture.h"
#include "commands/text_variables.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

namespace lumora {
namespace {

struct Outcome {
  bool done = false;
  int result = -1;
  std::string text;
};

// A main function that fills one text and ends, as Update texts does for each of its texts.
class FillOne final : public Function {
public:
  FillOne(std::string source, VariableTable& table, Outcome& out)
      : source_(std::move(source)), table_(table), out_(out) {}

  int Step(Control& control, const CommandRow& row) override {
    if (!begun_) {
      begun_ = true;
      BeginFunction(control, row);
    }
    const int result = fill_.Step(control, source_, out_.text, table_);
    if (result == kStillRunning) return kStillRunning;
    out_.done = true;
    out_.result = result;
    EndFunction(control, row.level);
    return kFinished;
  }

private:
  std::string source_;
  VariableTable& table_;
  Outcome& out_;
  TextSubstitution fill_;
  bool begun_ = false;
};

struct Substitution : TextFixture {
  VariableTable table;
  int questions = 0;
  Outcome out;

  // Fills the text, answering the questions in turn; the outcome once the routine has ended.
  const Outcome& Fill(const std::string& source,
                      std::initializer_list<std::string_view> answers = {}) {
    out = {};
    app.commands.Add({kCodeUpdateTexts, Level::kMain,
                      [this, source] { return std::make_unique<FillOne>(source, table, out); }});
    Key(kCodeUpdateTexts);
    for (std::string_view answer : answers) {
      if (out.done) break;
      ++questions;
      Answer(answer);
    }
    if (!out.done && control.state.inputMode == kModeTextEntry) ++questions;
    return out;
  }
};

TEST_F(Substitution, ConsumedReferencesAreAskedOncePerName) {
  Fill("#A# and #A#", {"x"});
  EXPECT_EQ(questions, 1);
  EXPECT_EQ(out.result, kTextChanged);
  EXPECT_EQ(out.text, "x and x");
  // The next text takes the stored answer without a question.
  questions = 0;
  Fill("(#A#)");
  EXPECT_EQ(questions, 0);
  EXPECT_EQ(out.text, "(x)");
  EXPECT_DOUBLE_EQ(table.Find("A") != nullptr ? table.Find("A")->number : -1.0, 0.0);
  // A line separator after the reference makes it consumed too.
  ASSERT_TRUE(table.SetText("NAME", "v2.5"));
  Fill("#NAME#a|b");
  EXPECT_EQ(out.text, "v2.5a|b");
  EXPECT_DOUBLE_EQ(table.Find("NAME")->number, 2.5);
}

TEST_F(Substitution, KeptReferenceProposesItsValue) {
  app.commands.Add({kCodeUpdateTexts, Level::kMain,
                    [&] { return std::make_unique<FillOne>("#NAME#old", table, out); }});
  Key(kCodeUpdateTexts);
  EXPECT_NE(Prompt().find("Updating texts:  GIVE TEXT FOR #NAME# ? old"), std::string::npos)
      << Prompt();
  Answer("new");
  EXPECT_EQ(out.text, "#NAME#new");
  // A fresh table asks again, proposing what the text holds now.
  table = {};
  Outcome again;
  app.commands.Add({kCodeUpdateTexts, Level::kMain,
                    [&] { return std::make_unique<FillOne>(out.text, table, again); }});
  Key(kCodeUpdateTexts);
  EXPECT_NE(Prompt().find("#NAME# ? new"), std::string::npos) << Prompt();
  Key(kCodeEnter);
  EXPECT_EQ(again.result, kTextChanged);
  EXPECT_EQ(again.text, "#NAME#new");
}

TEST_F(Substitution, TextsWithoutAReferenceStayUnasked) {
  for (const char* text : {"(#ABCDEFGHIJKLMNOPQRS#)", "no mark", "#open", "## empty", "#"}) {
    questions = 0;
    Fill(text);
    EXPECT_EQ(questions, 0) << text;
    EXPECT_EQ(out.result, kTextUnchanged) << text;
  }
  // Eighteen characters are still a name.
  Fill("(#ABCDEFGHIJKLMNOPQR#)", {"y"});
  EXPECT_EQ(out.text, "(y)");
}

TEST_F(Substitution, EscAndAFullTableLeaveTheText) {
  Fill("#A# b");
  ASSERT_FALSE(out.done);
  Key(kCodeEsc);
  EXPECT_TRUE(out.done);
  EXPECT_EQ(out.result, kTextUnchanged);
  EXPECT_EQ(table.Find("A"), nullptr);

  for (std::size_t i = 0; i < kMaxVariables; ++i) table.SetText("V" + std::to_string(i), "1");
  EXPECT_FALSE(table.SetText("W", "2"));
  Fill("#V1# #W#");
  EXPECT_TRUE(out.done);
  EXPECT_TRUE(Shown("Too many variables !"));
  EXPECT_EQ(out.result, kTextUnchanged);
}

TEST_F(Substitution, DateAndTimeComeFromTheClock) {
  headless.clock.Advance(35 * 60 + 7); // 5.12.2026 9:05:07
  Fill("#DATE# #TIME#");
  EXPECT_EQ(out.text, "5.12.2026 9:05:07");
  EXPECT_EQ(table.entries.size(), 0u);
}

TEST_F(Substitution, LongTextsKeepTheirTailAndNothingIsCut) {
  const std::string tail(600, 't');
  Fill("head #A#" + tail, {"x"});
  EXPECT_EQ(out.text, "head x" + tail);
  // A result that would not fit a text leaves the text as it was.
  table.SetText("B", std::string(kVariableValueMax, 'b'));
  Fill("x#B#" + std::string(900, 'u'));
  EXPECT_EQ(out.result, kTextUnchanged);
}

TEST_F(Substitution, AValueNamingItsOwnVariableEnds) {
  Fill("#A#", {"#A#"});
  EXPECT_EQ(out.text, "#A##A#");
  questions = 0;
  table = {};
  Fill("(#B#)", {"#B#"});
  EXPECT_TRUE(out.done);
  EXPECT_EQ(questions, 1);
  EXPECT_EQ(out.result, kTextUnchanged);
}

} // namespace
} // namespace lumora
