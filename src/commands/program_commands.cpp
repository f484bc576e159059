#include "commands/program_commands.h"

#include "commands/drawing_report.h"
#include "commands/help_functions.h"
#include "commands/help_grid.h"
#include "commands/help_view.h"
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
      // The view and the cursor.
      {kCodeZoomAll, Level::kHelp, Make<ZoomAll>, kNotWithWindows | kExclusive},
      {kCodePreviousZoom, Level::kHelp, Make<PreviousZoom>, kNotWithWindows | kExclusive},
      {kCodeSnapLine, Level::kHelp, Make<SnapSwitch>, kExclusive},
      {kCodeSnapPoint, Level::kHelp, Make<SnapSwitch>, kExclusive},
      {kCodeSnapIntersection, Level::kHelp, Make<SnapSwitch>, kExclusive},
      {kCodeSnapNone, Level::kHelp, Make<SnapSwitch>, kExclusive},
      {kCodeCursorSize, Level::kHelp, Make<CursorLinesSwitch>, kCursorModeOnly | kExclusive},
      {kCodeCursorAngle, Level::kHelp, Make<CursorAngle>, kCursorModeOnly | kExclusive},
      {kCodeHorizontal, Level::kHelp, Make<AxisDirection>, kCursorModeOnly | kExclusive},
      {kCodeVertical, Level::kHelp, Make<AxisDirection>, kCursorModeOnly | kExclusive},
      {kCodeToOriginDxDy, Level::kHelp, Make<ToOrigin>, kCursorModeOnly | kExclusive},
      {kCodeToOriginXY, Level::kHelp, Make<ToOrigin>, kCursorModeOnly | kExclusive},
      {kCodeWriteDxDy, Level::kHelp, Make<WriteCoordinates>, kCursorModeOnly | kExclusive},
      {kCodeWriteXY, Level::kHelp, Make<WriteCoordinates>, kCursorModeOnly | kExclusive},
      {kCodeLocalOriginHere, Level::kHelp, Make<LocalOriginHere>, kCursorModeOnly},
      {kCodeLeft, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeUp, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeRight, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeDown, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeShiftLeft, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeShiftUp, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeShiftRight, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeShiftDown, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeCtrlLeft, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeCtrlUp, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeCtrlRight, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeCtrlDown, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeAltLeft, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeAltUp, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeAltRight, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeAltDown, Level::kHelp, Make<CursorStep>, kCursorModeOnly},
      {kCodeZoomArea, Level::kHelpMenu, Make<ZoomArea>, kNotWithWindows | kExclusive},
      {kCodeTransferZoom, Level::kHelpMenu, [] { return Make<ZoomArea, bool>(true); },
       kNotWithWindows | kExclusive},
      {kCodeMoveOriginDxDy, Level::kProperty, Make<MoveOrigin>},
      {kCodeMoveOriginXY, Level::kProperty, Make<MoveOrigin>},
      {kCodeEnterDirection, Level::kProperty, Make<EnterDirection>},
  });
}

} // namespace lumora
