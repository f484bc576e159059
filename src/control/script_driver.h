// Runs a script as a whole drawing without a window: each question takes the next canned
// answer, pauses cost only the clock's time, and a run past its line limit gets Esc.
#pragma once

#include "files/placement.h"

#include <span>
#include <string>

namespace lumora {

struct App;
struct PartElement;

struct ScriptDrive {
  std::span<const std::string> answers; // entries typed then Enter; yes/no "y" or "n"; lists
                                        // the item's number
  long long lineLimit = 10'000'000;     // Esc once this many lines have run
  PartElement* group = nullptr;         // none: the script is the whole drawing
  Placement placement{};
  bool draw = true;
};

// The run's result: 1 the end of the script, 0 cancelled (no answer left), -1 aborted.
int DriveScript(App& app, const std::string& path, const ScriptDrive& drive);

} // namespace lumora
