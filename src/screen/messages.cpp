#include "screen/messages.h"

#include "screen/text_screen.h"
#include "screen/text_window.h"
#include "screen/write_text.h"
#include "sound/my_beep.h"
#include "util/clock.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace lumora {
namespace {

constexpr int kNoticeRow = 3;
constexpr int kNoticeColumn = 2;
constexpr double kNoticeSeconds = 2.0;
constexpr int kBoxPadding = 2; // one free column on each side of the text
// Stands for the start of a path left out; plain dots, since the screen's 8-bit set has no
// ellipsis.
constexpr std::string_view kCutMark = "...";

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

// Where a message names a file: the text between its first pair of double (or else single)
// quotes that holds a "/", or else its first word holding one. Empty when it names none.
std::pair<std::size_t, std::size_t> PathIn(std::string_view text) {
  for (const char quote : {'"', '\''}) {
    const std::size_t open = text.find(quote);
    const std::size_t close = open == std::string_view::npos ? open : text.find(quote, open + 1);
    if (close != std::string_view::npos &&
        text.substr(open + 1, close - open - 1).find('/') != std::string_view::npos) {
      return {open + 1, close - open - 1};
    }
  }
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return {0, 0};
  const std::size_t space = text.rfind(' ', slash);
  const std::size_t start = space == std::string_view::npos ? 0 : space + 1;
  const std::size_t end = std::min(text.find(' ', slash), text.size());
  return {start, end - start};
}

} // namespace

std::string FitMessage(std::string_view text, int room) {
  const int excess = VisibleLength(text) - std::max(room, 0);
  if (excess <= 0) return std::string(text);
  const auto [start, length] = PathIn(text);
  const std::string_view path = text.substr(start, length);
  const int keep = static_cast<int>(path.size()) - excess - static_cast<int>(kCutMark.size());
  if (keep <= 0) return std::string(text); // no path to shorten, or it is all that is too long
  std::string_view tail = path.substr(path.size() - static_cast<std::size_t>(keep));
  // Begin at a directory's name, not in the middle of one, when a separator is left.
  const std::size_t slash = tail.find('/');
  if (slash != std::string_view::npos && slash + 1 < tail.size()) tail.remove_prefix(slash);
  std::string fitted(text.substr(0, start));
  fitted += kCutMark;
  fitted += tail;
  fitted += text.substr(start + length);
  return fitted;
}

namespace {

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

namespace {

void ShowMessageBox(TextScreen& screen, int sound, std::string_view text, double seconds) {
  Remember(screen, text);
  if (screen.consoleOutput) {
    ConsoleLine(screen, text);
    Beep(screen, sound);
    Wait(screen, seconds);
    return;
  }
  const std::string fitted = FitMessage(text, screen.columns - kBoxPadding);
  const int width = VisibleLength(fitted) + kBoxPadding;
  const bool shown =
      OpenMessageBox(screen, screen.rows / 2, screen.columns / 2 - width / 2, fitted);
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

} // namespace

// Telling that memory ran out needs memory too: when even that fails the sound alone is the
// message, no box is left standing, and the caller carries on with what it was undoing.
void ShowMessage(TextScreen& screen, int sound, std::string_view text, double seconds) {
  text = BoundedText(text);
  const int windows = OpenWindowCount(screen);
  try {
    ShowMessageBox(screen, sound, text, seconds);
  } catch (const std::bad_alloc&) {
    try {
      while (OpenWindowCount(screen) > windows) CloseWindow(screen);
    } catch (const std::bad_alloc&) {
      // Not even wiped: the box goes, and the next repaint covers its place.
      screen.windows.erase(screen.windows.begin() + windows, screen.windows.end());
    }
    Beep(screen, sound);
  }
}

void ShowMessage(TextScreen& screen, int sound, const TextPair& text, double seconds) {
  ShowMessage(screen, sound, Tr(screen, text), seconds);
}

void ShowNote(TextScreen& screen, std::string_view text) {
  text = BoundedText(text);
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
  const std::string fitted = FitMessage(text, screen.columns - kNoticeColumn + 1 - kBoxPadding);
  const bool shown = OpenMessageBox(screen, kNoticeRow, kNoticeColumn, fitted);
  Beep(screen, kSoundError);
  if (acknowledge) {
    // A box that could not open cannot be acknowledged: waiting for it would hang the caller.
    if (!shown) return 0;
    screen.noticeDepth = OpenWindowCount(screen);
    screen.noticeText = fitted;
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
