#include "text/line_reading.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>

namespace lumora {
namespace {

constexpr std::string_view kNumberStart = "+-.0123456789";
// The open-failure text is a fixed-size message in the file routine.
constexpr std::size_t kMaxMessageLength = 99;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Length of the decimal literal at s (sign already skipped): digits, point, digits, exponent.
std::size_t LiteralLength(std::string_view s, bool& hasDigits) {
  std::size_t i = 0;
  hasDigits = false;
  while (i < s.size() && IsDigit(s[i])) ++i, hasDigits = true;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, hasDigits = true;
  }
  if (!hasDigits) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

} // namespace

bool ReadTextFile(const std::string& path, std::string& content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  constexpr std::size_t kChunk = 1u << 16;
  content.clear();
  while (in && content.size() < kMaxTextFileBytes) {
    const std::size_t used = content.size();
    content.resize(used + kChunk);
    in.read(content.data() + used, static_cast<std::streamsize>(kChunk));
    content.resize(used + static_cast<std::size_t>(in.gcount()));
  }
  if (content.size() > kMaxTextFileBytes) content.resize(kMaxTextFileBytes);
  return true;
}

std::vector<std::string> SplitLines(std::string_view content) {
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;
  for (const char c : content) {
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      pending = false;
      continue;
    }
    pending = true;
    if (c != '\r' && line.size() < kMaxLineLength) line.push_back(c);
  }
  if (pending) lines.push_back(std::move(line));
  return lines;
}

bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool NumberScanner::Next(double& value) {
  value = 0;
  const std::size_t start = text_.find_first_of(kNumberStart, pos_);
  if (start == std::string_view::npos) {
    pos_ = text_.size();
    return false;
  }
  std::size_t body = start;
  const bool negative = text_[body] == '-';
  if (text_[body] == '+' || text_[body] == '-') ++body;
  bool hasDigits = false;
  const std::size_t length = LiteralLength(text_.substr(body), hasDigits);
  if (!hasDigits) {
    pos_ = start + 1; // a lone sign or point: reads as 0, reading goes on after it
    return true;
  }
  double magnitude = 0;
  const char* first = text_.data() + body;
  const auto result = std::from_chars(first, first + length, magnitude);
  if (result.ec == std::errc()) value = negative ? -magnitude : magnitude;
  pos_ = body + length;
  return true;
}

double NumberScanner::Next() {
  double value = 0;
  Next(value);
  return value;
}

int TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMax = std::numeric_limits<int>::max();
  constexpr double kMin = std::numeric_limits<int>::min();
  if (value >= kMax) return std::numeric_limits<int>::max();
  if (value <= kMin) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

int CodeOf(double value) {
  return TruncToInt(std::floor(value + 0.001));
}

std::string OpenFailureMessage(std::string_view path, Language language) {
  std::string text = language == Language::kEnglish ? "Opening of \"" : "\"";
  text += path;
  text += language == Language::kEnglish ? "\"-file not succeeded !"
                                         : "\"-nimisen tiedoston avaus ei onnistu !";
  if (text.size() > kMaxMessageLength) text.resize(kMaxMessageLength);
  return text;
}

} // namespace lumora
