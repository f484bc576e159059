// The function protocol. Every command, prompt and dialog is a step machine: it is called once
// per command code while it is active, keeps its own step, and answers kStillRunning until it
// is done. It begins and ends itself here, and its title and request go to the prompt line of
// its level.
#pragma once

#include "ui/prompt_line.h"
#include "ui/text_screen.h"
#include "util/text_pair.h"

#include <string_view>

namespace lumora {

struct Control;

// kStillRunning (88888, ui/text_screen.h): the function is still running.
inline constexpr int kFinished = 0;         // finished with nothing further
inline constexpr int kContinueTick = 77777; // the extra code that lets a text entry redraw

// Action codes inside functions (also offered by the action popup).
inline constexpr int kCodeBackspace = 8;  // undo the last step
inline constexpr int kCodeTab = 9;        // completed: finish with what was given
inline constexpr int kCodeCtrlEnter = 10; // the function's alternative finish
inline constexpr int kCodeEnter = 13;     // take the cursor point or the highlighted choice
inline constexpr int kCodeEsc = 27;       // cancel the step; at the first step end

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

  // One code (read from the current input record). kStillRunning while running; kFinished
  // when done; a value above 1 is a code the dispatcher handles next, as if it were a key.
  virtual int Step(Control& control) = 0;
};

// A function's first call: plays the key cue, makes the level's code its own and saves what
// it must give back. Starting from idle also puts the cursor back and clears the modes.
void BeginFunction(Control& control, Level level, int code, int step = 0);

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
