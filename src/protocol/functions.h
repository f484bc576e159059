// The function protocol. Every command, prompt and dialog is a step machine: it is called once
// per command code while it is active, keeps its own step, and answers kStillRunning until it
// is done. It begins and ends itself here, and its title and request go to the prompt line of
// its level.
#pragma once

#include "screen/prompt_line.h"
#include "util/codes.h"
#include "util/text_pair.h"

#include <memory>
#include <new>
#include <string_view>

namespace lumora {

struct CommandRow;
struct Control;

// The levels of active functions, innermost first in the order the dispatcher offers codes.
enum class Level { kHelp = 1, kHelpMenu = 2, kProperty = 3, kMain = 4, kPopup = 5 };
inline constexpr int kLevelCount = 5;

// Element type of the main function: which property keys apply.
inline constexpr int kElementNone = 0;
inline constexpr int kElementLine = 1;
inline constexpr int kElementFilling = 2;
inline constexpr int kElementText = 3;
inline constexpr int kElementPart = 4;

class Function {
public:
  virtual ~Function() = default;

  // One code (read from the current input record) for the function the table row started.
  // kStillRunning while running; kFinished when done; a value above 1 is a code the dispatcher
  // handles next, as if it were a key.
  virtual int Step(Control& control, const CommandRow& row) = 0;
};

// A fresh function for a table row; none when memory ran out.
template <class F, class... Args> std::unique_ptr<Function> Make(Args... args) {
  return std::unique_ptr<Function>(new (std::nothrow) F(args...));
}

// A function's first call: plays the key cue, makes the level's code its own and saves what
// it must give back. Starting from idle also puts the cursor back and clears the modes.
void BeginFunction(Control& control, Level level, int code, int step = 0);
// The same for the function of a table row: its level and the code it was started with.
void BeginFunction(Control& control, const CommandRow& row, int step = 0);

// Gives the level free and restores what BeginFunction saved. Ending a main function also
// clears the reference lock, the back permission and the action variant, and shows the
// elements still highlighted in their normal look.
void EndFunction(Control& control, Level level);

bool LevelActive(const Control& control, Level level);
bool AnyLevelActive(const Control& control);
int LevelCode(const Control& control, Level level);

// Stores the prompt of the innermost active level for one language and shows it when that is
// the language in use. The request normally begins with "^".
void SetPrompt(Control& control, Language language, std::string_view title, std::string_view prompt,
               PromptPlace place = {});
// Both languages at once.
void SetPrompt(Control& control, const TextPair& title, const TextPair& prompt,
               PromptPlace place = {});

// Rewrites the prompt line when something it shows has changed.
void RefreshPrompt(Control& control);

} // namespace lumora
