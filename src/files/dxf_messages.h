// The messages of DXF reading and writing.
#pragma once

#include "util/latin1.h"
#include "util/text_pair.h"

namespace lumora::dxf_messages {

inline constexpr TextPair kSelfInsert{"A block inserts itself, file not read !"_l1,
                                      "Lohko lisää itsensä, tiedostoa ei luettu !"_l1};
inline constexpr TextPair kTooDeep{"Blocks are nested too deeply, file not read !"_l1,
                                   "Lohkot ovat liian syvällä, tiedostoa ei luettu !"_l1};
inline constexpr TextPair kTooMany{"Blocks unfold into too many elements, file not read !"_l1,
                                   "Lohkoista tulee liian monta osaa, tiedostoa ei luettu !"_l1};
// Followed by the kinds and counts, e.g. "12 SPLINE, 3 POINT".
inline constexpr TextPair kNotReadTail{" not read"_l1, " jäi lukematta"_l1};

} // namespace lumora::dxf_messages
