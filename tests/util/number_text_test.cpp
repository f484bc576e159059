#include "util/number_text.h"

#include <cfloat>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace lumora {
namespace {

TEST(NumberText, RoundingWidthAndBlankZero) {
  EXPECT_EQ(NumberToText(1.26, 0.1, 10), "1.3");
  EXPECT_EQ(NumberToText(1.25, 0.5, 10), "1.5"); // halves go up
  EXPECT_EQ(NumberToText(-1.25, 0.5, 10), "-1");
  EXPECT_EQ(NumberToText(12.3456, 0.001, 10), "12.346");
  EXPECT_EQ(NumberToText(1234, 100, 10), "1200");
  EXPECT_EQ(NumberToText(0.1234567, 0, 10), "0.123457"); // no step: six decimals
  EXPECT_EQ(NumberToText(-0.0004, 0.01, 10), "0");
  EXPECT_EQ(NumberToText(99999.5, 1, 5), "****"); // rounding makes it too long
  EXPECT_EQ(NumberToText(-1234, 1, 5), "-1234");
  EXPECT_EQ(NumberToText(1e300, 1, 20), "****");
  EXPECT_EQ(NumberToText(0.5 / 0.0, 1, 20), "****");
  // A negative step rounds by its size and leaves a zero blank.
  EXPECT_EQ(NumberToText(0.04, -0.1, 10), "");
  EXPECT_EQ(NumberToText(0.26, -0.1, 10), "0.3");
}

TEST(TextNumber, ReadsLiteralsAndMovesPastThem) {
  const std::string text = "x = 12.5, -3e2 and +.25; 7e plus 1.e1";
  std::size_t pos = 0;
  EXPECT_EQ(TextToNumber(text, pos), 12.5);
  EXPECT_EQ(pos, 8u);
  EXPECT_EQ(TextToNumber(text, pos), -300);
  EXPECT_EQ(TextToNumber(text, pos), 0.25);
  EXPECT_EQ(TextToNumber(text, pos), 7); // a letter without digits is no exponent
  EXPECT_EQ(text[pos], 'e');
  EXPECT_EQ(TextToNumber(text, pos), 10);
  double value = 5;
  EXPECT_EQ(ReadNumber(text, pos, value), 0); // nothing left
  EXPECT_EQ(value, 0);
  EXPECT_EQ(pos, text.size());
  pos = 0;
  EXPECT_EQ(TextToNumber("0x1A", pos), 0); // decimal only
  EXPECT_EQ(pos, 1u);
}

TEST(TextNumber, NoNumberLoneSignsAndOddBytes) {
  std::size_t pos = 99; // beyond the end: nothing read, nothing past the end
  double value = 9;
  EXPECT_EQ(ReadNumber("12", pos, value), 0);
  EXPECT_EQ(pos, 2u);
  // A sign that starts no number reads as 0 and is passed, so reading goes on.
  pos = 0;
  EXPECT_EQ(ReadNumber("- 5", pos, value), 1);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(TextToNumber("- 5", pos), 5);
  pos = 0;
  EXPECT_EQ(TextToNumber(std::string_view("\xE4\xFF\0-2", 5), pos), -2);
  pos = 0;
  EXPECT_EQ(TextToNumber(std::string_view("123456", 3), pos), 123); // only inside the view
  // Out of range: the largest double or zero, never infinity.
  for (const auto& [text, want] : {std::pair<std::string, double>{"-1e400", -DBL_MAX},
                                   {"1e-400", 0.0},
                                   {"1" + std::string(400, '0'), DBL_MAX},
                                   {"1e99999999999999999999", DBL_MAX}}) {
    pos = 0;
    EXPECT_EQ(TextToNumber(text, pos), want) << text;
  }
}

} // namespace
} // namespace lumora
