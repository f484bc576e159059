// Help functions that switch a program-wide setting or show the information box.
#pragma once

#include "control/functions.h"

#include <memory>

namespace lumora {

struct Menus;

// 0: the other language, with the menus rebuilt and the screen repainted.
std::unique_ptr<Function> MakeLanguageSwitch();
// x: hide or show the mouse pointer.
std::unique_ptr<Function> MakePointerSwitch();
// §: a white sheet becomes black and back.
std::unique_ptr<Function> MakeBackgroundSwitch();
// The information label: the version and contact box, closed by any key.
std::unique_ptr<Function> MakeInformationBox();

} // namespace lumora
