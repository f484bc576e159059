#include "control/app.h"

namespace lumora {

App::App(Clock& clockService, std::ostream& consoleStream)
    : clock(clockService), console(consoleStream) {
  sound.console = &console;
  sound.home = home;
  screen.sound = &sound;
  screen.clock = &clock;
  screen.language = &language;
  screen.cursorShown = &window.cursorShown;
  screen.console = &console;
}

RenderScene App::Scene() {
  const MeasureStyle measure{setup.measureLineWidth, setup.measureLineColour, setup.measureGap};
  return RenderScene{*canvas, view, drawing, fonts, setup.arcAccuracy, measure};
}

void AttachCanvas(App& app, Canvas& canvas) {
  app.canvas = &canvas;
  app.screen.canvas = &canvas;
  canvas.SetBackground(app.setup.whiteBackground != 0 ? Background::kLight : Background::kDark);
  ResizeGrid(app.screen, canvas.Width(), canvas.Height());
  // From now on texts go to the window, not the console.
  app.screen.consoleOutput = false;
}

} // namespace lumora
