// The window program.
#include "control/app.h"
#include "control/startup.h"
#include "platform/glut_window.h"
#include "platform/sdl_sound_player.h"
#include "util/clock.h"

#include <memory>

namespace {

// The platform's services and the program state that uses them, built in this order.
struct Program {
  Program() { app.sound.player = &player; }

  lumora::SystemClock clock;
  lumora::SdlSoundPlayer player;
  lumora::GlutWindow window{app};
  lumora::App app{clock, window};
};

} // namespace

int main(int argc, char** argv) {
  auto program = std::make_unique<Program>();
  if (lumora::StartProgram(program->app, lumora::StartupInputOf(argc, argv)) ==
      lumora::StartupDecision::kEnd)
    return 0;
  return program->window.Run(argc, argv);
}
