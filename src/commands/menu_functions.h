// The menus as functions: the main-function menu, the help-function menu and the action popup.
// Each shows its rows in a list and answers the chosen row's code, which the dispatcher then
// handles exactly as the key of that row; Esc answers nothing. The menus share the program's
// row tables (Control::menus), which also remember the row each menu chose last.
#pragma once

#include "control/command_table.h"
#include "ui/menu_rows.h"

#include <memory>

namespace lumora {

inline constexpr int kCodeMainMenuKey = '1';
inline constexpr int kCodeHelpMenuKey = '3';

inline constexpr TextPair kMainMenuTitle{"Lumora-program: "_l1, "Lumora-ohjelma: "_l1};
inline constexpr TextPair kMainMenuRequest{"^SELECT MAINFUNCTION ! "_l1,
                                           "^VALITSE PÄÄTOIMINTO ! "_l1};
inline constexpr TextPair kHelpMenuTitle{"Helpfunctions: "_l1, "Aputoiminnot: "_l1};
inline constexpr TextPair kHelpMenuRequest{"^SELECT HELPFUNCTION ! "_l1,
                                           "^VALITSE APUTOIMINTO ! "_l1};

std::unique_ptr<Function> MakeMainMenu();
std::unique_ptr<Function> MakeHelpMenu();
std::unique_ptr<Function> MakeActionPopup();

} // namespace lumora
