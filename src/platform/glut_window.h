// The program's one window: GLUT opens it, hands every callback to the event cycle and runs
// the main loop until the program ends. It is also what the commands ask of the window.
#pragma once

#include "protocol/window_services.h"

namespace lumora {

struct App;
class GlCanvas;

class GlutWindow final : public WindowServices {
public:
  // The App is only used once it has been built.
  explicit GlutWindow(App& app) : app_(app) {}

  // Opens the window the setup describes and runs until the user quits, or closes the window
  // with nothing unsaved. A window closed with the quit question open is made anew. Returns the
  // exit status.
  int Run(int& argc, char** argv);

  void ShowMousePointer(bool shown) override;
  void KeepRunning() override;
  void EndProgram() override;
  void Repaint() override;
  // Looks into the window system's queue without taking anything from it.
  bool InputWaiting() override;

  // The callbacks reach the window through GLUT's window data.
  App& app() { return app_; }
  GlCanvas* canvas = nullptr; // while a window is open

private:
  App& app_;
  bool reopen_ = true;
};

} // namespace lumora
