#include "commands/menu_functions.h"
#include "control/command_state.h"
#include "ui/action_popup.h"
#include "ui/select_str.h"

#include <new>

namespace lumora {
namespace {

// The action popup: the action codes of the running function at the mouse.
class ActionPopup final : public Function {
public:
  int Step(Control& control) override {
    if (control.screen == nullptr || control.menus == nullptr || control.prompts == nullptr) {
      return kFinished;
    }
    if (!open_) Begin(control);
    Menus& menus = *control.menus;
    const MenuTable& table = PopupTable(menus, variant_);
    const int answer = SelectStr(control, *control.prompts, args_, table.Texts());
    if (answer == kStillRunning) return kStillRunning;
    EndFunction(control, Level::kPopup);
    if (answer < 0) return kFinished;
    menus.lastPopup[static_cast<std::size_t>(variant_)] = answer;
    return table.CodeAt(answer);
  }

private:
  void Begin(Control& control) {
    Menus& menus = *control.menus;
    open_ = true;
    EnsureMenus(menus, control.Lang());
    // The popup acts on the step of the running function: the points of the element in the
    // making must still be there when its choice arrives.
    const InputRecord kept = control.In();
    BeginFunction(control, Level::kPopup, kCodePopup);
    control.In() = kept;
    variant_ = PopupVariantIndex(control.state.actionVariant);
    const MenuTable& table = PopupTable(menus, variant_);
    const TextScreen& screen = *control.screen;
    const Cell place = PopupPlace(kept.mouseX, kept.mouseY, table.Count(), table.Width(),
                                  screen.rows, screen.columns);
    args_ = {place.row,
             place.column,
             table.Count(),
             table.Width(),
             menus.lastPopup[static_cast<std::size_t>(variant_)],
             true,
             false};
  }

  bool open_ = false;
  int variant_ = 0;
  SelectArgs args_;
};

} // namespace

std::unique_ptr<Function> MakeActionPopup() {
  return std::unique_ptr<Function>(new (std::nothrow) ActionPopup);
}

} // namespace lumora
