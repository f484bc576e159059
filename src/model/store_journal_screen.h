// What a step taken back or done again touches, and what it shows on the screen.
#pragma once

#include "model/draw_mode.h"
#include "model/elements.h"

#include <vector>

namespace lumora {

class ElementStore;
struct JournalStep;

// The records a step put on or took off their lists or changed in place, each once, and
// whether it changed the header.
struct StepRecords {
  std::vector<LineElement*> lines;
  std::vector<FillingElement*> fillings;
  std::vector<TextElement*> texts;
  std::vector<PartElement*> parts;
  bool header = false;
};
StepRecords RecordsOf(const JournalStep& step);

// The lines, fillings and texts whose looks the step changes (its records on the lists, and the
// fillings their lines bound), as they stand: erased (kErase) before the step is taken back or
// done again, drawn (kNormal) after it. Either way the painter keeps their boxes for the repair
// that follows.
void ShowStep(ElementStore& store, const StepRecords& records, DrawMode mode);

} // namespace lumora
