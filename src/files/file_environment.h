// What reading a drawing file needs from the rest of the program beyond the element store (which
// also draws what was read, through its painter): resetting the origins of the view, and the
// plotter set-up that infers the drawing's paper unit. The view and plotting subsystems implement
// it; tests record it.
#pragma once

#include "files/file_reporter.h"
#include "files/placement.h"

#include <string>

namespace lumora {

struct Drawing;
struct Fonts;
struct Setup;
struct PartElement;

class FileEnvironment : public FileReporter {
public:
  // A whole drawing replaces the current one: the global and local origins go back to (0, 0).
  virtual void ResetOrigins() = 0;
  // After a whole drawing's scale and limits are known: sets up plotting, which infers
  // `paperUnit` unless the units were chosen.
  virtual void SetUpPlotter(Drawing& drawing) = 0;
  // Runs a script into the group (none: as the whole drawing). While it waits for the user it
  // answers kStillRunning and is called again with the same arguments; then its result. Where
  // no interpreter is at hand it says so and answers 0.
  virtual int RunScript(const std::string& fileName, PartElement* group, const Placement& placement,
                        bool draw);
  // The setup whose layer names, line styles and sections and filling gaps a foreign file's
  // attributes are matched against. Where none was read: a setup of empty lists.
  virtual const Setup& ReadingSetup() const;
  // The fonts texts read will be plotted in, which weigh a file's letters by their strokes.
  // Where none are at hand: null, and every letter weighs as a letter of a few strokes.
  virtual const Fonts* LetterFonts() const { return nullptr; }
};

// The reader's memory between calls: the name last traced, so that reading the same file
// again does not repeat the trace line.
struct DrawingFileState {
  std::string lastReadName;
};

} // namespace lumora
