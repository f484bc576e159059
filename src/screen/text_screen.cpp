#include "screen/text_screen.h"

#include "util/latin1.h"

#include <algorithm>
#include <string>

namespace lumora {
namespace {

// Glyphs sit 4 pixels above the bottom of their cell, so descenders stay inside it and the
// line under a selected field (1 pixel above the bottom) does not touch them.
constexpr int kBaselineAboveCellBottom = 4;
constexpr char kBlank = ' ';
constexpr char kStyleMark = '^';
constexpr int kLargestSide = 16384; // no window is larger; keeps the mirror a sane size

int FloorDiv(int value, int divisor) {
  const int quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

} // namespace

void ResizeGrid(TextScreen& screen, int widthPixels, int heightPixels) {
  screen.widthPixels = std::clamp(widthPixels, 0, kLargestSide);
  screen.heightPixels = std::clamp(heightPixels, 0, kLargestSide);
  screen.columns = screen.widthPixels / kCellWidth;
  screen.rows = screen.heightPixels / kCellHeight;
  ClearMirror(screen);
}

int MessageWidth(const TextScreen& screen) {
  return std::max(screen.columns - 2, 0);
}
int ListHeight(const TextScreen& screen) {
  return std::max(screen.rows - 3, 0);
}

Cell PixelToCell(int x, int y) {
  // Rounding down, not towards zero: a pixel just left of the window is not in column 1.
  return {FloorDiv(y, kCellHeight) + 1, FloorDiv(x, kCellWidth) + 1};
}

std::string_view MirrorRow(const TextScreen& screen, int row) {
  if (row < 1 || row > static_cast<int>(screen.mirror.size())) return {};
  return screen.mirror[static_cast<std::size_t>(row - 1)];
}

void MirrorPut(TextScreen& screen, int row, int column, std::string_view text) {
  if (row < 1 || row > static_cast<int>(screen.mirror.size())) return;
  std::string& line = screen.mirror[static_cast<std::size_t>(row - 1)];
  const int size = static_cast<int>(line.size());
  for (int i = 0; i < static_cast<int>(text.size()); ++i) {
    const int c = column + i;
    if (c >= 1 && c <= size)
      line[static_cast<std::size_t>(c - 1)] = text[static_cast<std::size_t>(i)];
  }
}

MirrorBlock MirrorSave(const TextScreen& screen, int row, int column, int rows, int columns) {
  MirrorBlock block{row, column, std::max(rows, 0), std::max(columns, 0), {}};
  for (int r = 0; r < block.rows; ++r) {
    const std::string_view line = MirrorRow(screen, row + r);
    std::string saved(static_cast<std::size_t>(block.columns), kBlank);
    for (int c = 0; c < block.columns; ++c) {
      const int at = column + c;
      if (at >= 1 && at <= static_cast<int>(line.size())) {
        saved[static_cast<std::size_t>(c)] = line[static_cast<std::size_t>(at - 1)];
      }
    }
    block.text.push_back(std::move(saved));
  }
  return block;
}

void MirrorRestore(TextScreen& screen, const MirrorBlock& block) {
  for (int r = 0; r < static_cast<int>(block.text.size()); ++r) {
    MirrorPut(screen, block.row + r, block.column, block.text[static_cast<std::size_t>(r)]);
  }
}

void ClearMirror(TextScreen& screen) {
  screen.mirror.assign(static_cast<std::size_t>(screen.rows),
                       std::string(static_cast<std::size_t>(screen.columns), kBlank));
}

PixelRect CellPixels(const TextScreen& screen, int row, int column, int rows, int columns) {
  const int top = (row - 1) * kCellHeight;
  const int height = rows * kCellHeight;
  return {(column - 1) * kCellWidth, screen.heightPixels - top - height, columns * kCellWidth,
          height};
}

int RowBaseline(const TextScreen& screen, int row) {
  return screen.heightPixels - row * kCellHeight + kBaselineAboveCellBottom;
}

Background WindowBackground(const TextScreen& screen) {
  const Background sheet =
      screen.canvas != nullptr ? screen.canvas->GetBackground() : Background::kLight;
  return sheet == Background::kLight ? Background::kDark : Background::kLight;
}

Rgb WindowFill(const TextScreen& screen) {
  return BackgroundColour(WindowBackground(screen));
}

Language CurrentLanguage(const TextScreen& screen) {
  return screen.language != nullptr ? *screen.language : Language::kEnglish;
}

std::string_view Tr(const TextScreen& screen, const TextPair& text) {
  return text.In(CurrentLanguage(screen));
}

void ConsoleLine(TextScreen& screen, std::string_view text) {
  std::string line;
  for (const char c : text) {
    if (c != kStyleMark) line.push_back(c);
  }
  // The console of a Linux desktop reads UTF-8; the log keeps the program's own bytes.
  if (screen.console != nullptr) *screen.console << Latin1ToUtf8(line) << '\n' << std::flush;
  if (screen.log != nullptr) *screen.log << line << '\n' << std::flush;
}

} // namespace lumora
