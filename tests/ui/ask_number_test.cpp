#include "ui/ask_fixture.h"
#include "ui/ask_number.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(AskNumber, EvaluatesOneOperator) {
  EXPECT_DOUBLE_EQ(EvaluateNumberText("12+3"), 15.0);
  EXPECT_DOUBLE_EQ(EvaluateNumberText("-4"), -4.0);
  EXPECT_DOUBLE_EQ(EvaluateNumberText("-4-2"), -6.0);
  EXPECT_DOUBLE_EQ(EvaluateNumberText("7/2"), 3.5);
  EXPECT_DOUBLE_EQ(EvaluateNumberText("abc"), 0.0);
  EXPECT_DOUBLE_EQ(EvaluateNumberText("2.5*4"), 10.0);
  EXPECT_DOUBLE_EQ(EvaluateNumberText("10-2*3"), 8.0); // one operator: the rest is ignored
}

struct NumberFixture : AskFixture {
  AskNumberArgs args;
  int Answer(std::string_view typed, double& value, double old) {
    AskNumber(control, prompts, args, value, old);
    Translate(kCtrlF11);
    AskNumber(control, prompts, args, value, old);
    for (char c : typed) {
      Translate(static_cast<unsigned char>(c));
      AskNumber(control, prompts, args, value, old);
    }
    Translate(kCodeEnter);
    return AskNumber(control, prompts, args, value, old);
  }
  static constexpr int kCtrlF11 = 3011;
};

TEST(AskNumber, ProposesTheOldValueAndReadsTheAnswer) {
  NumberFixture f;
  f.args.precision = 0.01;
  double value = 0.0;
  EXPECT_EQ(AskNumber(f.control, f.prompts, f.args, value, 2.345), kStillRunning);
  EXPECT_EQ(f.prompts.numberText, "2.35");
  f.Translate(kCodeEnter);
  EXPECT_EQ(AskNumber(f.control, f.prompts, f.args, value, 2.345), kEntryAccepted);
  EXPECT_DOUBLE_EQ(value, 2.35);
  EXPECT_EQ(f.Answer("-4-2", value, 1.0), kEntryAccepted);
  EXPECT_DOUBLE_EQ(value, -6.0);
  EXPECT_EQ(f.Answer("", value, 1.0), kEntryBack);
  EXPECT_DOUBLE_EQ(value, 1.0);
}

TEST(AskNumber, DivisionByZeroIsRefusedAndTheEntryStays) {
  NumberFixture f;
  double value = 5.0;
  EXPECT_EQ(f.Answer("7/0", value, 5.0), kStillRunning);
  EXPECT_TRUE(f.Shown("Not a number !"));
  EXPECT_DOUBLE_EQ(value, 5.0);
  EXPECT_EQ(f.prompts.numberText, "7/0");
  EXPECT_EQ(f.control.state.inputMode, kModeTextEntry);
  f.Translate(kCodeEsc);
  EXPECT_EQ(AskNumber(f.control, f.prompts, f.args, value, 5.0), kEntryEsc);
  EXPECT_EQ(f.control.state.inputMode, kModeCursor);
}

TEST(AskNumber, IntegersRoundAndOverflowIsRefused) {
  NumberFixture f;
  int value = 0;
  auto answer = [&](std::string_view typed) {
    AskInteger(f.control, f.prompts, f.args, value, 7);
    EXPECT_EQ(f.prompts.numberText, "7");
    f.Translate(NumberFixture::kCtrlF11);
    AskInteger(f.control, f.prompts, f.args, value, 7);
    for (char c : typed) {
      f.Translate(static_cast<unsigned char>(c));
      AskInteger(f.control, f.prompts, f.args, value, 7);
    }
    f.Translate(kCodeEnter);
    return AskInteger(f.control, f.prompts, f.args, value, 7);
  };
  EXPECT_EQ(answer("2.5"), kEntryAccepted);
  EXPECT_EQ(value, 3);
  EXPECT_EQ(answer("-2.5"), kEntryAccepted);
  EXPECT_EQ(value, -2);
  EXPECT_EQ(answer("1e12"), kStillRunning);
  EXPECT_EQ(value, 7);
}

TEST(AskNumber, TwoNumbersAreProposedAndReadAsAPair) {
  NumberFixture f;
  f.args.precision = 1.0;
  double x = 0.0, y = 0.0;
  AskTwoNumbers(f.control, f.prompts, f.args, x, y, 198.0, 281.0);
  EXPECT_EQ(f.prompts.numberText, "198,281");
  f.Translate(3011);
  AskTwoNumbers(f.control, f.prompts, f.args, x, y, 198.0, 281.0);
  for (char c : std::string("10.5,-3")) {
    f.Translate(static_cast<unsigned char>(c));
    AskTwoNumbers(f.control, f.prompts, f.args, x, y, 198.0, 281.0);
  }
  f.Translate(kCodeEnter);
  EXPECT_EQ(AskTwoNumbers(f.control, f.prompts, f.args, x, y, 198.0, 281.0), kEntryAccepted);
  EXPECT_DOUBLE_EQ(x, 10.5);
  EXPECT_DOUBLE_EQ(y, -3.0);
  f.args.precision = -1.0; // a pair of zeros proposes nothing
  AskTwoNumbers(f.control, f.prompts, f.args, x, y, 0.0, 0.0);
  EXPECT_EQ(f.prompts.numberText, "");
}

} // namespace
} // namespace lumora
