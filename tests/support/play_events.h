// Event lines played through the real program with the shipped program directory.
#pragma once

#include "control/event_player.h"
#include "support/shipped_home.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace lumora::testing {

// Writes the events to a file of the given name and plays it in a window of the given size
// (0: the size of the setup); gives the errors of the expectations.
inline std::string PlayEvents(const std::string& name, const std::string& events, int width = 0,
                              int height = 0) {
  std::filesystem::create_directories(LUMORA_TEST_TMP);
  const std::string path = std::string(LUMORA_TEST_TMP) + "/" + name + ".events";
  std::ofstream(path) << events;
  PlayOptions options;
  options.start.home = ShippedHomeCopy();
  options.start.width = width;
  options.start.height = height;
  options.outDir = LUMORA_TEST_TMP;
  std::ostringstream errors;
  PlayEventFile(path, options, errors);
  return errors.str();
}

} // namespace lumora::testing
