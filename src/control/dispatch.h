// The dispatcher: offers each command code to the active functions of the five levels, starts
// the function a code belongs to, and keeps one function per level.
#pragma once

#include "protocol/command_state.h"
#include "protocol/functions.h"

#include <memory>

namespace lumora {

class CommandTable;
struct CommandRow;

// Runs the current code through the levels: popup, help function, help-menu function,
// property function, main function. With escape the code becomes a generated Esc and the
// other levels are left alone. A code no level takes is answered "Not in use !" when it came
// from a key. A menu's choice is dispatched next as if its key had been pressed, and a text
// entry gets one continue tick at the end of the pass.
void DispatchInput(Control& control, bool escape = false);

// The row of the function a code would start now, or none: the code's row when its
// conditions hold in the present state (mode, open windows, active levels, element type).
const CommandRow* StartingRow(const Control& control, int code);

// A full repaint left the open text windows empty: each active function is given a continue
// tick, innermost first, to write its window again.
void RewriteOpenWindows(Control& control);

// The window was closed: ask the quit question (at once ending a saved drawing), and keep the
// program running until it is answered.
void RequestQuit(Control& control);

// Starts a function of the program's own at start-up, as if its key had been pressed, unless
// its level is already busy.
void StartOwnFunction(Control& control, const CommandRow& row, std::unique_ptr<Function> function);

} // namespace lumora
