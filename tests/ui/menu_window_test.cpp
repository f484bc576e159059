#include "support/play_events.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using testing::PlayEvents;

TEST(MenuWindow, ANarrowWindowShowsShortLabelsThatStillOpenTheMenus) {
  // 79 columns: the shortest labels; the help label stands at column 4.
  EXPECT_EQ(PlayEvents("menu_narrow",
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
  EXPECT_EQ(PlayEvents("menu_wide", "expect-text 2 Main. Help.\n", 800, 600), "");
}

} // namespace
} // namespace lumora
