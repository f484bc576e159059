// The window program.
#include "control/app.h"
#include "control/startup.h"
#include "platform/cups_printer.h"
#include "platform/glut_window.h"
#include "platform/sdl_sound_player.h"
#include "util/clock.h"

#include <cstdlib>
#include <memory>
#include <string>

namespace {

// The platform's services and the program state that uses them, built in this order.
struct Program {
  Program() { app.sound.player = &player; }

  lumora::SystemClock clock;
  lumora::SdlSoundPlayer player;
  lumora::GlutWindow window{app};
  lumora::App app{clock, window};
};

// With a default printer, its paper is the plot's. LUMORA_NO_PRINTER keeps the printer out
// (the window tests set it), leaving the PDF page of the default paper.
void TakePrinterPaper(lumora::App& app) {
  if (std::getenv("LUMORA_NO_PRINTER") != nullptr) return;
  std::string destination;
  lumora::Paper paper;
  if (!lumora::DefaultPrinter(destination, paper)) return;
  app.plotter.paperWidth = paper.printableWidth;
  app.plotter.paperHeight = paper.printableHeight;
}

} // namespace

int main(int argc, char** argv) {
  auto program = std::make_unique<Program>();
  TakePrinterPaper(program->app);
  if (lumora::StartProgram(program->app, lumora::StartupInputOf(argc, argv)) ==
      lumora::StartupDecision::kEnd)
    return 0;
  return program->window.Run(argc, argv);
}
