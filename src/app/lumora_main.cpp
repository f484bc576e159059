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
// Print writes a PDF page and, with a default printer, prints it on the printer's paper.
// LUMORA_NO_PRINTER keeps the printer out (the window tests set it), leaving the PDF page of
// the default paper.
std::unique_ptr<lumora::PageOutput> MakePageOutput() {
  std::string destination;
  lumora::Paper paper;
  if (std::getenv("LUMORA_NO_PRINTER") == nullptr && lumora::DefaultPrinter(destination, paper))
    return std::make_unique<lumora::PrinterPageOutput>(paper, destination);
  return std::make_unique<lumora::PdfPageOutput>(lumora::Paper{});
}

struct Program {
  Program() {
    app.sound.player = &player;
    app.plotter.paperWidth = pages->PaperWidth();
    app.plotter.paperHeight = pages->PaperHeight();
  }

  lumora::SystemClock clock;
  lumora::SdlSoundPlayer player;
  std::unique_ptr<lumora::PageOutput> pages = MakePageOutput();
  lumora::GlutWindow window{app};
  lumora::App app{clock, window, *pages};
};

} // namespace

int main(int argc, char** argv) {
  auto program = std::make_unique<Program>();
  if (lumora::StartProgram(program->app, lumora::StartupInputOf(argc, argv)) ==
      lumora::StartupDecision::kEnd)
    return 0;
  return program->window.Run(argc, argv);
}
