// The program's one window: GLUT opens it, hands every callback to the event cycle and runs
// the main loop until the program ends.
#pragma once

namespace lumora {

struct App;

// Opens the window the setup describes and runs until the user quits or closes the window with
// nothing unsaved. Returns the exit status.
int RunWindow(App& app, int& argc, char** argv);

} // namespace lumora
