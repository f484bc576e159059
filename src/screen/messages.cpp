#include "screen/messages.h"

#include "screen/text_screen.h"
#include "screen/text_window.h"
#include "screen/write_text.h"
#include "sound/my_beep.h"
#include "util/clock.h"

#include <algorithm>
#include <string>
#include <vector>

namespace lumora {
namespace {

constexpr int kNoticeRow = 3;
constexpr int kNoticeColumn = 2;
constexpr double kNoticeSeconds = 2.0;
constexpr int kBoxPadding = 2; // one free column on each side of the text

void Beep(TextScreen& screen, int sound) {
  if (screen.sound != nullptr) MyBeep(*screen.sound, sound);
}

void Wait(TextScreen& screen, double seconds) {
  if (screen.clock != nullptr && seconds > 0.0) screen.clock->Wait(seconds);
}

double Now(const TextScreen& screen) {
  return screen.clock != nullptr ? screen.clock->Seconds() : 0.0;
}

void Remember(TextScreen& screen, std::string_view text) {
  std::vector<std::string>& shown = screen.shownMessages;
  if (shown.size() >= kShownMessagesKept) shown.erase(shown.begin());
  std::string& line = shown.emplace_back();
  for (const char c : text) {
    if (c != '^') line.push_back(c);
  }
}

// Opens a one-row box for the text and writes it; false when no box could be opened. A text
// wider than the window is shown from its start, cut at the window's right edge.
bool OpenMessageBox(TextScreen& screen, int row, int column, std::string_view text) {
  int width = VisibleLength(text) + kBoxPadding;
  if (screen.columns > 0) {
    column = std::max(column, 1);
    width = std::min(width, screen.columns - column + 1);
  }
  if (!OpenWindow(screen, row, column, 1, std::max(width, 0))) return false;
  WriteText(screen, row, column, width, text, kStyleHighlight);
  return true;
}

} // namespace

void ShowMessage(TextScreen& screen, int sound, std::string_view text, double seconds) {
  text = BoundedText(text);
  Remember(screen, text);
  if (screen.consoleOutput) {
    ConsoleLine(screen, text);
    Beep(screen, sound);
    Wait(screen, seconds);
    return;
  }
  const int width = VisibleLength(text) + kBoxPadding;
  const bool shown = OpenMessageBox(screen, screen.rows / 2, screen.columns / 2 - width / 2, text);
  if (!shown) return Beep(screen, sound); // no box to leave standing
  // The box must reach the window before the program plays and waits, and it stays at least as
  // long as its cue sounds, played or not (no device, or its group already sounded).
  if (screen.canvas != nullptr) screen.canvas->Flush();
  const double start = Now(screen);
  Beep(screen, sound);
  const double cue = screen.sound != nullptr ? CueSeconds(*screen.sound, sound) : 0.0;
  Wait(screen, std::max(cue - (Now(screen) - start), 0.0) + seconds);
  CloseWindow(screen);
}

void ShowMessage(TextScreen& screen, int sound, const TextPair& text, double seconds) {
  ShowMessage(screen, sound, Tr(screen, text), seconds);
}

void ShowNote(TextScreen& screen, std::string_view text) {
  text = BoundedText(text);
  Remember(screen, text);
  if (screen.consoleOutput) return ConsoleLine(screen, text);
  screen.note = std::string(text);
}

void ShowNote(TextScreen& screen, const TextPair& text, std::string_view detail) {
  ShowNote(screen, std::string(Tr(screen, text)) + std::string(detail));
}

void ClearNote(TextScreen& screen) {
  screen.note.clear();
}

int ShowNotice(TextScreen& screen, std::string_view text, bool acknowledge) {
  text = BoundedText(text);
  Remember(screen, text);
  if (screen.consoleOutput) {
    // No window to acknowledge in: the console line is the notice.
    ConsoleLine(screen, text);
    Beep(screen, kSoundError);
    if (!acknowledge) Wait(screen, kNoticeSeconds);
    return 0;
  }
  const bool shown = OpenMessageBox(screen, kNoticeRow, kNoticeColumn, text);
  Beep(screen, kSoundError);
  if (acknowledge) {
    // A box that could not open cannot be acknowledged: waiting for it would hang the caller.
    if (!shown) return 0;
    screen.noticeDepth = OpenWindowCount(screen);
    screen.noticeText = std::string(text);
    return kStillRunning;
  }
  ConsoleLine(screen, text);
  if (!shown) return 0;
  Wait(screen, kNoticeSeconds);
  CloseWindow(screen);
  return 0;
}

int ShowNotice(TextScreen& screen, const TextPair& text, bool acknowledge) {
  return ShowNotice(screen, Tr(screen, text), acknowledge);
}

bool NoticeWaiting(const TextScreen& screen) {
  return screen.noticeDepth > 0 && screen.noticeDepth == OpenWindowCount(screen);
}

int AcknowledgeNotice(TextScreen& screen, int rawKey) {
  if (!NoticeWaiting(screen)) return 0;
  if (rawKey == 0) return kStillRunning;
  screen.noticeDepth = 0;
  screen.noticeText.clear();
  CloseWindow(screen);
  return 0;
}

void RewriteNotice(TextScreen& screen) {
  if (!NoticeWaiting(screen)) return;
  const TextWindow& box = screen.windows.back();
  WriteText(screen, box.row, box.column, box.columns, screen.noticeText, kStyleHighlight);
}

} // namespace lumora
