// The state the prompt routines share: the answer memory, the one open text entry, the stack
// of open selection lists, the multi-line editor and what the file dialog remembers between
// uses. One PromptState lives as long as the program; every routine is handed it.
#pragma once

#include "protocol/command_state.h"
#include "ui/answer_memory.h"

#include <array>
#include <string>
#include <vector>

namespace lumora {

// What a prompt takes over from the command state while it is open and gives back on return.
struct SavedPromptState {
  SavedFlags flags;
  MouseArrows arrows;
  int actionVariant = 0;
};

SavedPromptState SavePromptState(const CommandState& state);
void RestorePromptState(CommandState& state, const SavedPromptState& saved);

// The text entry on its field.
struct EntryState {
  bool open = false;
  int row = 1;
  int promptColumn = 1; // where title and prompt start
  int promptWidth = 0;
  int column = 1; // the field
  int width = 1;
  std::array<std::string, 2> title; // by language
  std::array<std::string, 2> prompt;
  int cursor = 0;
  int offset = 0; // first character shown, when the text is wider than the field
  bool listMode = false;
  // No key has reached the entry yet: the first typed character replaces the whole proposal,
  // as in a field whose text is selected.
  bool untouched = true;
  bool firstRow = true; // list mode: Up and Down leave the entry only where there is a row
  bool lastRow = true;
  const std::string* buffer = nullptr; // whose text is being edited; only compared
  SavedPromptState saved;
};

inline constexpr int kMaxNestedLists = 3;

struct SelectList {
  int row = 0;
  int column = 0;
  int rows = 0; // visible rows
  int width = 0;
  int index = 0; // the highlighted item
  int first = 0; // the first visible item
  bool ownWindow = false;
  bool header = false;
  SavedPromptState saved;
};

// The multi-line text editor: its lines, the one being edited and the first shown.
struct TextEditorState {
  bool open = false;
  std::vector<std::string> lines;
  std::string editLine; // the line under the entry
  int current = 0;
  int top = 0;
  int rows = 0;
  int columns = 0;
  bool windowOpen = false;
};

// Drawings and parts each keep their current subdirectory (one level) between file dialogs.
struct FileDialogMemory {
  std::string drawingSubdirectory;
  std::string partSubdirectory;
  std::string partName; // the current part name, set by the part file commands
};

struct PromptState {
  AnswerMemory answers;
  bool insertMode = false; // the mode a list-mode entry keeps from the last entry
  EntryState entry;
  std::string numberText; // the text of a numeric entry
  std::array<SelectList, kMaxNestedLists> lists;
  int listDepth = 0;
  TextEditorState editor;
  FileDialogMemory files;
};

} // namespace lumora
