#include "protocol/functions.h"

#include "element_geometry/element_geometry.h"
#include "protocol/command_state.h"
#include "protocol/window_services.h"
#include "screen/messages.h"
#include "screen/text_screen.h"
#include "screen/write_text.h"
#include "setup/setup.h"
#include "sound/my_beep.h"
#include "view/view.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int kPromptColumn = 2;

// Levels that keep the whole input record of the outer function while they run.
bool SavesInputRecord(Level level) {
  return level == Level::kHelpMenu || level == Level::kProperty;
}

bool SavesFlags(Level level) {
  return level == Level::kHelp || SavesInputRecord(level);
}

SavedFlags CurrentFlags(const CommandState& state) {
  return {state.cursorShown, state.inputMode, state.promptRow, state.referenceLock,
          state.backAllowed};
}

void RestoreFlags(CommandState& state, const SavedFlags& flags) {
  state.cursorShown = flags.cursorShown;
  state.inputMode = flags.inputMode;
  state.promptRow = flags.promptRow;
  state.referenceLock = flags.referenceLock;
  state.backAllowed = flags.backAllowed;
}

// A property function works on the attributes of the element in the making: what it changed
// there outlives it.
bool KeepsAttributes(Level level) {
  return level == Level::kProperty;
}

// Back to the saved step of the outer function, but the current event stays what it is and
// the overlay flags keep telling what is on screen.
void RestoreInputRecord(InputRecord& current, const InputRecord& saved, bool keepAttributes) {
  InputRecord restored = saved;
  restored.code = current.code;
  restored.rawKey = current.rawKey;
  restored.mouseX = current.mouseX;
  restored.mouseY = current.mouseY;
  restored.repeat = current.repeat;
  restored.drawn = current.drawn;
  if (keepAttributes) restored.attributes = current.attributes;
  current = restored;
}

// A new function starts with a clean step: no pending snap or angle, no points. The cursor
// moving angle lives in the view alone, so a function that ends and gives back the outer
// record cannot bring back an angle switched off, nor lose one set while it ran.
void ResetInputStep(InputRecord& in, View& view, Level level) {
  in.snapMode = kSnapNone;
  view.directionShown = false;
  in.pointCount = 0;
  in.previewKind = kPreviewElement;
  in.cursorLinesOff = 1;
  if (!KeepsAttributes(level)) in.attributes.SetStyle(0);
}

std::string Bounded(std::string_view text) {
  return std::string(text.substr(0, std::min(text.size(), kPromptTextSize)));
}

LevelSlot* InnermostActive(Control& control) {
  for (Level level : {Level::kHelp, Level::kHelpMenu, Level::kProperty, Level::kMain}) {
    if (LevelActive(control, level)) return &control.Slot(level);
  }
  return nullptr;
}

LevelPrompt PromptOf(const Control& control, Level level) {
  const LevelSlot& slot = control.Slot(level);
  return {slot.code, slot.code != 0 ? slot.prompt[LanguageIndex(control.Lang())] : std::string(),
          slot.place};
}

} // namespace

ElementGeometry& Geometry(Control& control) {
  GeometrySettings& s = control.geometry.settings;
  s.viewWidth = BoxWidth(control.view.viewBox);
  s.arcAccuracy = control.setup.arcAccuracy;
  s.partStretch = control.setup.partStretch != 0;
  return control.geometry;
}

void Beep(Control& control, int cue) {
  MyBeep(control.sound, cue);
}

void Message(Control& control, int cue, const TextPair& text) {
  ShowMessage(control.screen, cue, control.Tr(text), 0.0);
}

bool LevelActive(const Control& control, Level level) {
  return control.Slot(level).code != 0;
}

bool AnyLevelActive(const Control& control) {
  return std::any_of(control.state.levels.begin(), control.state.levels.end(),
                     [](const LevelSlot& slot) { return slot.code != 0; });
}

int LevelCode(const Control& control, Level level) {
  return control.Slot(level).code;
}

void BeginFunction(Control& control, Level level, int code, int step) {
  CommandState& state = control.state;
  InputRecord& in = control.In();
  Beep(control, kSoundKey);
  const bool fromIdle = !AnyLevelActive(control);
  if (fromIdle) {
    state.cursorShown = true;
    state.inputMode = kModeCursor;
    if (level != Level::kHelpMenu) state.referenceLock = false;
    state.backAllowed = false;
    state.windowRedrawCounter = 0;
  }
  LevelSlot& slot = control.Slot(level);
  if (SavesFlags(level)) slot.saved = CurrentFlags(state);
  if (SavesInputRecord(level)) slot.savedInput = in;
  slot.code = code;
  slot.step = step;
  slot.prompt = {};
  slot.title = {};
  slot.place = {};
  // Help functions work on the step as it is (a second F11 clears the snap the first set, Ins
  // follows the angle in force, the information box over a line in the making keeps its
  // points), and the popup only hands on a code: neither starts a step.
  if (level != Level::kHelp && level != Level::kPopup) ResetInputStep(in, control.view, level);
}

void BeginFunction(Control& control, const CommandRow& row, int step) {
  BeginFunction(control, row.level, row.code, step);
}

void EndFunction(Control& control, Level level) {
  CommandState& state = control.state;
  LevelSlot& slot = control.Slot(level);
  if (slot.code == 0) return;
  slot.code = 0;
  slot.step = 0;
  slot.prompt = {};
  slot.title = {};
  if (SavesFlags(level)) RestoreFlags(state, slot.saved);
  if (SavesInputRecord(level)) {
    RestoreInputRecord(control.In(), slot.savedInput, KeepsAttributes(level));
  }
  if (level == Level::kMain) {
    state.referenceLock = false;
    state.backAllowed = false;
    state.actionVariant = 0;
    state.elementType = kElementNone;
    control.store.ShowHighlightedNormally();
  }
}

void SetPrompt(Control& control, Language language, std::string_view title, std::string_view prompt,
               PromptPlace place) {
  LevelSlot* slot = InnermostActive(control);
  if (slot == nullptr) return;
  const std::size_t index = LanguageIndex(language);
  slot->title[index] = Bounded(title);
  slot->prompt[index] = Bounded(std::string(title) + std::string(prompt));
  if (place.column <= 0) place.column = kPromptColumn;
  const int widest = MessageWidth(control.screen);
  place.width = place.width <= 0 ? widest : std::min(place.width, widest);
  slot->place = place;
  if (language == control.Lang()) RefreshPrompt(control);
}

void SetPrompt(Control& control, const TextPair& title, const TextPair& prompt, PromptPlace place) {
  const Language other =
      control.Lang() == Language::kEnglish ? Language::kFinnish : Language::kEnglish;
  SetPrompt(control, other, title.In(other), prompt.In(other), place);
  SetPrompt(control, control.Lang(), title.In(control.Lang()), prompt.In(control.Lang()), place);
}

void RefreshPrompt(Control& control) {
  PromptLineInput input;
  input.help = PromptOf(control, Level::kHelp);
  input.helpMenu = PromptOf(control, Level::kHelpMenu);
  input.property = PromptOf(control, Level::kProperty);
  input.main = PromptOf(control, Level::kMain);
  input.directionShown = control.view.directionShown ? 1 : 0;
  input.snapMode = control.In().snapMode;
  input.cursorAngle = control.view.directionShown ? control.view.cursorAngle : 0.0;
  input.note = control.screen.note;
  RefreshPromptLine(control.screen, input);
}

} // namespace lumora
