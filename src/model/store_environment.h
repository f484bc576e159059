// What the element store needs from the rest of the program beyond its painter: messages, the
// view box and the loaded fonts. The screen, view and font subsystems implement it; tests
// record the calls.
#pragma once

#include "geometry/primitives.h"
#include "model/elements.h"
#include "util/text_pair.h"

namespace lumora {

class StoreEnvironment {
public:
  virtual ~StoreEnvironment() = default;

  // An error message box with its sound cue.
  virtual void ShowError(const TextPair& message) = 0;

  virtual void RedrawAll() = 0;
  virtual void RedrawMenuBar() = 0;

  // Width of the visible part of the drawing; pick radii are counted from it.
  virtual double ViewBoxWidth() const = 0;
  // Makes both the view box and the previous view box the given box.
  virtual void SetViewBoxes(const Box& box) = 0;

  virtual int LoadedFontCount() const = 0;

  // The box a text covers on the drawing, with or without its measure points. Where no fonts
  // are laid out (tools without a screen), the box of the points (only the first without
  // measure points).
  virtual Box TextExtent(const TextElement& text, bool includePoints) const;
};

} // namespace lumora
