#include "commands/menu_functions.h"
#include "protocol/command_state.h"
#include "ui/action_popup.h"

namespace lumora {

int ActionPopup::Start(Control& control, const CommandRow& row) {
  Menus& menus = control.menus;
  EnsureMenus(menus, control.Lang());
  // The popup acts on the step of the running function: the points of the element in the
  // making must still be there when its choice arrives.
  const InputRecord kept = control.In();
  BeginFunction(control, row);
  control.In() = kept;
  variant_ = PopupVariantIndex(control.state.actionVariant);
  const MenuTable& table = PopupTable(menus, variant_);
  const TextScreen& screen = control.screen;
  const Cell place = PopupPlace(kept.mouseX, kept.mouseY, table.Count(), table.Width(), screen.rows,
                                screen.columns);
  args_ = {place.row,
           place.column,
           table.Count(),
           table.Width(),
           menus.lastPopup[static_cast<std::size_t>(variant_)],
           true,
           false};
  return Continue(control, row);
}

int ActionPopup::Continue(Control& control, const CommandRow& row) {
  Menus& menus = control.menus;
  const MenuTable& table = PopupTable(menus, variant_);
  const int answer = SelectStr(control, control.prompts, args_, table.Texts());
  if (answer == kStillRunning) return kStillRunning;
  EndFunction(control, row.level);
  if (answer < 0) return kFinished;
  menus.lastPopup[static_cast<std::size_t>(variant_)] = answer;
  return table.CodeAt(answer);
}

} // namespace lumora
