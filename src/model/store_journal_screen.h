// What a step taken back or done again shows on the screen.
#pragma once

#include "model/draw_mode.h"

namespace lumora {

class ElementStore;
struct JournalStep;

// The lines, fillings and texts whose looks the step changes, as they stand on the lists: erased
// (kErase) before the step is taken back or done again, drawn (kNormal) after it. Either way the
// painter keeps their boxes for the repair that follows.
void ShowStep(ElementStore& store, const JournalStep& step, DrawMode mode);

} // namespace lumora
