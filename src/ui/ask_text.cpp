#include "ui/ask_text.h"

#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "screen/text_screen.h"
#include "screen/text_window.h"
#include "screen/write_text.h"
#include "setup/setup.h"
#include "sound/my_beep.h"
#include "ui/menu_bar.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int kStatusRow = 2;
constexpr int kWindowRow = 3;
constexpr int kWindowColumn = 2;
constexpr int kLastSplitLine = kMaxTextLines - 1;
constexpr int kFrameRows = 3;    // message rows and the frame below the window
constexpr int kFrameColumns = 2; // the frame beside it

std::size_t LineCapacity() {
  return kTextLineSize - 1;
}

// One line is typed on the status row in the place of the coordinate fields, so the menu
// labels stay and the status refresh after every pass leaves the entry standing.
int SingleLine(Control& control, PromptState& prompts, const AskTextArgs& args,
               std::string& buffer) {
  const MenuBarLayout bar = CurrentMenuBar(control);
  AskStrArgs entry;
  entry.row = kStatusRow;
  entry.column = bar.x;
  entry.width = std::max(bar.angle - bar.x, 1);
  entry.title = args.title;
  entry.prompt = args.prompt;
  entry.size = args.size;
  entry.initial = buffer;
  const int result = AskStr(control, prompts, entry, buffer);
  if (result == kEntryAccepted && buffer.empty()) return kTextAcceptedEmpty;
  return result;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == kLineSeparator && static_cast<int>(lines.size()) < kMaxTextLines) {
      lines.emplace_back();
    } else if (lines.back().size() < LineCapacity()) {
      lines.back().push_back(c);
    }
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text.push_back(kLineSeparator);
    text += lines[i];
  }
  return text;
}

int LineCount(const TextEditorState& editor) {
  return static_cast<int>(editor.lines.size());
}

std::string& Current(TextEditorState& editor) {
  return editor.lines[static_cast<std::size_t>(editor.current)];
}

void Scroll(TextEditorState& editor) {
  if (editor.current < editor.top) editor.top = editor.current;
  if (editor.current >= editor.top + editor.rows) editor.top = editor.current - editor.rows + 1;
}

void DrawLines(Control& control, const TextEditorState& editor) {
  for (int i = 0; i < editor.rows; ++i) {
    const int line = editor.top + i;
    const std::string_view text =
        line < LineCount(editor) ? std::string_view(editor.lines[static_cast<std::size_t>(line)])
                                 : std::string_view();
    WriteText(control.screen, kWindowRow + i, kWindowColumn, editor.columns, text, kStyleNormal);
  }
}

// The entry on the current line of the window.
AskStrArgs LineArgs(const TextEditorState& editor, int cursor) {
  AskStrArgs entry;
  entry.row = kWindowRow + editor.current - editor.top;
  entry.column = kWindowColumn;
  entry.width = editor.columns;
  entry.size = kTextLineSize;
  entry.cursor = std::max(cursor, 0);
  entry.firstRow = editor.current == 0;
  entry.lastRow = editor.current == LineCount(editor) - 1;
  return entry;
}

// Opens the entry on the current line with the cursor where it is asked.
int EditLine(Control& control, PromptState& prompts, int cursor) {
  TextEditorState& editor = prompts.editor;
  Scroll(editor);
  DrawLines(control, editor);
  AskStrArgs entry = LineArgs(editor, cursor);
  const std::string initial = Current(editor);
  entry.initial = initial;
  return AskStr(control, prompts, entry, editor.editLine);
}

int Finish(Control& control, PromptState& prompts, int result) {
  TextEditorState& editor = prompts.editor;
  if (editor.windowOpen) CloseWindow(control.screen);
  editor = {};
  return result;
}

int Accept(Control& control, PromptState& prompts, const AskTextArgs& args, std::string& buffer) {
  const std::string text = JoinLines(prompts.editor.lines);
  if (args.size == 0 || text.size() > args.size - 1) {
    // Nothing of a text is dropped: it stays open to be shortened.
    Message(control, kSoundError, kOverWrite);
    return EditLine(control, prompts, prompts.entry.cursor);
  }
  buffer = text;
  const bool empty = text.empty() || text.front() == kLineSeparator;
  return Finish(control, prompts, empty ? kTextAcceptedEmpty : kEntryAccepted);
}

// Joins line `into` and the line after it; false when the two do not fit one line.
bool JoinAt(Control& control, TextEditorState& editor, int into) {
  std::string& first = editor.lines[static_cast<std::size_t>(into)];
  const std::string& second = editor.lines[static_cast<std::size_t>(into + 1)];
  if (first.size() + second.size() > LineCapacity()) {
    Message(control, kSoundError, kOverWrite);
    return false;
  }
  first += second;
  editor.lines.erase(editor.lines.begin() + into + 1);
  return true;
}

int Join(Control& control, PromptState& prompts, int code) {
  TextEditorState& editor = prompts.editor;
  const int cursor = prompts.entry.cursor;
  if (code == kCodeBackspace) {
    if (editor.current == 0) {
      if (LineCount(editor) == 1 && Current(editor).empty() && control.state.backAllowed) {
        return Finish(control, prompts, kEntryBack);
      }
      Message(control, kSoundSmallError, kNothingToDelete);
      return EditLine(control, prompts, cursor);
    }
    const int end =
        static_cast<int>(editor.lines[static_cast<std::size_t>(editor.current - 1)].size());
    if (!JoinAt(control, editor, editor.current - 1)) return EditLine(control, prompts, cursor);
    --editor.current;
    return EditLine(control, prompts, end);
  }
  if (editor.current + 1 >= LineCount(editor)) {
    Message(control, kSoundSmallError, kNothingToDelete);
  } else {
    JoinAt(control, editor, editor.current);
  }
  return EditLine(control, prompts, cursor);
}

int Enter(Control& control, PromptState& prompts, const AskTextArgs& args, std::string& buffer) {
  TextEditorState& editor = prompts.editor;
  const InputRecord& in = control.In();
  const bool split = in.code == kCodeEnter && in.rawKey != kRawClick && !Current(editor).empty() &&
                     editor.current < kLastSplitLine && LineCount(editor) < kMaxTextLines;
  if (!split) return Accept(control, prompts, args, buffer);
  const auto at = static_cast<std::size_t>(
      std::min<int>(prompts.entry.cursor, static_cast<int>(Current(editor).size())));
  std::string rest = Current(editor).substr(at);
  Current(editor).resize(at);
  editor.lines.insert(editor.lines.begin() + editor.current + 1, std::move(rest));
  ++editor.current;
  return EditLine(control, prompts, 0);
}

int Open(Control& control, PromptState& prompts, const AskTextArgs& args, const std::string& buffer,
         int lines, int columns) {
  TextEditorState& editor = prompts.editor;
  editor = {};
  editor.open = true;
  editor.lines = SplitLines(buffer);
  editor.rows = lines;
  editor.columns = columns;
  editor.rows = std::clamp(lines, 1, std::max(control.screen.rows - kFrameRows, 1));
  editor.columns = std::clamp(columns, 1, std::max(control.screen.columns - kFrameColumns, 1));
  if (!OpenWindow(control.screen, kWindowRow, kWindowColumn, editor.rows, editor.columns)) {
    editor = {};
    return kEntryBack;
  }
  editor.windowOpen = true;
  SetPrompt(control, args.title, args.prompt);
  editor.current = LineCount(editor) - 1;
  return EditLine(control, prompts, static_cast<int>(Current(editor).size()));
}

} // namespace

int AskText(Control& control, PromptState& prompts, const AskTextArgs& args, std::string& buffer) {
  const int lines = control.setup.textWindowLines;
  const int columns = control.setup.textWindowColumns;
  TextEditorState& editor = prompts.editor;
  if (!editor.open && (args.singleLine || lines <= 1)) {
    return SingleLine(control, prompts, args, buffer);
  }
  if (!editor.open) return Open(control, prompts, args, buffer, lines, columns);
  const int code = control.In().code;
  // A full repaint left the window empty: its lines are written again.
  if (code == kContinueTick && control.state.windowRedrawCounter > 0) {
    --control.state.windowRedrawCounter;
    DrawLines(control, editor);
  }
  const int result =
      AskStr(control, prompts, LineArgs(editor, prompts.entry.cursor), editor.editLine);
  Current(editor) = editor.editLine;
  switch (result) {
  case kStillRunning:
    return kStillRunning;
  case kEntryAccepted:
    return Enter(control, prompts, args, buffer);
  case kEntryUp:
    --editor.current;
    return EditLine(control, prompts, prompts.entry.cursor);
  case kEntryDown:
    ++editor.current;
    return EditLine(control, prompts, prompts.entry.cursor);
  case kEntryJoin:
    return Join(control, prompts, code);
  default:
    return Finish(control, prompts, result);
  }
}

} // namespace lumora
