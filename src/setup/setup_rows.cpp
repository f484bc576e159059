#include "setup/setup_rows.h"

namespace lumora {

bool ReadQuotedText(std::string_view line, std::size_t field, std::size_t& pos, std::string& text) {
  const std::size_t open = line.find('"', pos);
  if (open == std::string_view::npos) return false;
  std::size_t close = line.find('"', open + 1);
  if (close == std::string_view::npos) close = line.size();
  const std::size_t keep = field > 0 ? field - 1 : 0;
  text.assign(line.substr(open + 1, std::min(close - open - 1, keep)));
  pos = std::min(close + 1, line.size());
  return true;
}

} // namespace lumora
