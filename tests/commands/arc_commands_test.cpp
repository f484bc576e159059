// The undo of Add arc: what comes back is what the last element was made from, and an element
// taken back is forgotten.
#include "support/play_events.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using testing::PlayEvents;

TEST(ArcUndo, AnElementTakenBackIsForgottenAndARefusedEndKeepsTheUndo) {
  // Arc, then a new centre and start with an end refused on the start: undo still brings back
  // the arc's own centre and start, and a second undo of it has nothing left to delete.
  EXPECT_EQ(PlayEvents("arc_undo", "key F2\nkey Enter\n"
                                   "enter 100 100\nenter 110 100\nenter 100 105\n"
                                   "enter 50 50\nenter 60 50\nenter 70 50\n"
                                   "expect-message Same point !\n"
                                   "key Backspace\nkey Backspace\n"
                                   "expect-prompt Adding arc: ENTER CENTER POINT !\n"
                                   "key Backspace\n"
                                   "expect-count lines 0\n"
                                   "expect-prompt Adding arc: ENTER END POINT !\n"
                                   "enter 100 90\n"
                                   "expect-count lines 1\n"
                                   "expect-dump  ps0:3 shape:3    100.0,  100.0    110.0,  100.0"
                                   "    100.0,   90.0 \n"
                                   "key Backspace\nkey Backspace\nkey Backspace\nkey Backspace\n"
                                   "expect-message Nothing to be done !\n"
                                   "expect-count lines 0\n"),
            "");
}

} // namespace
} // namespace lumora
