#include "ui/ask_fixture.h"
#include "ui/ask_number.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr int kCtrlF11 = 3011;

TEST(AskNumber, EvaluatesOneOperator) {
  EXPECT_DOUBLE_EQ(EvaluateNumberText("12+3"), 15.0);
  EXPECT_DOUBLE_EQ(EvaluateNumberText("-4"), -4.0);
  EXPECT_DOUBLE_EQ(EvaluateNumberText("7/2"), 3.5);
  EXPECT_DOUBLE_EQ(EvaluateNumberText("abc"), 0.0);
  EXPECT_DOUBLE_EQ(EvaluateNumberText("10-2*3"), 8.0); // one operator: the rest is ignored
  EXPECT_DOUBLE_EQ(EvaluateNumberText("2e-3"), 0.002); // an exponent's sign is no operator
  EXPECT_DOUBLE_EQ(EvaluateNumberText("1.5E+2"), 150.0);
  EXPECT_DOUBLE_EQ(EvaluateNumberText("1e2-3"), 97.0);
}

TEST(AskNumber, OnlyNumberExpressionsAreNumbers) {
  for (const char* text : {"12", " -4.5 ", "1e3", "2.E-2", "7/2", "-4-2", "7 / -2", ".5"})
    EXPECT_TRUE(IsNumberText(text, false)) << text;
  for (const char* text : {"abc", "7a", "e5", "1e", "1,2", "12 m", "1ee2", "1.2.3", "12 34",
                           "2+3*4", "1e2e3", "-", "."})
    EXPECT_FALSE(IsNumberText(text, false)) << text;
  for (const char* text : {"198, 281", "5", "5,", ",-3", "1e2,2", "0 100"})
    EXPECT_TRUE(IsNumberText(text, true)) << text;
  for (const char* text : {"1,2,3", "2a0,300", "10+2,5", "1 2,3"})
    EXPECT_FALSE(IsNumberText(text, true)) << text;
}

struct NumberFixture : AskFixture {
  AskNumberArgs args;
  // Opens the entry, checks the proposal, replaces it with `typed` and enters it.
  int Answer(std::string_view proposal, std::string_view typed) {
    Call();
    EXPECT_EQ(prompts.numberText, proposal);
    Key(kCtrlF11);
    Type(typed);
    return Key(kCodeEnter);
  }
};

TEST(AskNumber, ReadsTheAnswerAndRefusesWhatIsNoNumber) {
  NumberFixture f;
  f.args.precision = 0.01;
  double value = 0.0;
  f.call = [&] { return AskNumber(f.control, f.prompts, f.args, value, 2.345); };
  EXPECT_EQ(f.Answer("2.35", "-4-2"), kEntryAccepted);
  EXPECT_DOUBLE_EQ(value, -6.0);
  EXPECT_EQ(f.Answer("2.35", ""), kEntryBack);
  EXPECT_DOUBLE_EQ(value, 2.345);
  EXPECT_EQ(f.Answer("2.35", "7/0"), kStillRunning); // the entry stays open
  EXPECT_TRUE(f.Shown("Not a number !"));
  EXPECT_EQ(f.prompts.numberText, "7/0");
  EXPECT_EQ(f.Key(kCodeEsc), kEntryEsc);
  EXPECT_EQ(f.Answer("2.35", "2x"), kStillRunning); // not read as the 2 before the letter
  EXPECT_EQ(f.Cues().back(), kSoundSmallError);
  EXPECT_EQ(f.Key(kCodeEsc), kEntryEsc);
  EXPECT_DOUBLE_EQ(value, 2.345);
}

TEST(AskNumber, IntegersRoundAndPairsAreReadTogether) {
  NumberFixture f;
  int whole = 0;
  f.call = [&] { return AskInteger(f.control, f.prompts, f.args, whole, 7); };
  EXPECT_EQ(f.Answer("7", "2.5"), kEntryAccepted);
  EXPECT_EQ(whole, 3);
  EXPECT_EQ(f.Answer("7", "1e12"), kStillRunning); // beyond an integer
  f.Key(kCodeEsc);
  EXPECT_EQ(whole, 7);

  double x = 0.0, y = 0.0;
  f.args.precision = 1.0;
  f.call = [&] { return AskTwoNumbers(f.control, f.prompts, f.args, x, y, 198.0, 281.0); };
  EXPECT_EQ(f.Answer("198,281", "10.5,-3"), kEntryAccepted);
  EXPECT_DOUBLE_EQ(x, 10.5);
  EXPECT_DOUBLE_EQ(y, -3.0);
}

} // namespace
} // namespace lumora
