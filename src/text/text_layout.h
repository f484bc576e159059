// Where a text element lies: its display string, its box around the first point and its
// extent on the drawing.
#pragma once

#include "geometry/primitives.h"
#include "model/elements.h"
#include "text/font.h"

#include <string_view>

namespace lumora {

inline constexpr std::size_t kMaxDisplayLength = 999;

// Offsets of the text box from the text's first point, before rotation.
struct TextBoxOffsets {
  double dx0 = 0;
  double dy0 = 0;
  double dx1 = 0;
  double dy1 = 0;
};

// The attributes of a text that its layout reads, in drawing units.
struct TextMetrics {
  double h = 0; // text height: height * 0.1 * paperUnit
  double r = 0; // width ratio: widthRatio * 0.1 + 0.4
  double s = 0; // slant ratio: slant * 0.2
};
TextMetrics MetricsOf(int height, int widthRatio, int slant, double paperUnit);

// A variable text "#name#value" shows its value; every other text shows as it is.
std::string_view DisplayString(std::string_view text);

// The string of a text element (empty when it has none).
std::string_view TextOf(const TextElement& t);

// The box of a string in the given font, placed on the first point by the positioning way.
// A font that is not loaded lays out with zero spaces and no lower portion.
TextBoxOffsets TextBox(const Fonts& fonts, std::string_view s, int height, int widthRatio,
                       int positioning, int font, double paperUnit);

// The box a text covers on the drawing; with includePoints also every one of its points and
// every stroke of a measure (its line or arc, arrowheads and extension lines).
Box TextExtent(const Fonts& fonts, double paperUnit, const TextElement& t, bool includePoints);

} // namespace lumora
