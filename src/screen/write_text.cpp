#include "screen/write_text.h"

#include "screen/text_screen.h"
#include "view/canvas.h"

#include <algorithm>
#include <string>

namespace lumora {
namespace {

constexpr char kStyleMark = '^';
constexpr int kGlyphInset = 1; // an 8-pixel glyph centred in its 10-pixel cell
constexpr int kUnderlineAboveCellBottom = 1;
constexpr int kRed = 5;
constexpr int kLastStyle = 8;

Rgb StyleColour(const TextScreen& screen, int style, bool selected) {
  if (selected && style == kStyleNormal) style = kRed;
  if (selected && style == kStyleDimmed) style = kStyleNormal;
  if (style < kStyleNormal || style > kLastStyle) style = kStyleNormal;
  return ResolvePenColour(style, WindowBackground(screen)).rgb;
}

void DrawPiece(TextScreen& screen, int row, int column, std::string_view piece, int style,
               bool selected) {
  MirrorPut(screen, row, column, piece);
  if (screen.canvas == nullptr) return;
  const int x = (column - 1) * kCellWidth + kGlyphInset;
  screen.canvas->DrawGlyphs(x, RowBaseline(screen, row), piece,
                            StyleColour(screen, style, selected));
}

} // namespace

std::string_view BoundedText(std::string_view text) {
  text = text.substr(0, std::min(text.find('\0'), text.size()));
  return text.substr(0, std::min<std::size_t>(text.size(), kMaxTextBytes));
}

int VisibleLength(std::string_view text) {
  text = BoundedText(text);
  return static_cast<int>(
      text.size() - static_cast<std::size_t>(std::count(text.begin(), text.end(), kStyleMark)));
}

int SwitchStyle(int current, int first) {
  if (current == kStyleNormal || current == kStyleDimmed) return kStyleHighlight;
  if (current != kStyleHighlight) return current;
  // Back to where the text began: a dimmed row stays dimmed after a highlighted word.
  return first == kStyleDimmed ? kStyleDimmed : kStyleNormal;
}

void WriteText(TextScreen& screen, int row, int column, int width, std::string_view text, int style,
               bool selected, bool marked) {
  if (screen.consoleOutput) {
    ConsoleLine(screen, BoundedText(text));
    return;
  }
  text = BoundedText(text);
  row = std::clamp(row, -kCellLimit, kCellLimit);
  column = std::clamp(column, -kCellLimit, kCellLimit);
  width = std::clamp(width, 0, kMaxTextBytes);

  MirrorPut(screen, row, column, std::string(static_cast<std::size_t>(width), ' '));
  if (screen.canvas != nullptr) {
    screen.canvas->FillRect(CellPixels(screen, row, column, 1, width), WindowFill(screen));
  }

  int at = column;
  int remaining = width;
  int current = style;
  std::size_t start = 0;
  while (true) {
    const std::size_t mark = std::min(text.find(kStyleMark, start), text.size());
    const std::string_view piece = text.substr(start, mark - start);
    const int shown = std::min(static_cast<int>(piece.size()), std::max(remaining, 0));
    if (shown > 0)
      DrawPiece(screen, row, at, piece.substr(0, static_cast<std::size_t>(shown)), current,
                selected);
    at += static_cast<int>(piece.size());
    remaining -= static_cast<int>(piece.size());
    if (mark == text.size()) break;
    current = SwitchStyle(current, style);
    start = mark + 1;
  }

  if ((selected || marked) && width > 0 && screen.canvas != nullptr) {
    PixelRect line = CellPixels(screen, row, column, 1, width);
    line.y += kUnderlineAboveCellBottom;
    line.height = 1;
    screen.canvas->FillRect(line, StyleColour(screen, style, selected));
  }
}

} // namespace lumora
