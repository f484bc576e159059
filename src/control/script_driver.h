// Runs a script as a whole drawing without a window: each question takes the next canned
// answer, then the lines of an event file; pauses cost only the clock's time, and a run past
// its line limit gets Esc.
#pragma once

#include "files/placement.h"

#include <iosfwd>
#include <span>
#include <string>

namespace lumora {

struct App;
struct EventChecks;
struct PartElement;

// An event file played while a run waits for the user: keys, typed text and clicks go to the
// run through the window's translation; expectations are checked against the screen as it
// stands and outputs are written, as the event player does them.
struct ScriptEventLines {
  std::istream& lines;
  EventChecks& checks;
  std::string name;    // the file, for the problem line
  int number = 0;      // the last line read
  std::string problem; // set by the first line that fails: file, line number and why
};

struct ScriptDrive {
  std::span<const std::string> answers; // entries typed then Enter; yes/no "y" or "n"; lists
                                        // and data files the row's number
  long long lineLimit = 10'000'000;     // Esc once this many lines have run
  PartElement* group = nullptr;         // none: the script is the whole drawing
  Placement placement{};
  bool draw = true;
  ScriptEventLines* events = nullptr; // played once the answers are used up
};

// The run's result: 1 the end of the script, 0 cancelled (nothing left to answer with), -1
// aborted.
int DriveScript(App& app, const std::string& path, const ScriptDrive& drive);

// The event lines left once the run has ended: only expectations and outputs may stand there.
// False with the problem set when one fails or a line would need the run.
bool FinishEventLines(ScriptEventLines& events);

} // namespace lumora
