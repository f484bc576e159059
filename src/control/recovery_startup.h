// Start-up of the recovery log: the program's own log begins, and a log that a dead program
// left is offered with the start-up question.
#pragma once

#include "files/step_codec.h"

namespace lumora {

struct App;

// Opens the app's log in RECOVER/ of its program directory and, when an orphaned log holds
// unsaved work, asks whether to recover it (a main function on row 1). A damaged log is reported
// and kept aside. The codec does the logged steps again; it must outlive the question.
void StartRecovery(App& app, StepCodec& codec);

} // namespace lumora
