#include "text/line_reading.h"

#include "util/number_text.h"

#include <cmath>
#include <fstream>
#include <limits>

namespace lumora {
namespace {

// The open-failure text is a fixed-size message in the file routine.
constexpr std::size_t kMaxMessageLength = 99;

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
  return ReadNumber(text_, pos_, value) != 0;
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
