#include "commands/help_functions.h"
#include "control/command_state.h"

#include <new>

namespace lumora {
namespace {

class PointerSwitch final : public Function {
public:
  int Step(Control& control) override {
    bool& shown = control.state.mousePointerShown;
    shown = !shown;
    CallHook(control.hooks.showMousePointer, shown);
    return kFinished;
  }
};

} // namespace

std::unique_ptr<Function> MakePointerSwitch() {
  return std::unique_ptr<Function>(new (std::nothrow) PointerSwitch);
}

} // namespace lumora
