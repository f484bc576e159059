// Messages that the dispatcher, the prompts and the commands all give.
#pragma once

#include "util/text_pair.h"

namespace lumora {

inline constexpr TextPair kNotInUse{"Not in use !"_l1, "Ei toimintaa !"_l1};
inline constexpr TextPair kNotFound{"Not found !"_l1, "Ei löydetty !"_l1};
inline constexpr TextPair kNotInsideDrawingArea{"Not inside drawing area !"_l1,
                                                "Ei piirto alueella !"_l1};
inline constexpr TextPair kNothingToBeDone{"Nothing to be done !"_l1, "Ei tehtävää !"_l1};
inline constexpr TextPair kSamePointNotAllowed{"Same point not allowed !"_l1,
                                               "Ei saa olla sama piste !"_l1};
inline constexpr TextPair kSamePointMessage{"Same point !"_l1, "Sama piste !"_l1};

} // namespace lumora
