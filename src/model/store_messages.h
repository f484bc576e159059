// Messages of the element store, shared by every layer that reports the same failure.
#pragma once

#include "util/latin1.h"
#include "util/text_pair.h"

namespace lumora::store_messages {

// An allocation failed; nothing was added. One text for both languages.
inline constexpr TextPair kMemoryOverflow{"Memory overflow !"_l1, "Memory overflow !"_l1};
// A point whose coordinate is not a finite number: it could be saved but never read back.
inline constexpr TextPair kNotFinite{"Coordinate is not a finite number !"_l1,
                                     "Koordinaatti ei ole äärellinen luku !"_l1};

} // namespace lumora::store_messages
