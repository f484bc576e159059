// Reading of the program's own text files (setup, fonts): bounded lines, numbers found
// anywhere in a line, and the open-failure message.
#pragma once

#include "util/text_pair.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// Longest line kept; the rest of a longer line is dropped.
inline constexpr std::size_t kMaxLineLength = 99;
// A setup or font file larger than this is surely not one; only its beginning is read.
inline constexpr std::size_t kMaxTextFileBytes = 4u << 20;

// Reads at most kMaxTextFileBytes of a file. False when it cannot be opened.
bool ReadTextFile(const std::string& path, std::string& content);

// Lines end at a line feed; carriage returns are dropped; each line is cut at kMaxLineLength.
std::vector<std::string> SplitLines(std::string_view content);

// True for a line of blanks only (or no characters).
bool IsBlankLine(std::string_view line);

// Numbers anywhere in a line: each starts at the next character out of "+-.0123456789" and
// runs as far as it reads as a decimal number. A start character without digits reads as 0.
class NumberScanner {
public:
  explicit NumberScanner(std::string_view text, std::size_t pos = 0) : text_(text), pos_(pos) {}
  // False when no start character is left; value is then 0.
  bool Next(double& value);
  // The next number, 0 when there is none.
  double Next();
  std::size_t Position() const { return pos_; }

private:
  std::string_view text_;
  std::size_t pos_;
};

// Truncation toward zero that never overflows: NaN gives 0, huge values stop at the int range.
int TruncToInt(double value);
// value rounded down after adding 0.001, so that 0.3 * 10 still gives 3.
int CodeOf(double value);

// The file-open routine's failure text: the path between double quotes.
std::string OpenFailureMessage(std::string_view path, Language language);

} // namespace lumora
