// The menus as functions: the main-function menu, the help-function menu and the action popup.
// Each shows its rows in a list and answers the chosen row's code, which the dispatcher then
// handles exactly as the key of that row; Esc answers nothing. The menus share the program's
// row tables (Control::menus), which also remember the row each menu chose last.
#pragma once

#include "protocol/command.h"
#include "ui/menu_rows.h"
#include "ui/select_str.h"

namespace lumora {

inline constexpr TextPair kMainMenuTitle{"Lumora-program: "_l1, "Lumora-ohjelma: "_l1};
inline constexpr TextPair kMainMenuRequest{"^SELECT MAINFUNCTION ! "_l1,
                                           "^VALITSE PÄÄTOIMINTO ! "_l1};
inline constexpr TextPair kHelpMenuTitle{"Helpfunctions: "_l1, "Aputoiminnot: "_l1};
inline constexpr TextPair kHelpMenuRequest{"^SELECT HELPFUNCTION ! "_l1,
                                           "^VALITSE APUTOIMINTO ! "_l1};

struct BarMenuKind;

// A menu of the bar: its rows open below its label.
class BarMenu : public Command {
protected:
  explicit BarMenu(const BarMenuKind& kind) : kind_(kind) {}
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  const BarMenuKind& kind_;
  SelectArgs args_;
};

// 1, or a click on the main label.
class MainMenu final : public BarMenu {
public:
  MainMenu();
};

// 3, or a click on the help label.
class HelpMenu final : public BarMenu {
public:
  HelpMenu();
};

// The right button: the action codes of the running function at the mouse.
class ActionPopup final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  int variant_ = 0;
  SelectArgs args_;
};

} // namespace lumora
