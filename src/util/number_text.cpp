// Number to text and text to number, independent of the C locale and safe on any bytes.
#include "util/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace lumora {

namespace {

constexpr int kDecimals = 6;
// Room for the largest double written in full with six decimals and a sign.
constexpr std::size_t kFixedBufferSize = 400;
// Exponents are only counted this far; anything beyond is out of range either way.
constexpr long kExponentCap = 100000;

double RoundToStep(double value, double step) {
  const double size = std::abs(step);
  if (!(size > 0.0)) return value;
  const double multiples = value / size;
  if (!std::isfinite(multiples)) return value; // a step too fine to round by changes nothing
  return std::floor(multiples + 0.5) * size;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// The span of one decimal literal starting at begin: sign, digits, point, digits, and an
// exponent only when digits follow its letter. Empty when no digit is found.
struct Literal {
  std::size_t end = 0;
  bool hasDigits = false;
  std::size_t exponentAt = 0; // position of the exponent letter, or end when none
};

Literal ScanLiteral(std::string_view text, std::size_t begin) {
  Literal lit;
  std::size_t i = begin;
  if (text[i] == '+' || text[i] == '-') ++i;
  const std::size_t intEnd = SkipDigits(text, i);
  lit.hasDigits = intEnd > i;
  i = intEnd;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fracEnd = SkipDigits(text, i + 1);
    lit.hasDigits = lit.hasDigits || fracEnd > i + 1;
    i = fracEnd;
  }
  lit.end = i;
  lit.exponentAt = i;
  if (!lit.hasDigits || i >= text.size() || (text[i] != 'e' && text[i] != 'E')) return lit;
  std::size_t j = i + 1;
  if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
  const std::size_t expEnd = SkipDigits(text, j);
  if (expEnd > j) lit.end = expEnd;
  return lit;
}

std::size_t SignLength(std::string_view lit) {
  return !lit.empty() && (lit[0] == '+' || lit[0] == '-') ? 1 : 0;
}

// The exponent written after the letter at exponentAt, capped; 0 when there is none.
long WrittenExponent(std::string_view lit, std::size_t exponentAt) {
  if (exponentAt >= lit.size()) return 0;
  const std::string_view digits = lit.substr(exponentAt + 1);
  const std::size_t sign = SignLength(digits);
  long exponent = 0;
  for (std::size_t j = sign; j < digits.size() && exponent < kExponentCap; ++j) {
    exponent = exponent * 10 + (digits[j] - '0');
  }
  return digits[0] == '-' ? -exponent : exponent;
}

// For a literal too large or too small for a double: the power of ten of its first significant
// digit tells which.
double OutOfRangeValue(std::string_view lit, std::size_t exponentAt) {
  const std::string_view mantissa = lit.substr(0, exponentAt).substr(SignLength(lit));
  const std::size_t point = mantissa.find('.');
  long power = static_cast<long>(point == std::string_view::npos ? mantissa.size() : point) - 1;
  for (const char c : mantissa) {
    if (c == '.') continue;
    if (c != '0') {
      if (power + WrittenExponent(lit, exponentAt) < 0) return 0.0;
      const double largest = std::numeric_limits<double>::max();
      return lit[0] == '-' ? -largest : largest;
    }
    --power;
  }
  return 0.0;
}

double ParseLiteral(std::string_view lit, std::size_t exponentAt) {
  // from_chars takes no plus sign; it never looks at the locale.
  const std::size_t skip = lit[0] == '+' ? 1 : 0;
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(lit.data() + skip, lit.data() + lit.size(), value);
  if (ec == std::errc::result_out_of_range) return OutOfRangeValue(lit, exponentAt);
  if (ec != std::errc{}) return 0.0;
  return value;
}

} // namespace

std::string NumberToText(double value, double step, std::size_t width) {
  const double rounded = RoundToStep(value, step) + 0.0; // no negative zero
  if (!std::isfinite(rounded)) return std::string(kNumberOverflowText);
  if (step < 0.0 && rounded == 0.0) return {};
  std::array<char, kFixedBufferSize> buffer{};
  const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded,
                                       std::chars_format::fixed, kDecimals);
  if (ec != std::errc{}) return std::string(kNumberOverflowText);
  std::string text(buffer.data(), end);
  text.erase(text.find_last_not_of('0') + 1);
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (text == "-0") text = "0"; // a tiny negative value written as zero
  if (text.size() > width) return std::string(kNumberOverflowText);
  return text;
}

int ReadNumber(std::string_view text, std::size_t& pos, double& value) {
  value = 0.0;
  std::size_t i = pos < text.size() ? pos : text.size();
  while (i < text.size() && kNumberStart.find(text[i]) == std::string_view::npos) ++i;
  if (i >= text.size()) {
    pos = text.size();
    return 0;
  }
  const Literal lit = ScanLiteral(text, i);
  if (!lit.hasDigits) {
    pos = i + 1;
    return 1;
  }
  value = ParseLiteral(text.substr(i, lit.end - i), lit.exponentAt - i);
  pos = lit.end;
  return 1;
}

double TextToNumber(std::string_view text, std::size_t& pos) {
  double value = 0.0;
  ReadNumber(text, pos, value);
  return value;
}

} // namespace lumora
