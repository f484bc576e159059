// The text writer of the character grid.
#pragma once

#include <string_view>

namespace lumora {

struct TextScreen;

// Writes text at a cell, over a field of `width` columns that is cleared first. Every "^" in
// the text switches between the style given and the highlight style and is not drawn. The
// selected flag (a list's current choice) draws style 1 in red and style 8 in the foreground
// colour and underlines the field; the marked flag underlines it too. Text is cut at the field
// and at 500 bytes. Before the window exists the text goes to the console instead.
void WriteText(TextScreen& screen, int row, int column, int width, std::string_view text, int style,
               bool selected = false, bool marked = false);

// The text as the writer takes it: up to the first zero byte, at most 500 bytes.
std::string_view BoundedText(std::string_view text);

// Number of characters a text shows: its bytes other than "^".
int VisibleLength(std::string_view text);

// The style after a "^", for a text that began in style `first`.
int SwitchStyle(int current, int first);

} // namespace lumora
