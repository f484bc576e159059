#include "commands/program_commands.h"

#include "commands/drawing_report.h"
#include "commands/help_functions.h"
#include "commands/help_grid.h"
#include "commands/menu_functions.h"
#include "commands/quit.h"

namespace lumora {

CommandTable ProgramCommands() {
  return CommandTable({
      // code, level, function, conditions, family
      {kCodeEsc, Level::kHelp, Make<Quit>, kOnlyWhenIdle},
      {kCodeLanguage, Level::kHelp, Make<LanguageSwitch>, kCursorModeOnly},
      {kCodePointer, Level::kHelp, Make<PointerSwitch>, 0},
      {kCodeBackground, Level::kHelp, Make<BackgroundSwitch>, kNotWithWindows | kExclusive},
      {kCodeInformation, Level::kHelp, Make<InformationBox>, kExclusive},
      {kCodeGridSize, Level::kHelp, Make<GridSize>, kExclusive},
      {kCodeMainMenuKey, Level::kMain, Make<MainMenu>},
      {kCodeMainMenu, Level::kMain, Make<MainMenu>, kExclusive, kCodeMainMenuKey},
      {kCodeHelpMenuKey, Level::kHelpMenu, Make<HelpMenu>},
      {kCodeHelpMenu, Level::kHelpMenu, Make<HelpMenu>, kExclusive, kCodeHelpMenuKey},
      {kCodePopup, Level::kPopup, Make<ActionPopup>},
      {kCodeDrawingReport, Level::kMain, Make<DrawingReport>},
  });
}

} // namespace lumora
