// The window program.
#include "control/app.h"
#include "control/startup.h"
#include "platform/glut_window.h"
#include "platform/sdl_sound_player.h"
#include "util/clock.h"

int main(int argc, char** argv) {
  lumora::SystemClock clock;
  lumora::SdlSoundPlayer player;
  lumora::App app(clock);
  app.sound.player = &player;
  if (lumora::StartProgram(app, lumora::StartupInputOf(argc, argv)) ==
      lumora::StartupDecision::kEnd)
    return 0;
  return lumora::RunWindow(app, argc, argv);
}
