// Quitting: Esc with nothing running, or the window being closed. An unsaved drawing is
// protected by a question.
#pragma once

#include "control/functions.h"

#include <memory>

namespace lumora {

inline constexpr TextPair kQuitTitle{"Quitting Lumora-program: "_l1,
                                     "Lumora-ohjelman lopetus: "_l1};
inline constexpr TextPair kNotSavedTitle{"You have not saved drawing: "_l1,
                                         "Et ole muistanut tallentaa: "_l1};
inline constexpr TextPair kAreYouSure{"^ARE YOU SURE ? "_l1, "^OLETKO VARMA ? "_l1};
inline constexpr TextPair kQuitting{"Quitting ?"_l1, "Lopetus ?"_l1};
inline constexpr TextPair kNotSaved{"You have not saved drawing !"_l1,
                                    "Et ole muistanut tallentaa !"_l1};

std::unique_ptr<Function> MakeQuit();

} // namespace lumora
