#include "ui/ask_str.h"

#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "screen/text_screen.h"
#include "screen/write_text.h"
#include "sound/my_beep.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int kPromptRow = 1;
constexpr int kStatusRow = 2;
constexpr int kBackVariant = 4; // the action popup offers "back"
constexpr int kFirstTyped = 32;
constexpr int kLastTyped = 249;
constexpr char kStyleMark = '^'; // reserved for highlighting: never typed into a text
// The snap and grid keys have meanings of their own in an entry.
constexpr int kCodeF11 = Plain(kKeyF11);
constexpr int kCodeCtrlF11 = Ctrl(kKeyF11);
constexpr int kCodeF12 = Plain(kKeyF12);
constexpr int kCodeCtrlF12 = Ctrl(kKeyF12);

std::string PromptText(const Control& control, const EntryState& entry) {
  const std::size_t index = LanguageIndex(control.Lang());
  return entry.title[index] + entry.prompt[index];
}

std::size_t Capacity(std::size_t size) {
  return size > 0 ? size - 1 : 0;
}

int Length(const std::string& buffer) {
  return static_cast<int>(buffer.size());
}

// Where the field lies in the current language: after the prompt, over what is left of width.
void PlaceField(const Control& control, EntryState& entry) {
  int width = entry.promptWidth;
  if (width <= 0) width = MessageWidth(control.screen);
  const int promptLength = entry.listMode ? 0 : VisibleLength(PromptText(control, entry));
  entry.column = entry.promptColumn + promptLength;
  entry.width = std::max(width - promptLength, 1);
}

void ShowPrompt(Control& control, EntryState& entry) {
  if (entry.row == kPromptRow) {
    const std::size_t en = LanguageIndex(Language::kEnglish);
    const std::size_t fi = LanguageIndex(Language::kFinnish);
    const PromptPlace place{entry.row, entry.promptColumn, entry.promptWidth};
    SetPrompt(control, {entry.title[en], entry.title[fi]}, {entry.prompt[en], entry.prompt[fi]},
              place);
  } else if (entry.row == kStatusRow) {
    WriteText(control.screen, entry.row, entry.promptColumn,
              entry.promptWidth > 0 ? entry.promptWidth : MessageWidth(control.screen),
              PromptText(control, entry), kStyleDimmed);
  }
  PlaceField(control, entry);
}

// The text in its field, scrolled so that the cursor shows; the cursor cell is underlined, red
// in insert mode. A plain field (on return) has no cursor.
void DrawField(Control& control, PromptState& prompts, const std::string& buffer, bool plain) {
  EntryState& entry = prompts.entry;
  entry.cursor = std::clamp(entry.cursor, 0, Length(buffer));
  if (entry.cursor < entry.offset) entry.offset = entry.cursor;
  if (entry.cursor - entry.offset >= entry.width) entry.offset = entry.cursor - entry.width + 1;
  entry.offset = std::clamp(entry.offset, 0, Length(buffer));
  const std::string shown =
      buffer.substr(static_cast<std::size_t>(entry.offset), static_cast<std::size_t>(entry.width));
  WriteText(control.screen, entry.row, entry.column, entry.width, shown, kStyleNormal);
  if (!plain) {
    const char under =
        entry.cursor < Length(buffer) ? buffer[static_cast<std::size_t>(entry.cursor)] : ' ';
    WriteText(control.screen, entry.row, entry.column + entry.cursor - entry.offset, 1,
              std::string(1, under), kStyleNormal, prompts.insertMode, !prompts.insertMode);
  }
  if (plain) return;
  MouseArrows& arrows = control.state.arrows;
  arrows = {};
  arrows.centreX = (entry.column + entry.cursor - entry.offset - 1) * kCellWidth + kCellWidth / 2;
  arrows.centreY = (entry.row - 1) * kCellHeight + kCellHeight / 2;
  arrows.halfWidth = kCellWidth / 2;
  if (entry.listMode) arrows.halfHeight = kCellHeight / 2;
}

int Open(Control& control, PromptState& prompts, const AskStrArgs& args, std::string& buffer) {
  EntryState& entry = prompts.entry;
  CommandState& state = control.state;
  if (entry.open) {
    // One entry at a time: the new one takes over and gives back what the first one took.
    if (control.screen.console != nullptr) *control.screen.console << kAlreadyInAskStr;
  } else {
    entry.saved = SavePromptState(state);
  }
  entry.open = true;
  entry.row = args.row;
  entry.promptColumn = args.column;
  entry.promptWidth = args.width;
  const std::size_t en = LanguageIndex(Language::kEnglish);
  const std::size_t fi = LanguageIndex(Language::kFinnish);
  entry.title[en] = args.title.en;
  entry.title[fi] = args.title.fi;
  entry.prompt[en] = args.prompt.en;
  entry.prompt[fi] = args.prompt.fi;
  entry.listMode = args.cursor >= 0;
  entry.firstRow = args.firstRow;
  entry.lastRow = args.lastRow;
  entry.offset = 0;
  entry.untouched = true;
  entry.buffer = &buffer;
  state.actionVariant = state.backAllowed ? kBackVariant : 0;
  // The proposal may be the buffer itself (an entry that edits its caller's text in place).
  const std::string initial(
      args.initial.substr(0, std::min(args.initial.size(), Capacity(args.size))));
  buffer = initial;
  if (entry.listMode) {
    entry.cursor = std::min(args.cursor, Length(buffer));
    if (args.overwrite) prompts.insertMode = false;
  } else {
    entry.cursor = 0;
    prompts.insertMode = false;
  }
  prompts.answers.ResetBrowsing();
  state.inputMode = kModeTextEntry;
  state.cursorShown = false;
  state.promptRow = args.row;
  ShowPrompt(control, entry);
  DrawField(control, prompts, buffer, false);
  return kStillRunning;
}

int Close(Control& control, PromptState& prompts, const std::string& buffer, int result) {
  DrawField(control, prompts, buffer, true);
  prompts.entry.open = false;
  RestorePromptState(control.state, prompts.entry.saved);
  return result;
}

void Refuse(Control& control, int cue, const TextPair& text) {
  Message(control, cue, text);
}

void Accept(Control& control, PromptState& prompts, const std::string& buffer) {
  Beep(control, kSoundKey);
  DrawField(control, prompts, buffer, false);
}

// The first character typed into an untouched entry replaces the whole proposal.
void Type(Control& control, PromptState& prompts, const AskStrArgs& args, std::string& buffer,
          char typed, bool first) {
  EntryState& entry = prompts.entry;
  if (first && !entry.listMode && entry.cursor == 0) buffer.clear();
  const bool atEnd = entry.cursor >= Length(buffer);
  const bool full = buffer.size() >= Capacity(args.size);
  if (atEnd || prompts.insertMode) {
    if (full) return Refuse(control, kSoundError, kOverWrite);
    buffer.insert(static_cast<std::size_t>(entry.cursor), 1, typed);
  } else {
    buffer[static_cast<std::size_t>(entry.cursor)] = typed;
  }
  ++entry.cursor;
  Accept(control, prompts, buffer);
}

// Del: the character under the cursor goes. At the end of the text a list row hands the key to
// its caller.
int Delete(Control& control, PromptState& prompts, std::string& buffer) {
  EntryState& entry = prompts.entry;
  if (entry.cursor < Length(buffer)) {
    buffer.erase(static_cast<std::size_t>(entry.cursor), 1);
    Accept(control, prompts, buffer);
    return kStillRunning;
  }
  if (entry.listMode) return Close(control, prompts, buffer, kEntryJoin);
  Refuse(control, kSoundSmallError, kNothingToDelete);
  return kStillRunning;
}

int Backspace(Control& control, PromptState& prompts, std::string& buffer) {
  EntryState& entry = prompts.entry;
  if (entry.cursor > 0) {
    --entry.cursor;
    return Delete(control, prompts, buffer);
  }
  if (entry.listMode) return Close(control, prompts, buffer, kEntryJoin);
  if (buffer.empty() && control.state.backAllowed) {
    return Close(control, prompts, buffer, kEntryBack);
  }
  return Delete(control, prompts, buffer);
}

void Recall(Control& control, PromptState& prompts, const AskStrArgs& args, std::string& buffer,
            bool older) {
  std::string text = buffer;
  const bool found = older ? prompts.answers.Previous(text) : prompts.answers.Next(text);
  if (!found) return Refuse(control, kSoundError, kNoTextsInMemory);
  buffer = text.substr(0, std::min(text.size(), Capacity(args.size)));
  prompts.entry.cursor = Length(buffer);
  Accept(control, prompts, buffer);
}

int Leave(Control& control, PromptState& prompts, const std::string& buffer, bool allowed,
          int result) {
  if (!allowed) return kStillRunning;
  Beep(control, kSoundKey);
  return Close(control, prompts, buffer, result);
}

int Edit(Control& control, PromptState& prompts, std::string& buffer) {
  const InputRecord& in = control.In();
  EntryState& entry = prompts.entry;
  // The mouse makes the repeat count; far beyond any text or list it means no more.
  const int repeat = std::clamp(in.repeat, 1, kCellLimit);
  switch (in.code) {
  case kCodeLeft:
    entry.cursor = std::max(entry.cursor - repeat, 0);
    break;
  case kCodeRight:
    entry.cursor = std::min(entry.cursor + repeat, Length(buffer));
    break;
  case kCodeHome:
  case kCodeCtrlLeft:
    entry.cursor = 0;
    break;
  case kCodeEnd:
  case kCodeCtrlRight:
    entry.cursor = Length(buffer);
    break;
  case kCodeInsert:
    prompts.insertMode = !prompts.insertMode;
    break;
  case kCodeF11:
    buffer.erase(static_cast<std::size_t>(entry.cursor));
    break;
  case kCodeCtrlF11:
    buffer.clear();
    entry.cursor = 0;
    break;
  default:
    return 0;
  }
  Accept(control, prompts, buffer);
  return 1;
}

int Step(Control& control, PromptState& prompts, const AskStrArgs& args, std::string& buffer) {
  const InputRecord& in = control.In();
  EntryState& entry = prompts.entry;
  const bool first = entry.untouched;
  // Only a real key touches the entry; the mouse moving the cursor over it does not.
  if (in.rawKey != kRawNone) entry.untouched = false;
  if (in.code == 0 && in.rawKey >= kFirstTyped && in.rawKey <= kLastTyped &&
      in.rawKey != kStyleMark) {
    Type(control, prompts, args, buffer, static_cast<char>(in.rawKey), first);
    return kStillRunning;
  }
  if (Edit(control, prompts, buffer) != 0) return kStillRunning;
  switch (in.code) {
  case kCodeDelete:
    return Delete(control, prompts, buffer);
  case kCodeBackspace:
    return Backspace(control, prompts, buffer);
  case kCodeF12:
    Recall(control, prompts, args, buffer, true);
    return kStillRunning;
  case kCodeCtrlF12:
    Recall(control, prompts, args, buffer, false);
    return kStillRunning;
  case kCodeUp:
  case kCodeCtrlUp:
    return Leave(control, prompts, buffer, entry.listMode && !entry.firstRow, kEntryUp);
  case kCodeDown:
  case kCodeCtrlDown:
    return Leave(control, prompts, buffer, entry.listMode && !entry.lastRow, kEntryDown);
  case kCodeCtrlEnter:
    if (!args.ctrlEnterAccepts) {
      if (control.state.backAllowed) return Close(control, prompts, buffer, kEntryBack);
      break;
    }
    [[fallthrough]];
  case kCodeTab:
  case kCodeEnter:
    prompts.answers.Store(buffer);
    Beep(control, kSoundKey);
    return Close(control, prompts, buffer, kEntryAccepted);
  case kCodeEsc:
    return Close(control, prompts, buffer, kEntryEsc);
  case kContinueTick:
    // The refresh of the message rows may have written over the field.
    // Row 1 belongs to the prompt line, which keeps itself; row 2 is written over by the status
    // line and so is written again.
    control.state.continueFlag = false;
    if (entry.row == kStatusRow) ShowPrompt(control, entry);
    PlaceField(control, entry);
    DrawField(control, prompts, buffer, false);
    return kStillRunning;
  default:
    break;
  }
  if (in.rawKey != kRawNone) Refuse(control, kSoundSmallError, kNotInUse);
  return kStillRunning;
}

} // namespace

int AskStr(Control& control, PromptState& prompts, const AskStrArgs& args, std::string& buffer) {
  EntryState& entry = prompts.entry;
  const bool same = entry.open && entry.row == args.row && entry.promptColumn == args.column &&
                    entry.buffer == &buffer;
  if (!same) return Open(control, prompts, args, buffer);
  return Step(control, prompts, args, buffer);
}

} // namespace lumora
