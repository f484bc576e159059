#include "commands/help_functions.h"
#include "protocol/command_state.h"
#include "protocol/window_services.h"
#include "screen/text_screen.h"
#include "ui/menu_rows.h"

namespace lumora {

int LanguageSwitch::Step(Control& control, const CommandRow& /*row*/) {
  control.language =
      control.language == Language::kEnglish ? Language::kFinnish : Language::kEnglish;
  BuildMenus(control.menus, control.language);
  ForgetPromptLine(control.screen);
  control.window.Repaint();
  return kFinished;
}

int PointerSwitch::Step(Control& control, const CommandRow& /*row*/) {
  bool& shown = control.state.mousePointerShown;
  shown = !shown;
  control.window.ShowMousePointer(shown);
  return kFinished;
}

int BackgroundSwitch::Step(Control& control, const CommandRow& /*row*/) {
  bool& white = control.state.whiteBackground;
  white = !white;
  if (Canvas* canvas = control.screen.canvas) {
    canvas->SetBackground(white ? Background::kLight : Background::kDark);
  }
  ForgetPromptLine(control.screen);
  control.window.Repaint();
  return kFinished;
}

} // namespace lumora
