// The one-line text entry: title and prompt, then a field edited with the line-editing keys,
// the answer memory behind F12 and Ctrl+F12, and, in list mode, one row of a window of rows
// that the caller moves between. A step machine: the caller calls it once per code with the
// same arguments until it answers.
#pragma once

#include "ui/ask_state.h"
#include "util/text_pair.h"

#include <string>
#include <string_view>

namespace lumora {

struct AskStrArgs {
  // Row 1: the prompt line of the current level, the field after the prompt. Row 2: the prompt
  // dimmed on message row 2. Any other row: a row of a window (list mode callers).
  int row = 1;
  int column = 2;
  int width = 0; // prompt and field together; 0: the message width
  TextPair title{};
  TextPair prompt{};
  std::size_t size = 100;     // bounds the text with its terminator
  std::string_view initial{}; // the proposal, copied into the buffer on the first call
  bool overwrite = false;     // list mode: start in overwrite mode whatever was used last
  // Negative: an ordinary entry, the cursor at the start. Otherwise list mode, the cursor here.
  int cursor = -1;
  bool firstRow = true;          // list mode: Up leaves only when there is a row above
  bool lastRow = true;           // list mode: Down leaves only when there is a row below
  bool ctrlEnterAccepts = false; // Ctrl+Enter answers as Enter does, not as a step back
};

// Results besides kStillRunning.
inline constexpr int kEntryAccepted = 13;
inline constexpr int kEntryEsc = -27;
inline constexpr int kEntryBack = -8;
inline constexpr int kEntryJoin = 127;   // list mode: Del at the end, Backspace at the start
inline constexpr int kEntryUp = kCodeUp; // list mode: to the row above
inline constexpr int kEntryDown = kCodeDown;

inline constexpr TextPair kOverWrite{"Over write !"_l1, "Yli kirjoitus !"_l1};
inline constexpr TextPair kNothingToDelete{"Nothing to delete !"_l1, "Ei tuhottavaa !"_l1};
inline constexpr TextPair kNoTextsInMemory{"No texts in memory !"_l1, "Ei tekstejä muistissa !"_l1};
inline constexpr std::string_view kAlreadyInAskStr = "\nAlready in AskStr ";

int AskStr(Control& control, PromptState& prompts, const AskStrArgs& args, std::string& buffer);

} // namespace lumora
