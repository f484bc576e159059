// A private copy of the shipped program directory for tests that run commands which may write
// into it (parts copied out, reports, settings): the source tree stays as it was checked out,
// and the event tests, which copy it while this suite runs, never meet a half-written file.
#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

namespace lumora::testing {

inline std::string ShippedHomeCopy() {
  namespace fs = std::filesystem;
  static const std::string home = [] {
    const fs::path to = fs::path(LUMORA_TEST_TMP) / ("home-" + std::to_string(::getpid()));
    const fs::path from = fs::path(LUMORA_SOURCE_DIR) / "data";
    fs::remove_all(to);
    fs::create_directories(to);
    // Only what is shipped: the setups and sounds; the user folders start empty.
    for (const char* folder : {"SETUP", "Sounds"}) {
      fs::copy(from / folder, to / folder, fs::copy_options::recursive);
    }
    for (const char* folder : {"DATA", "DRAWINGS", "PARTS", "PLOTS"}) {
      fs::create_directories(to / folder);
    }
    return to.string();
  }();
  return home;
}

} // namespace lumora::testing
