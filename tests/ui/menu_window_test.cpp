#include "control/event_player.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace lumora {
namespace {

// Plays event lines in a window of the given size with the shipped program directory.
std::string Play(const std::string& name, const std::string& events, int width, int height) {
  std::filesystem::create_directories(LUMORA_TEST_TMP);
  const std::string path = std::string(LUMORA_TEST_TMP) + "/" + name + ".events";
  std::ofstream(path) << events;
  PlayOptions options;
  options.start.home = LUMORA_SOURCE_DIR "/data";
  options.start.width = width;
  options.start.height = height;
  options.outDir = LUMORA_TEST_TMP;
  std::ostringstream errors;
  PlayEventFile(path, options, errors);
  return errors.str();
}

TEST(MenuWindow, ANarrowWindowShowsShortLabelsThatStillOpenTheMenus) {
  // 79 columns: the shortest labels; the help label stands at column 4.
  EXPECT_EQ(Play("menu_narrow",
                 "expect-text 2 Ma He\n"
                 "click 35 20\n"
                 "expect-prompt Helpfunctions: SELECT HELPFUNCTION !\n"
                 "expect-text 3     Zoom\n"
                 "key Esc\n"
                 "click 5 20\n"
                 "expect-text 3  Add line\n"
                 "key Esc\n"
                 "key 0\n"
                 "expect-text 2 Pt At\n",
                 790, 600),
            "");
  // One column more and the labels grow.
  EXPECT_EQ(Play("menu_wide", "expect-text 2 Main. Help.\n", 800, 600), "");
}

} // namespace
} // namespace lumora
