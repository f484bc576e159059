// The information box: the program's version and contact lines, opened from the information
// label of the menu bar and closed by any key.
#pragma once

#include "util/text_pair.h"

namespace lumora {

struct TextScreen;

inline constexpr TextPair kVersionLine{"Lumora version 2.11 (23.5.2018)"_l1,
                                       "Lumora versio 2.11 (23.5.2018)"_l1};
inline constexpr TextPair kInformationTitle{"Information: "_l1, "Informaatiota: "_l1};
inline constexpr TextPair kPressAnyKey{"^PRESS ANY KEY ! "_l1, "^KUITTAA ! "_l1};

// Opens the box at row 3 against the right edge and writes its lines; false when refused.
bool OpenInformationBox(TextScreen& screen);

// Writes the texts of the open box again, after a full repaint left it empty.
void WriteInformationBox(TextScreen& screen);

// A key for the open box: a non-zero raw key closes it (0), anything else keeps it (88888).
int InformationBoxKey(TextScreen& screen, int rawKey);

} // namespace lumora
