#include "control/app.h"

#include "view/render.h"

namespace lumora {

App::App(Clock& clockService, WindowServices& window, PageOutput& pageOutput,
         std::ostream& consoleStream)
    : clock(clockService), windowServices(window), pages(pageOutput), console(consoleStream) {
  sound.console = &console;
  sound.home = home;
  screen.sound = &sound;
  screen.clock = &clock;
  screen.language = &language;
  screen.cursorShown = &commandState.cursorShown;
  screen.console = &console;
}

RenderScene App::Scene() {
  const MeasureStyle measure{setup.measureLineWidth, setup.measureLineColour, setup.measureGap};
  return RenderScene{*canvas, view, drawing, fonts, setup.arcAccuracy, measure, &storeEnv, &store};
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

void ShowHighlightedNormally(App& app) {
  Drawing& d = app.drawing;
  // Unselecting erases the highlight; the normal look is drawn over it.
  while (d.SelectedLines != nullptr) {
    LineElement& line = *d.SelectedLines->element;
    app.store.Unselect(&line);
    if (app.canvas != nullptr) DrawLine(app.Scene(), line, DrawMode::kNormal);
  }
  while (d.SelectedFillings != nullptr) {
    FillingElement& filling = *d.SelectedFillings->element;
    app.store.Unselect(&filling);
    if (app.canvas != nullptr) DrawFilling(app.Scene(), filling, DrawMode::kNormal);
  }
  while (d.SelectedTexts != nullptr) {
    TextElement& text = *d.SelectedTexts->element;
    app.store.Unselect(&text);
    if (app.canvas != nullptr) DrawTextElement(app.Scene(), text, DrawMode::kNormal);
  }
}

} // namespace lumora
