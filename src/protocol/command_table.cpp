#include "protocol/command_table.h"

#include <algorithm>

namespace lumora {

void CommandTable::Add(const CommandRow& row) {
  auto same = std::find_if(rows_.begin(), rows_.end(),
                           [&](const CommandRow& r) { return r.code == row.code; });
  if (same != rows_.end()) {
    *same = row;
  } else {
    rows_.push_back(row);
  }
}

const CommandRow* CommandTable::Find(int code) const {
  auto row =
      std::find_if(rows_.begin(), rows_.end(), [&](const CommandRow& r) { return r.code == code; });
  return row != rows_.end() ? &*row : nullptr;
}

} // namespace lumora
