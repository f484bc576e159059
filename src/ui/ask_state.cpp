#include "ui/ask_state.h"

namespace lumora {

SavedPromptState SavePromptState(const CommandState& state) {
  return {
      {state.cursorShown, state.inputMode, state.promptRow, state.referenceLock, state.backAllowed},
      state.arrows,
      state.actionVariant};
}

void RestorePromptState(CommandState& state, const SavedPromptState& saved) {
  state.cursorShown = saved.flags.cursorShown;
  state.inputMode = saved.flags.inputMode;
  state.promptRow = saved.flags.promptRow;
  state.referenceLock = saved.flags.referenceLock;
  state.backAllowed = saved.flags.backAllowed;
  state.arrows = saved.arrows;
  state.actionVariant = saved.actionVariant;
}

} // namespace lumora
