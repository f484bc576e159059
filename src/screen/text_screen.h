// The character grid of the window and the state of its text: the text mirror, the stack of
// open text windows, the remembered prompt line and the console output flag.
//
// Rows and columns count from 1 at the top left. A cell is 10 pixels wide and 16 high; rows 1
// and 2 are the message band at the top, the drawing area lies below. The grid keeps a mirror of
// the character shown in every cell (a space for none), so the screen can be read as text
// without looking at pixels; closing a window restores the mirror as it restores the pixels.
#pragma once

#include "screen/prompt_line.h"
#include "util/codes.h"
#include "util/text_pair.h"
#include "view/canvas.h"

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

class Clock;
struct SoundState;

inline constexpr int kCellWidth = 10;
inline constexpr int kCellHeight = 16;
inline constexpr int kMessageRows = 2;
inline constexpr int kMessageBandHeight = kMessageRows * kCellHeight;
inline constexpr int kMaxWindows = 5;
inline constexpr int kMaxTextBytes = 500;
// Rows and columns far beyond any window are held here, so pixel arithmetic cannot overflow.
inline constexpr int kCellLimit = 100000;
inline constexpr std::size_t kShownMessagesKept = 32;

// Text styles; the numbers are also the colours they are drawn in on the window fill.
inline constexpr int kStyleNormal = 1;
inline constexpr int kStyleHighlight = 5;
inline constexpr int kStyleDimmed = 8;

struct Cell {
  int row = 0;
  int column = 0;
  friend constexpr bool operator==(const Cell&, const Cell&) = default;
};

// The cells of a rectangle of the grid, as the mirror saw them.
struct MirrorBlock {
  int row = 0;
  int column = 0;
  int rows = 0;
  int columns = 0;
  std::vector<std::string> text; // one string per row, `columns` bytes each
};

struct TextWindow {
  int row = 0;
  int column = 0;
  int rows = 0;
  int columns = 0;
  PixelBlock pixels;
  bool hasPixels = false;
  MirrorBlock mirror;
  bool cursorShown = true; // the flag in force when the window opened
};

struct TextScreen {
  // Services, not owned. Without a canvas only the mirror is kept; without a sound state the
  // cues are silent; without a clock messages do not wait.
  Canvas* canvas = nullptr;
  SoundState* sound = nullptr;
  Clock* clock = nullptr;
  const Language* language = nullptr; // the program's language flag; none means English
  bool* cursorShown = nullptr;        // the drawing cursor is hidden while windows are open
  std::ostream* console = &std::cout;
  std::ostream* log = nullptr; // the diagnostic log, while one is open

  // Set until the window exists: texts go to the console instead of the grid.
  bool consoleOutput = true;

  int widthPixels = 0;
  int heightPixels = 0;
  int columns = 0;
  int rows = 0;
  std::vector<std::string> mirror; // rows x columns bytes

  std::vector<TextWindow> windows; // bottom first
  int noticeDepth = 0;    // the window count when a notice began to wait for its key; 0 = none
  std::string noticeText; // what that notice says, written again after a full repaint

  // The texts of the latest message boxes and notices (without the "^" marks), newest last, so
  // that the event-file player can tell what was shown; its owner clears it.
  std::vector<std::string> shownMessages;
  PromptLineMemory promptLine;
  // What the last command did (a save, a print, a new scale), shown after the prompt until the
  // next key or click.
  std::string note;
};

// Sizes the grid for a window of the given pixels (at most 16384 a side) and clears the mirror.
void ResizeGrid(TextScreen& screen, int widthPixels, int heightPixels);

// Columns - 2: the width of the message rows and message boxes.
int MessageWidth(const TextScreen& screen);
// Rows - 3: the rows that menus and lists may use.
int ListHeight(const TextScreen& screen);

// The cell under a window pixel (0 0 = top left); pixels left of or above the window give
// column or row 0 or less.
Cell PixelToCell(int x, int y);

// The mirror: a row as text (empty outside the grid), and a whole cell rectangle.
std::string_view MirrorRow(const TextScreen& screen, int row);
void MirrorPut(TextScreen& screen, int row, int column, std::string_view text);
MirrorBlock MirrorSave(const TextScreen& screen, int row, int column, int rows, int columns);
void MirrorRestore(TextScreen& screen, const MirrorBlock& block);
void ClearMirror(TextScreen& screen);

// Pixels of cells on the canvas (origin at the lower left, y up).
PixelRect CellPixels(const TextScreen& screen, int row, int column, int rows, int columns);
// Canvas y of the baseline of a row's glyphs.
int RowBaseline(const TextScreen& screen, int row);

// Colours of the text area: the window fill is the opposite of the sheet.
Background WindowBackground(const TextScreen& screen);
Rgb WindowFill(const TextScreen& screen);

Language CurrentLanguage(const TextScreen& screen);
std::string_view Tr(const TextScreen& screen, const TextPair& text);

// One console line (and the same line in the diagnostic log), the "^" marks left out.
void ConsoleLine(TextScreen& screen, std::string_view text);

} // namespace lumora
