#include "control/dispatch.h"

#include "commands/quit.h"
#include "control/undo_messages.h"
#include "files/recovery_journal.h"
#include "model/element_store.h"
#include "model/store_messages.h"
#include "protocol/command_table.h"
#include "protocol/texts.h"
#include "screen/messages.h"
#include "screen/text_screen.h"
#include "screen/text_window.h"
#include "sound/my_beep.h"
#include "ui/menu_bar.h"
#include "ui/status_line.h"

#include <algorithm>
#include <array>

namespace lumora {
namespace {

// Editing keys belong to the text entry while one is open, not to the functions they start.
constexpr std::array<int, 8> kEditingKeys{kCodeDelete,    kCodeSnapLine, kCodeSnapNone,
                                          kCodeHome,      kCodeEnd,      kCodeInsert,
                                          kCodeSnapPoint, kCodeGridSize};

// A function that ignores Esc must not hang the program, nor a menu that keeps answering
// with codes.
constexpr int kMaxEscRounds = 16;
constexpr int kMaxChainedCodes = 16;

constexpr std::array<Level, kLevelCount> kOfferOrder{Level::kPopup, Level::kHelp, Level::kHelpMenu,
                                                     Level::kProperty, Level::kMain};

bool WindowsOpen(const Control& control) {
  return OpenWindowCount(control.screen) > 0;
}

bool IsEditingKey(int code) {
  return std::find(kEditingKeys.begin(), kEditingKeys.end(), code) != kEditingKeys.end();
}

int FamilyOf(const Control& control, int code) {
  const CommandRow* row = control.table.Find(code);
  return row != nullptr ? row->Family() : code;
}

bool ActiveFamily(const Control& control, Level level, int family) {
  return LevelActive(control, level) && FamilyOf(control, LevelCode(control, level)) == family;
}

// A prompt on the message line owns the letters: a property key must not take the "k" of a
// Finnish yes.
bool PropertyKeysAllowed(const Control& control) {
  const int mode = control.state.inputMode;
  return mode != kModeTextEntry && mode != kModeYesNo && !WindowsOpen(control);
}

// Sends Esc to a level until it ends. The current event is kept for the rest of the pass.
void SendEsc(Control& control, Level level) {
  InputRecord& in = control.In();
  const int code = in.code;
  const int rawKey = in.rawKey;
  for (int round = 0; round < kMaxEscRounds && LevelActive(control, level); ++round) {
    DispatchInput(control, true);
    if (control.state.ended) break;
  }
  in.code = code;
  in.rawKey = rawKey;
}

void TurnIntoEsc(Control& control) {
  control.In().code = kCodeEsc;
  Beep(control, kSoundKey);
}

// Keeps one function per level, and lets the key of a running function switch it off.
void PreDispatch(Control& control) {
  const CommandRow* row = StartingRow(control, control.In().code);
  if (row == nullptr || (row->flags & kExclusive) == 0) return;
  const int family = row->Family();
  switch (row->level) {
  case Level::kPopup:
    if (LevelActive(control, Level::kPopup)) TurnIntoEsc(control);
    return;
  case Level::kHelp:
    if (ActiveFamily(control, Level::kHelpMenu, kCodeHelpMenuKey)) {
      SendEsc(control, Level::kHelpMenu);
    }
    if (ActiveFamily(control, Level::kHelp, family)) return TurnIntoEsc(control);
    SendEsc(control, Level::kHelp);
    return;
  case Level::kHelpMenu:
    if (ActiveFamily(control, Level::kMain, kCodeMainMenuKey)) SendEsc(control, Level::kMain);
    if (WindowsOpen(control) && ActiveFamily(control, Level::kProperty, kCodePropertiesMenuKey)) {
      SendEsc(control, Level::kProperty);
    }
    SendEsc(control, Level::kHelp);
    if (ActiveFamily(control, Level::kHelpMenu, family)) return TurnIntoEsc(control);
    SendEsc(control, Level::kHelpMenu);
    return;
  case Level::kProperty:
    if (ActiveFamily(control, Level::kMain, kCodeMainMenuKey)) SendEsc(control, Level::kMain);
    SendEsc(control, Level::kHelp);
    SendEsc(control, Level::kHelpMenu);
    if (ActiveFamily(control, Level::kProperty, family)) return TurnIntoEsc(control);
    SendEsc(control, Level::kProperty);
    return;
  case Level::kMain:
    SendEsc(control, Level::kHelp);
    SendEsc(control, Level::kHelpMenu);
    SendEsc(control, Level::kProperty);
    if (ActiveFamily(control, Level::kMain, family)) return TurnIntoEsc(control);
    SendEsc(control, Level::kMain);
    return;
  }
}

// Continues the level's function with the current code. While its step is running further up
// (a nested pass), the level only holds the code.
int RunLevel(Control& control, Level level) {
  std::unique_ptr<Function> function = std::move(control.Slot(level).function);
  if (function == nullptr) return kStillRunning;
  const CommandRow row = control.Slot(level).row;
  const int result = function->Step(control, row);
  LevelSlot& slot = control.Slot(level);
  if (slot.code != 0 && slot.function == nullptr) slot.function = std::move(function);
  return result;
}

int StartFunction(Control& control, const CommandRow& row, std::unique_ptr<Function> function) {
  if (function == nullptr) {
    Message(control, kSoundError, store_messages::kMemoryOverflow);
    return kFinished;
  }
  if ((row.flags & kOwnKeyCue) == 0) Beep(control, kSoundKey);
  if (row.level == Level::kMain) control.state.elementType = row.elementType;
  LevelSlot& slot = control.Slot(row.level);
  slot.function = std::move(function);
  slot.row = row;
  return RunLevel(control, row.level);
}

int OfferToLevels(Control& control, bool& taken) {
  const CommandRow* row = StartingRow(control, control.In().code);
  for (Level level : kOfferOrder) {
    if (LevelActive(control, level)) {
      taken = true;
      return RunLevel(control, level);
    }
    if (row != nullptr && row->level == level) {
      taken = true;
      return StartFunction(control, *row, row->make());
    }
  }
  taken = false;
  return kFinished;
}

void RefreshLines(Control& control) {
  RefreshPrompt(control);
  RefreshMenuBar(control);
  RefreshStatusLine(control);
  // An open entry or yes/no question redraws itself on a continue tick: the refresh may have
  // written over it.
  const int mode = control.state.inputMode;
  if (mode == kModeTextEntry || mode == kModeYesNo) control.state.continueFlag = true;
}

bool IsChainedCode(int result) {
  return result > 1 && result != kStillRunning && result != kContinueTick;
}

void Pass(Control& control, bool escape) {
  InputRecord& in = control.In();
  for (int chained = 0; chained < kMaxChainedCodes; ++chained) {
    if (in.code == kCodeEsc && in.rawKey >= 1) Beep(control, kSoundKey);
    if (!escape) PreDispatch(control);
    if (control.state.ended) return;
    bool taken = false;
    const int result = OfferToLevels(control, taken);
    if (!taken && in.rawKey != kRawNone) Message(control, kSoundSmallError, kNotInUse);
    if (control.state.ended) return;
    RefreshLines(control);
    if (!IsChainedCode(result)) break;
    in.code = result;
    in.rawKey = result;
  }
  if (control.state.continueFlag && !control.state.ended) {
    in.code = kContinueTick;
    in.rawKey = kRawNone;
    bool taken = false;
    OfferToLevels(control, taken);
    if (!control.state.ended) RefreshLines(control);
  }
}

bool IsStepKey(int code) {
  return code == kCodeUndo || code == kCodeRedo || code == kCodeRedoShift;
}

// Sends Esc until no function runs; false when one still does. A function ends at Esc, or
// gives up at most one question per element of the drawing (Update texts asks about each text
// in turn), so more rounds than that mean one that ignores Esc.
bool EndEveryFunction(Control& control) {
  InputRecord& in = control.In();
  const int code = in.code;
  const int rawKey = in.rawKey;
  const std::size_t rounds = kMaxEscRounds + control.store.RecordCount();
  for (std::size_t round = 0; round < rounds && AnyLevelActive(control); ++round) {
    DispatchInput(control, true);
    if (control.state.ended) break;
  }
  in.code = code;
  in.rawKey = rawKey;
  return !AnyLevelActive(control);
}

// Ctrl+Z takes the last step back, Ctrl+Y and Ctrl+Shift+Z do it again. Whatever runs is ended
// first as Esc would end it: what it has finished stays, and is a step of its own. No step is
// taken under a function still running: it may hold the very records the step changes.
void TakeStep(Control& control, int code) {
  const bool ended = EndEveryFunction(control);
  if (control.state.ended) return;
  if (!ended) return Beep(control, kSoundSmallError);
  control.recovery.AfterKey(control.store.CommitStep());
  const bool undo = code == kCodeUndo;
  StepKind kind = StepKind::kChange;
  const bool done = undo ? control.store.Undo(kind) : control.store.Redo(kind);
  if (done) control.recovery.Moved(undo);
  if (!done) {
    Message(control, kSoundSmallError,
            undo ? undo_messages::kNothingToUndo : undo_messages::kNothingToRedo);
  } else {
    Beep(control, kSoundKey);
    ShowNote(control.screen, undo ? undo_messages::kUndone : undo_messages::kRedone,
             Tr(control.screen, undo_messages::StepName(kind)));
  }
  RefreshLines(control);
}

} // namespace

const CommandRow* StartingRow(const Control& control, int code) {
  const CommandRow* row = control.table.Find(code);
  if (row == nullptr || row->make == nullptr) return nullptr;
  const CommandState& state = control.state;
  if (state.inputMode == kModeTextEntry && IsEditingKey(code)) return nullptr;
  if ((row->flags & kCursorModeOnly) != 0 && state.inputMode != kModeCursor) return nullptr;
  if ((row->flags & kNotWithWindows) != 0 && WindowsOpen(control)) return nullptr;
  if ((row->flags & kOnlyWhenIdle) != 0 && AnyLevelActive(control)) return nullptr;
  if ((row->flags & kNotDuringEdit) != 0 && LevelCode(control, Level::kMain) == kCodeEdit) {
    return nullptr;
  }
  if (row->level == Level::kProperty) {
    if (!PropertyKeysAllowed(control)) return nullptr;
    if (row->appliesTo != 0 && (row->appliesTo & ElementBit(state.elementType)) == 0) {
      return nullptr;
    }
  }
  return row;
}

void DispatchInput(Control& control, bool escape) {
  CommandState& state = control.state;
  if (state.ended) return;
  if (state.dispatchDepth == 0) ClearSoundGroups(control.sound);
  ++state.dispatchDepth;
  if (escape) {
    control.In().code = kCodeEsc;
    control.In().rawKey = kRawGeneratedEsc;
  }
  if (!escape && state.dispatchDepth == 1 && IsStepKey(control.In().code))
    TakeStep(control, control.In().code);
  else
    Pass(control, escape);
  // What the key changed is one step (a script run holds its steps until it ends).
  if (--state.dispatchDepth == 0) control.recovery.AfterKey(control.store.CommitStep());
}

void RewriteOpenWindows(Control& control) {
  CommandState& state = control.state;
  if (state.ended || state.windowRedrawCounter <= 0) return;
  const int depth = state.dispatchDepth++;
  if (depth == 0) ClearSoundGroups(control.sound);
  InputRecord& in = control.In();
  in.code = kContinueTick;
  in.rawKey = kRawNone;
  for (Level level : kOfferOrder) {
    if (LevelActive(control, level)) RunLevel(control, level);
    if (state.ended) break;
  }
  state.windowRedrawCounter = 0;
  if (!state.ended) RefreshLines(control);
  --state.dispatchDepth;
}

void RequestQuit(Control& control) {
  if (control.state.ended) return;
  const int depth = control.state.dispatchDepth++;
  if (depth == 0) ClearSoundGroups(control.sound);
  SendEsc(control, Level::kHelp);
  const CommandRow* row = control.table.Find(kCodeEsc);
  if (row != nullptr && !LevelActive(control, Level::kHelp)) {
    control.In().code = kCodeEsc;
    control.In().rawKey = kRawNone;
    StartFunction(control, *row, Make<Quit>(QuitOrigin::kWindowClose));
    if (!control.state.ended) RefreshLines(control);
  }
  --control.state.dispatchDepth;
}

void StartOwnFunction(Control& control, const CommandRow& row, std::unique_ptr<Function> function) {
  if (control.state.ended || LevelActive(control, row.level)) return;
  ++control.state.dispatchDepth;
  control.In().code = row.code;
  control.In().rawKey = kRawNone;
  StartFunction(control, row, std::move(function));
  if (!control.state.ended) RefreshLines(control);
  --control.state.dispatchDepth;
}

} // namespace lumora
