// Texts brought in through a placement (a part read in, a transformed group), and the
// replacement of a text's string.
#pragma once

#include "geometry/primitives.h"
#include "model/elements.h"
#include "model/store_allocator.h"
#include "text/message_sink.h"

#include <string>
#include <string_view>

namespace lumora {

// Brings the measure angle into the range from -80 to 100 degrees by half turns.
double MeasureAngleInRange(double angle);

// Maps count points by placement and adjusts the text read through it: height by the mean
// scale, mirrored positioning ways and angle, the placement's rotation, the measure angle range;
// a linear measure's value in *value is rewritten for a scaled placement, and a mirrored angle
// measure exchanges its sides. value may be null.
void PlaceText(TextElement& t, Point* points, int count, std::string* value,
               const Transform& placement, double sx, double sy, double angle);

// Gives t the string s when it differs, counting a change. 0 when memory ran out (the old
// string stays and "Memory overflow !" is shown), else 1.
int ReplaceString(TextElement& t, std::string_view s, std::uint32_t& changes,
                  StoreAllocator& allocator, MessageSink& sink);

} // namespace lumora
