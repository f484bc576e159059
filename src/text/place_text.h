// Adapting a text to a placement (location, scale factors, rotation), and replacing a text's
// string.
#pragma once

#include "geometry/primitives.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lumora {

struct Drawing;
struct TextElement;
class StoreAllocator;
class StoreEnvironment;

inline constexpr std::uint32_t kTextHeightMax = 511;
inline constexpr std::uint32_t kTextHeightMin = 1;

// A computed text height fitted to its 9-bit field of tenths of a millimetre: 511 from 510.999
// up (and for anything not a number), otherwise the whole part, and never 0.
std::uint32_t ClampTextHeight(double height);

// Longest value text a placement rebuilds.
inline constexpr std::size_t kPlacedValueMax = 1000;

// Maps the text's points by m and adapts its height, angle and positioning way to the scale
// factors, mirrors and rotation. For a linear measure with a value given, a number in the value
// is brought up to the new measured length; an angle measure that is mirrored swaps its sides.
// The text record and points are changed in place; the value is rebuilt in place.
void PlaceText(TextElement& text, std::span<Point> points, std::string* value, const Transform& m,
               double sx, double sy, double angle);

// Replaces the text's string when it differs, counting a change. A failed allocation keeps the
// old string, shows "Memory overflow !" and answers 0; otherwise 1.
int ReplaceString(Drawing& drawing, StoreAllocator& allocator, StoreEnvironment& env,
                  TextElement& text, std::string_view value);

} // namespace lumora
