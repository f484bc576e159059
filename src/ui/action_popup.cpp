#include "ui/action_popup.h"

#include <algorithm>

namespace lumora {

Cell PopupPlace(int x, int y, int count, int width, int rows, int columns) {
  const Cell under = PixelToCell(x, y);
  const int lastRow = rows - std::max(count, 1) + 1;
  const int lastColumn = columns - std::max(width, 1) + 1;
  return {std::max(std::min(under.row, lastRow), kPopupFirstRow),
          std::max(std::min(under.column, lastColumn), kPopupFirstColumn)};
}

} // namespace lumora
