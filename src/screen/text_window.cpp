#include "screen/text_window.h"

#include "screen/text_screen.h"
#include "sound/my_beep.h"
#include "view/canvas.h"

#include <algorithm>
#include <string>

namespace lumora {
namespace {

// The box reaches 4 pixels beyond its cells on every side, room for the double frame.
constexpr int kBoxMargin = 4;
constexpr int kFrameGap = 2; // the inner frame lies 2 pixels in: one dark pixel between
constexpr int kFrameColour = 5;

void Refuse(TextScreen& screen) {
  if (screen.sound != nullptr) MyBeep(*screen.sound, kSoundSmallError);
}

// The box of a window in canvas pixels (lower left origin), edges included.
PixelRect BoxPixels(const TextScreen& screen, const TextWindow& window) {
  const int left = (window.column - 1) * kCellWidth - kBoxMargin;
  const int top = (window.row - 1) * kCellHeight - kBoxMargin;
  const int width = window.columns * kCellWidth + 2 * kBoxMargin + 1;
  const int height = window.rows * kCellHeight + 2 * kBoxMargin + 1;
  return {left, screen.heightPixels - top - height, width, height};
}

void Frame(Canvas& canvas, const PixelRect& r, Rgb colour) {
  if (r.width <= 0 || r.height <= 0) return;
  canvas.FillRect({r.x, r.y, r.width, 1}, colour);
  canvas.FillRect({r.x, r.y + r.height - 1, r.width, 1}, colour);
  canvas.FillRect({r.x, r.y, 1, r.height}, colour);
  canvas.FillRect({r.x + r.width - 1, r.y, 1, r.height}, colour);
}

void PaintEmptyBox(TextScreen& screen, const TextWindow& window) {
  const std::string blank(static_cast<std::size_t>(window.columns), ' ');
  for (int r = 0; r < window.rows; ++r) MirrorPut(screen, window.row + r, window.column, blank);
  if (screen.canvas == nullptr || screen.consoleOutput) return;
  const PixelRect box = BoxPixels(screen, window);
  screen.canvas->FillRect(box, WindowFill(screen));
  const Rgb red = ResolvePenColour(kFrameColour, WindowBackground(screen)).rgb;
  Frame(*screen.canvas, box, red);
  Frame(
      *screen.canvas,
      {box.x + kFrameGap, box.y + kFrameGap, box.width - 2 * kFrameGap, box.height - 2 * kFrameGap},
      red);
}

} // namespace

bool OpenWindow(TextScreen& screen, int row, int column, int rows, int columns) {
  if (static_cast<int>(screen.windows.size()) >= kMaxWindows || rows < 0 || columns < 0) {
    Refuse(screen);
    return false;
  }
  TextWindow window;
  window.row = std::clamp(row, -kCellLimit, kCellLimit);
  window.column = std::clamp(column, -kCellLimit, kCellLimit);
  window.rows = std::min(rows, kCellLimit);
  window.columns = std::min(columns, kCellLimit);
  if (screen.canvas != nullptr && !screen.consoleOutput) {
    if (!screen.canvas->ReadBlock(BoxPixels(screen, window), window.pixels)) {
      Refuse(screen);
      return false;
    }
    window.hasPixels = true;
  }
  window.mirror = MirrorSave(screen, window.row, window.column, window.rows, window.columns);
  if (screen.cursorShown != nullptr) {
    window.cursorShown = *screen.cursorShown;
    *screen.cursorShown = false; // the drawing cursor is not drawn over open windows
  }
  screen.windows.push_back(std::move(window));
  PaintEmptyBox(screen, screen.windows.back());
  return true;
}

void CloseWindow(TextScreen& screen) {
  if (screen.windows.empty()) return;
  TextWindow window = std::move(screen.windows.back());
  screen.windows.pop_back();
  if (screen.cursorShown != nullptr) *screen.cursorShown = window.cursorShown;
  if (window.hasPixels && screen.canvas != nullptr) {
    screen.canvas->WriteBlock(window.pixels);
    screen.canvas->Flush();
  }
  MirrorRestore(screen, window.mirror);
  if (screen.noticeDepth > static_cast<int>(screen.windows.size())) screen.noticeDepth = 0;
}

void CloseAllWindows(TextScreen& screen) {
  while (!screen.windows.empty()) CloseWindow(screen);
}

void RedrawWindows(TextScreen& screen) {
  for (const TextWindow& window : screen.windows) PaintEmptyBox(screen, window);
}

int OpenWindowCount(const TextScreen& screen) {
  return static_cast<int>(screen.windows.size());
}

} // namespace lumora
