#include "script/script_expressions.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lumora {
namespace {

class Reports final : public ScriptReporter {
public:
  void Report(std::string_view message) override { seen.emplace_back(message); }
  std::vector<std::string> seen;
};

class ScriptValuesTest : public ::testing::Test {
protected:
  // The value with the reports it caused.
  double Value(std::string_view expression) {
    reports.seen.clear();
    return values.Evaluate(expression);
  }
  std::string Text(std::string_view expression) {
    reports.seen.clear();
    std::string out;
    values.StringOf(expression, out, kScriptTextMax);
    return out;
  }
  bool If(std::string_view condition) {
    reports.seen.clear();
    return values.Condition(condition);
  }
  std::string Only() const { return reports.seen.size() == 1 ? reports.seen[0] : "(several)"; }

  Reports reports;
  ScriptValues values{reports};
};

TEST_F(ScriptValuesTest, ArithmeticLeftToRightWithPrecedence) {
  EXPECT_EQ(Value("2+3*4"), 14);
  EXPECT_EQ(Value("10/4*2"), 5);
  EXPECT_EQ(Value("-2*3"), -6);
  EXPECT_EQ(Value("2*-3"), -6);
  EXPECT_EQ(Value("2-3-4"), -5);
  EXPECT_EQ(Value("(2+3)*4"), 20);
  EXPECT_EQ(Value("8/2/2"), 2);
  EXPECT_EQ(Value(" ((1 + 2) * (3 + 4)) - 1 "), 20);
  EXPECT_TRUE(reports.seen.empty());
  EXPECT_EQ(values.Table().entries.size(), 1u); // the temporaries are gone, PII stays
}

TEST_F(ScriptValuesTest, FunctionsAndAngleModes) {
  EXPECT_EQ(Value("SQR(16)+1"), 5);
  EXPECT_EQ(Value("POW(2,10)"), 1024);
  EXPECT_EQ(Value("POW(2, SQR(9))"), 8); // a call inside a call's second argument
  EXPECT_EQ(Value("POW(2)"), 0);
  EXPECT_EQ(Only(), "POW-function needs two parameters!");
  EXPECT_EQ(Value("RND(2.5)"), 3);
  EXPECT_EQ(Value("RND(-2.5)"), -3);
  EXPECT_EQ(Value("ABS(-4)"), 4);
  EXPECT_EQ(Value("FOO(1)"), 0);
  EXPECT_EQ(Only(), "Unrecognized function call 'FOO'");
  values.degrees = true;
  EXPECT_EQ(ScriptNumberText(Value("SIN(30)")), "0.5");
  EXPECT_EQ(ScriptNumberText(Value("ATN(1)")), "45");
  values.degrees = false;
  EXPECT_EQ(ScriptNumberText(Value("SIN(PII/6)")), "0.5");
}

TEST_F(ScriptValuesTest, DivisionByZeroAndValuesThatAreNotFinite) {
  EXPECT_EQ(Value("5/0"), 5);
  EXPECT_EQ(Only(), "Try to divide with zero!");
  EXPECT_EQ(Value("5/0*2"), 10);
  EXPECT_EQ(Value("1/0.0005"), 1);
  EXPECT_EQ(Only(), "Try to divide with zero!");
  for (const char* bad :
       {"SQR(-1)", "LOG(0)", "LOG(-3)", "EXP(1000)", "POW(10,400)", "1e300*1e300", "1e400"}) {
    EXPECT_EQ(Value(bad), 0) << bad;
    EXPECT_EQ(Only(), "Value not defined!") << bad;
  }
}

TEST_F(ScriptValuesTest, TextsAndTheFirstNumberOfAText) {
  EXPECT_EQ(ScriptNumberText(2.5), "2.5");
  EXPECT_EQ(ScriptNumberText(1.0 / 3.0), "0.333333");
  EXPECT_EQ(ScriptNumberText(-0.0000004), "0");
  values.SetNumber("X", 2.5);
  EXPECT_EQ(Text("\"L=\" + X"), "L=2.5");
  EXPECT_EQ(Text("\"a;b\"+\"c\""), "a;bc");
  EXPECT_EQ(Text("NOPE"), "");
  EXPECT_EQ(Only(), "Variable 'NOPE' not found!");
  EXPECT_EQ(Text("\"open"), "open");
  EXPECT_EQ(Only(), "No closing quotation mark found!");
  for (const auto& [text, number] :
       std::vector<std::pair<std::string, double>>{{"abc12.5def", 12.5}, {"x-5", -5}, {"abc", 0}}) {
    values.SetText("S$", text);
    EXPECT_EQ(values.NumberOf("S$"), number) << text;
  }
}

TEST_F(ScriptValuesTest, ConditionsWithTolerance) {
  EXPECT_FALSE(If("5 > 5"));
  EXPECT_TRUE(If("5 = 5.0004"));
  EXPECT_FALSE(If("5 < 5.0005"));
  EXPECT_TRUE(If("5 < 5.0015"));
  values.SetNumber("A", 1);
  values.SetNumber("B", 2);
  EXPECT_TRUE(If("(A=1) AND (B=2) THEN"));
  EXPECT_FALSE(If("(A=1) AND (B=3)"));
  EXPECT_TRUE(If("(A=7) OR (B=2)"));
  EXPECT_TRUE(If("A = 1 AND B = 2"));
  EXPECT_TRUE(If("2 OR 0"));
  EXPECT_FALSE(If("0 OR 0"));
  EXPECT_TRUE(If("B"));
  values.SetText("N$", "Matti");
  EXPECT_TRUE(If("N$ = \"Matti\""));
  EXPECT_FALSE(If("N$ = \"Maija\""));
  EXPECT_FALSE(If("N$ < \"M\""));
  EXPECT_EQ(Only(), "For texts just '='-comparision is allowed!");
  EXPECT_TRUE(If(""));
  EXPECT_EQ(Only(), "No statement for IF!");
}

TEST_F(ScriptValuesTest, TableLimitsNamesAndIndices) {
  std::string name;
  ASSERT_TRUE(values.VariableName("A[2.6]", name));
  EXPECT_EQ(name, "A[3]");
  values.SetNumber("I", 1);
  ASSERT_TRUE(values.VariableName("B$[I+1]", name));
  EXPECT_EQ(name, "B$[2]");
  EXPECT_TRUE(ScriptValues::IsStringName(name));
  EXPECT_FALSE(values.VariableName("1X", name));
  EXPECT_FALSE(values.VariableName("A.B", name));
  reports.seen.clear();
  ASSERT_TRUE(values.VariableName("ABCDEFGHIJKLMNOPQRST", name));
  EXPECT_EQ(name, "ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(Only(), "Variable name too long!");

  values.Reset();
  for (int i = 1; i <= 99; ++i) ASSERT_TRUE(values.SetNumber("A[" + std::to_string(i) + "]", i));
  reports.seen.clear();
  EXPECT_FALSE(values.SetNumber("A[100]", 1));
  EXPECT_EQ(Only(), "Maximum amount of variables exceeded!");
  EXPECT_EQ(values.Find("A[100]"), nullptr);
  EXPECT_EQ(Value("(1+2)"), 0);
  EXPECT_EQ(Only(), "Maximum amount of variables exceeded!");
  EXPECT_EQ(Value("A[2+3]*2"), 10); // an index needs no room of its own

  values.Reset();
  reports.seen.clear();
  ASSERT_TRUE(values.SetText("T$", std::string(200, 'x')));
  EXPECT_EQ(values.Find("T$")->text.size(), 199u);
  EXPECT_EQ(Only(), "String variable too long!");
}

TEST_F(ScriptValuesTest, ItemsStopAtSeparatorsOutsideQuotesAndParentheses) {
  values.Begin("1, \"a,b\", POW(2,3) = 4", 0);
  EXPECT_EQ(values.Number(), 1);
  std::string text;
  EXPECT_TRUE(values.String(text));
  EXPECT_EQ(text, "a,b");
  EXPECT_EQ(values.Number(), 8);
  EXPECT_EQ(values.Number(), 4);
  EXPECT_EQ(values.Number(), 0);
  EXPECT_FALSE(values.Cursor().has_value()); // a missing required item
  values.separators = Separators::kFor;
  values.Begin(" 1 TO 10 STEP 2", 0);
  EXPECT_EQ(values.Number(), 1);
  EXPECT_EQ(values.Number(), 10);
  EXPECT_EQ(values.Number(), 2);
}

TEST_F(ScriptValuesTest, BrokenExpressionsGiveValuesAndReports) {
  for (const char* bad : {"(1+2", "SQR(", "1+*2", "((((", "))", "\"", "A[", "*", ",,"}) {
    Value(bad);
    EXPECT_FALSE(reports.seen.empty()) << bad;
    EXPECT_EQ(values.Table().entries.size(), 1u) << bad;
  }
}

} // namespace
} // namespace lumora
