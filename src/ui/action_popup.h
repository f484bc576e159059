// Where the action popup opens: at the character cell under the mouse, moved so that the whole
// list stays below the menu bar, clear of the left frame and inside the window.
#pragma once

#include "screen/text_screen.h"

namespace lumora {

inline constexpr int kPopupFirstRow = 3;
inline constexpr int kPopupFirstColumn = 2;

// The first cell of a list of `count` rows and `width` columns opened at window pixel (x, y)
// (0 0 = top left) on a grid of `rows` x `columns`. Where the window is too small for the
// list, its start stays below the bar and right of the frame.
Cell PopupPlace(int x, int y, int count, int width, int rows, int columns);

} // namespace lumora
