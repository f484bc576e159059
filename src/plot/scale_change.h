// A change of the drawing's scale: the new sheet, and with a proportional change the widths
// and text heights that keep the drawing looking the same on paper.
#pragma once

#include "model/drawing.h"

namespace lumora {

// The sheet of the new scale grown (or shrunk) about its lower left corner, so the paper it
// stands for stays the same size.
Box SheetAtScale(const Box& limits, double oldScale, double newScale);

// A width (tenths of a millimetre) or text height at the new scale: clamped to what its field
// holds, at least 1, and rounded.
int ProportionalWidth(int width, double oldScale, double newScale);
int ProportionalHeight(int height, double oldScale, double newScale);

// Sets the scale and the sheet; with proportional, every line's, filling's and text's width
// and every text's height follow. Counts as a change of the drawing.
void ApplyScaleChange(Drawing& drawing, double newScale, const Box& newLimits, bool proportional);

} // namespace lumora
