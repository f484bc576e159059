// The selection list: a column of texts with one highlighted, chosen with the arrows, Home,
// End, Enter or the mouse. Lists nest up to three deep (a value list opened from a menu); a
// call with the geometry of the innermost open list continues it, any other call opens a new
// one. A step machine: called once per code with the same arguments until it answers.
#pragma once

#include "ui/ask_state.h"
#include "util/text_pair.h"

#include <span>
#include <string>

namespace lumora {

struct SelectArgs {
  int row = 3;
  int column = 2;
  int rows = 1;  // the rows the list may use; it shows min(count, rows)
  int width = 1; // columns
  int initial = 0;
  bool ownWindow = false; // the list opens and closes its own text window
  bool header = false;    // the first item is a title row that cannot be chosen
};

// Results besides the chosen index (>= 0) and kStillRunning.
inline constexpr int kSelectBack = -8;       // Backspace, or nothing to choose from
inline constexpr int kSelectTab = -9;        // Tab
inline constexpr int kSelectCtrlEnter = -10; // Ctrl+Enter
inline constexpr int kSelectEsc = -27;

inline constexpr int kListStep = 1;     // Up, Down
inline constexpr int kListPageStep = 5; // Ctrl+Up, Ctrl+Down

inline constexpr TextPair kTooManySelects{"Too many internal selects !"_l1,
                                          "Liian monta sisäkkäistä selectiä !"_l1};

int SelectStr(Control& control, PromptState& prompts, const SelectArgs& args,
              std::span<const std::string> items);

// Closes every open list (their own windows too) and gives back the command state the
// outermost took, for a program that abandons its prompts.
void CloseAllLists(Control& control, PromptState& prompts);

// List edge state for the mouse translation: on the first visible row, on the last, between.
int ListEdge(const SelectList& list);

} // namespace lumora
