// Rows of the setup's selection lists: a quoted text, then numbers, maybe a "<" default mark.
#pragma once

#include "setup/setup.h"
#include "text/line_reading.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace lumora {

// Reads the text between the next double quote (from pos) and its closing quote, keeping at
// most field - 1 characters (the field holds the terminator too). pos moves past the closing
// quote, or to the end of the line when it is missing, so numbers never come from inside the
// text. False when there is no quote.
bool ReadQuotedText(std::string_view line, std::size_t field, std::size_t& pos, std::string& text);

// Adds a row to a list unless it is full or the line holds no quoted text. fill(row, numbers)
// reads the row's numbers. Returns true when the row was added and marked with "<".
template <typename Row, typename Fill>
bool AddSetupRow(SetupList<Row>& list, std::size_t limit, std::size_t field, std::string_view line,
                 Fill fill) {
  if (list.rows.size() >= limit) return false;
  std::size_t pos = 0;
  Row row;
  if (!ReadQuotedText(line, field, pos, row.text)) return false;
  NumberScanner numbers(line, pos);
  fill(row, numbers);
  list.longest = std::max(list.longest, row.text.size());
  const bool marked = line.find('<') != std::string_view::npos;
  if (marked) list.defaultRow = static_cast<int>(list.rows.size());
  list.rows.push_back(std::move(row));
  return marked;
}

} // namespace lumora
