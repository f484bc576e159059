#include "util/number_text.h"

#include <cfloat>
#include <gtest/gtest.h>
#include <string>

namespace lumora {
namespace {

TEST(NumberText, RoundsToTheStepAndTrims) {
  EXPECT_EQ(NumberToText(1.26, 0.1, 10), "1.3");
  EXPECT_EQ(NumberToText(1.24, 0.1, 10), "1.2");
  EXPECT_EQ(NumberToText(1.25, 0.5, 10), "1.5"); // halves go up
  EXPECT_EQ(NumberToText(-1.25, 0.5, 10), "-1");
  EXPECT_EQ(NumberToText(12.3456, 0.001, 10), "12.346");
  EXPECT_EQ(NumberToText(1234, 100, 10), "1200");
  EXPECT_EQ(NumberToText(7, 1, 10), "7");
  EXPECT_EQ(NumberToText(0.1234567, 0, 10), "0.123457"); // no step: six decimals
  EXPECT_EQ(NumberToText(-0.0004, 0.01, 10), "0");
  EXPECT_EQ(NumberToText(-0.0000001, 0, 10), "0");
  EXPECT_EQ(NumberToText(-0.0, 1, 10), "0");
}

TEST(NumberText, WidthAndBlankZero) {
  EXPECT_EQ(NumberToText(99999.5, 1, 5), "****"); // rounding makes it too long
  EXPECT_EQ(NumberToText(12345.4, 1, 5), "12345");
  EXPECT_EQ(NumberToText(-1234, 1, 5), "-1234");
  EXPECT_EQ(NumberToText(-12345, 1, 5), "****");
  EXPECT_EQ(NumberToText(1e300, 1, 20), "****");
  EXPECT_EQ(NumberToText(0.5 / 0.0, 1, 20), "****");
  // A negative step rounds by its size and leaves a zero blank.
  EXPECT_EQ(NumberToText(0, -0.1, 10), "");
  EXPECT_EQ(NumberToText(0.04, -0.1, 10), "");
  EXPECT_EQ(NumberToText(0.26, -0.1, 10), "0.3");
  EXPECT_EQ(NumberToText(0, 0.1, 10), "0");
}

TEST(TextNumber, ReadsLiteralsAndMovesPastThem) {
  const std::string text = "x = 12.5, -3e2 and +.25; 7e plus 1.e1";
  std::size_t pos = 0;
  EXPECT_EQ(TextToNumber(text, pos), 12.5);
  EXPECT_EQ(pos, 8u);
  EXPECT_EQ(TextToNumber(text, pos), -300);
  EXPECT_EQ(TextToNumber(text, pos), 0.25);
  EXPECT_EQ(TextToNumber(text, pos), 7); // the letter without digits is not an exponent
  EXPECT_EQ(text[pos], 'e');
  EXPECT_EQ(TextToNumber(text, pos), 10);
  EXPECT_EQ(pos, text.size());
  double value = 5;
  EXPECT_EQ(ReadNumber(text, pos, value), 0);
  EXPECT_EQ(value, 0);

  pos = 0;
  EXPECT_EQ(TextToNumber("0x1A", pos), 0); // decimal only
  EXPECT_EQ(pos, 1u);
  pos = 0;
  EXPECT_EQ(TextToNumber("1e-2e3", pos), 0.01);
  EXPECT_EQ(pos, 4u);
}

TEST(TextNumber, NoNumberLoneSignsAndOddBytes) {
  std::size_t pos = 0;
  double value = 9;
  EXPECT_EQ(ReadNumber("abc", pos, value), 0);
  EXPECT_EQ(pos, 3u);
  EXPECT_EQ(value, 0);
  pos = 0;
  EXPECT_EQ(ReadNumber("", pos, value), 0);
  EXPECT_EQ(pos, 0u);
  pos = 99; // beyond the end: nothing read, nothing past the end
  EXPECT_EQ(ReadNumber("12", pos, value), 0);
  EXPECT_EQ(pos, 2u);
  // A sign or point that starts no number reads as 0 and is passed, so reading goes on.
  pos = 0;
  EXPECT_EQ(ReadNumber("- 5", pos, value), 1);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(pos, 1u);
  EXPECT_EQ(TextToNumber("- 5", pos), 5);
  pos = 0;
  EXPECT_EQ(TextToNumber(std::string_view("\xE4\xFF\0-2", 5), pos), -2);
  // A number cut at the end of the view is read only up to there.
  pos = 0;
  EXPECT_EQ(TextToNumber(std::string_view("123456", 3), pos), 123);
}

TEST(TextNumber, OutOfRangeGivesTheLargestOrZero) {
  std::size_t pos = 0;
  EXPECT_EQ(TextToNumber("1e400", pos), DBL_MAX);
  pos = 0;
  EXPECT_EQ(TextToNumber("-1e400", pos), -DBL_MAX);
  pos = 0;
  EXPECT_EQ(TextToNumber("1e-400", pos), 0);
  pos = 0;
  EXPECT_EQ(TextToNumber("0.000000001e-400", pos), 0);
  pos = 0;
  EXPECT_EQ(TextToNumber("1" + std::string(400, '0'), pos), DBL_MAX);
  pos = 0;
  EXPECT_EQ(TextToNumber("1e99999999999999999999", pos), DBL_MAX);
  pos = 0;
  EXPECT_EQ(TextToNumber("5e-99999999999999999999", pos), 0);
}

} // namespace
} // namespace lumora
