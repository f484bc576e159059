// Text windows: framed boxes over the drawing for questions, lists, menus and messages. Each
// saves the pixels and the text under it and gives them back when it closes; windows open and
// close last in, first out, at most five at a time.
#pragma once

namespace lumora {

struct TextScreen;

// Opens an empty framed window over rows x columns cells from the cell (row, column). A sixth
// window, a negative size, or pixels that cannot be saved are refused with the small-error cue.
bool OpenWindow(TextScreen& screen, int row, int column, int rows, int columns);

// Closes the top window, giving back what was under it; nothing happens with none open.
void CloseWindow(TextScreen& screen);
void CloseAllWindows(TextScreen& screen);

// Repaints every open window as an empty box after a full repaint; their owners then rewrite
// their texts.
void RedrawWindows(TextScreen& screen);

int OpenWindowCount(const TextScreen& screen);

} // namespace lumora
