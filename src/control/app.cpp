#include "control/app.h"

#include "ui/menu_bar.h"

namespace lumora {

App::App(Clock& clockService, std::ostream& consoleStream)
    : clock(clockService), console(consoleStream) {
  sound.console = &console;
  sound.home = home;
  screen.sound = &sound;
  screen.clock = &clock;
  screen.language = &language;
  screen.cursorShown = &control.state.cursorShown;
  screen.console = &console;
  WireControl();
}

void App::WireControl() {
  control.table = &commands;
  control.screen = &screen;
  control.sound = &sound;
  control.language = &language;
  control.drawing = &drawing;
  control.setup = &setup;
  control.geometry = &cursorGeometry;
  control.files = &fileEnv;
  control.menus = &menus;
  control.prompts = &prompts;
  ControlHooks& hooks = control.hooks;
  hooks.repaint = [this] { RepaintWindow(*this); };
  hooks.exitProgram = [this](int /*status*/) { window.quit = true; };
  hooks.cursorAngle = [this] { return view.directionShown ? view.cursorAngle : 0.0; };
  hooks.refreshStatus = [this] { RefreshMenuBar(control); };
  hooks.menuBarCode = [this](int x, int y) { return MenuBarCode(control, x, y); };
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
  app.control.state.whiteBackground = app.setup.whiteBackground != 0;
  // From now on texts go to the window, not the console.
  app.screen.consoleOutput = false;
}

} // namespace lumora
