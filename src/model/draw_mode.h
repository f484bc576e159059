// How an element is put on the screen. The screen's colour value of an element is its colour
// times the mode's value: erasing paints with the background, highlighting picks the highlight
// colours, and inversion (value 0) draws with the inverting pen, so drawing twice restores the
// pixels.
#pragma once

namespace lumora {

enum class DrawMode : int { kInvert = 0, kNormal = 1, kHighlight = 100, kErase = -1 };

// The colour value the screen pen takes for an element of the colour drawn in the mode.
constexpr int ColourValue(int colour, DrawMode mode) {
  return colour * static_cast<int>(mode);
}

} // namespace lumora
