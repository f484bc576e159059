#include "control/app.h"

#include "view/render.h"

namespace lumora {

App::App(Clock& clockService, WindowServices& window, PageOutput& pageOutput,
         std::ostream& consoleStream)
    : clock(clockService), windowServices(window), pages(pageOutput), console(consoleStream) {
  sound.console = &console;
  // The drawing worked on keeps the undo journal; stores built aside by readers do not.
  store.EnableJournal(true);
  sound.home = home;
  screen.sound = &sound;
  screen.clock = &clock;
  screen.language = &language;
  screen.cursorShown = &commandState.cursorShown;
  screen.console = &console;
}

void AttachCanvas(App& app, Canvas& canvas) {
  app.canvas = &canvas;
  app.screen.canvas = &canvas;
  // A window made anew after a close keeps the sheet colour the user chose.
  canvas.SetBackground(app.commandState.whiteBackground ? Background::kLight : Background::kDark);
  ResizeGrid(app.screen, canvas.Width(), canvas.Height());
  // From now on texts go to the window, not the console.
  app.screen.consoleOutput = false;
}

} // namespace lumora
