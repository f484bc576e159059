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
  return CommandTable({
      // code, level, function, conditions
      {kCodeEsc, Level::kHelp, MakeQuit, kOnlyWhenIdle},
      {kCodeLanguage, Level::kHelp, MakeLanguageSwitch, kCursorModeOnly},
      {kCodePointer, Level::kHelp, MakePointerSwitch, 0},
      {kCodeBackground, Level::kHelp, MakeBackgroundSwitch, kNotWithWindows | kExclusive},
      {kCodeInformation, Level::kHelp, MakeInformationBox, kExclusive},
      {kCodeMainMenuKey, Level::kMain, MakeMainMenu},
      {kCodeMainMenu, Level::kMain, MakeMainMenu, kExclusive, kCodeMainMenuKey},
      {kCodeHelpMenuKey, Level::kHelpMenu, MakeHelpMenu},
      {kCodeHelpMenu, Level::kHelpMenu, MakeHelpMenu, kExclusive, kCodeHelpMenuKey},
      {kCodePopup, Level::kPopup, MakeActionPopup},
      {kCodeDrawingReport, Level::kMain, MakeDrawingReport},
  });
}

} // namespace lumora
