// The event player: drives the program from an event file exactly as a person at the window
// would, through the same event cycle as the window's callbacks, on a SoftCanvas with a fake
// clock and a recording sound player, and checks the expectations the file states.
#pragma once

#include "control/startup_headless.h"

#include <iosfwd>
#include <string>

namespace lumora {

class PageOutput;

struct PlayOptions {
  HeadlessOptions start;
  std::string goldenDir;       // screenshots are compared exactly with the pictures here
  std::string outDir;          // where screenshots, saves, dumps and failed comparisons go
  PageOutput* pages = nullptr; // where Print writes its page; none: nothing to plot on
};

// Plays the event file. 0 when every line was played and every expectation held; otherwise
// one line naming the file, the line number, what was expected and what was there goes to
// `errors`, and the result is 1.
int PlayEventFile(const std::string& path, const PlayOptions& options, std::ostream& errors);

} // namespace lumora
