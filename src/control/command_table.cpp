#include "control/command_table.h"

#include "commands/drawing_report.h"
#include "commands/help_functions.h"
#include "commands/menu_functions.h"
#include "commands/quit.h"
#include "control/command_state.h"

#include <algorithm>

namespace lumora {

void CommandTable::Add(const CommandRow& row) {
  auto same = std::find_if(rows_.begin(), rows_.end(),
                           [&](const CommandRow& r) { return r.code == row.code; });
  if (same != rows_.end()) {
    *same = row;
  } else {
    rows_.push_back(row);
  }
}

const CommandRow* CommandTable::Find(int code) const {
  auto row =
      std::find_if(rows_.begin(), rows_.end(), [&](const CommandRow& r) { return r.code == code; });
  return row != rows_.end() ? &*row : nullptr;
}

CommandTable ProgramCommands() {
  // The menus' rows, shared by the menus and rebuilt in the other language by its switch.
  const auto menus = std::make_shared<Menus>();
  return CommandTable({
      // code, level, function, conditions
      {kCodeEsc, Level::kHelp, MakeQuit, kOnlyWhenIdle},
      {kCodeLanguage, Level::kHelp, [menus] { return MakeLanguageSwitch(menus); }, kCursorModeOnly},
      {kCodePointer, Level::kHelp, MakePointerSwitch, 0},
      {kCodeBackground, Level::kHelp, MakeBackgroundSwitch, kNotWithWindows | kExclusive},
      {kCodeInformation, Level::kHelp, MakeInformationBox, kExclusive},
      {kCodeMainMenuKey, Level::kMain, MainMenuFactory(menus)},
      {kCodeMainMenu, Level::kMain, MainMenuFactory(menus), kExclusive, kCodeMainMenuKey},
      {kCodeHelpMenuKey, Level::kHelpMenu, HelpMenuFactory(menus)},
      {kCodeHelpMenu, Level::kHelpMenu, HelpMenuFactory(menus), kExclusive, kCodeHelpMenuKey},
      {kCodePopup, Level::kPopup, ActionPopupFactory(menus)},
      {kCodeDrawingReport, Level::kMain, MakeDrawingReport},
  });
}

} // namespace lumora
