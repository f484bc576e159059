#include "commands/program_commands.h"

#include "commands/arc_commands.h"
#include "commands/area_commands.h"
#include "commands/drawing_report.h"
#include "commands/edit_commands.h"
#include "commands/file_commands.h"
#include "commands/filling_commands.h"
#include "commands/help_functions.h"
#include "commands/help_grid.h"
#include "commands/help_snaps.h"
#include "commands/help_view.h"
#include "commands/line_commands.h"
#include "commands/measure_commands.h"
#include "commands/menu_functions.h"
#include "commands/overlap_check.h"
#include "commands/part_commands.h"
#include "commands/plot_commands.h"
#include "commands/quit.h"
#include "commands/text_commands.h"
#include "properties/layer_visibility.h"
#include "properties/property_functions.h"

namespace lumora {
namespace {

constexpr std::uint32_t kAnyElement = ElementBit(kElementLine) | ElementBit(kElementFilling) |
                                      ElementBit(kElementText) | ElementBit(kElementPart);
constexpr std::uint32_t kLines = ElementBit(kElementLine);
constexpr std::uint32_t kFillings = ElementBit(kElementFilling);
constexpr std::uint32_t kTexts = ElementBit(kElementText);
constexpr std::uint32_t kParts = ElementBit(kElementPart);

// A key letter of the properties: its selector on the element types it applies to.
CommandRow KeyRow(int code, Attribute attribute, std::uint32_t appliesTo) {
  return {code,
          Level::kProperty,
          [attribute] { return Make<PropertyKey>(attribute); },
          kExclusive,
          0,
          kElementNone,
          appliesTo};
}

} // namespace

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
      // Plotting.
      {kCodePrint, Level::kMain, Make<Print>},
      {kCodeScale, Level::kMain, Make<ScaleCommand>},
      {kCodePlotArea, Level::kMain, Make<PlotAreaCommand>},
      // The arc commands.
      {kCodeAddArc, Level::kMain, Make<AddArc>, kExclusive, 0, kElementLine},
      {kCodeArcViaPoints, Level::kMain, Make<ArcViaPoints>, kExclusive, 0, kElementLine},
      {kCodeRounding, Level::kMain, Make<Rounding>, kExclusive, 0, kElementLine},
      // The text and measure commands.
      {kCodeAddText, Level::kMain, Make<AddText>, kExclusive, 0, kElementText},
      {kCodeAddMeasure, Level::kMain, Make<AddMeasure>, kExclusive, 0, kElementText},
      {kCodeAngleMeasure, Level::kMain, Make<AngleMeasure>, kExclusive, 0, kElementText},
      // The line commands.
      {kCodeAddLine, Level::kMain, Make<AddLine>, kExclusive, 0, kElementLine},
      {kCodeCloneLine, Level::kMain, Make<CloneLine>, kExclusive, 0, kElementLine},
      // The filling commands.
      {kCodeAddFilling, Level::kMain, Make<AddFilling>, kExclusive, 0, kElementFilling},
      {kCodeSurfaceArea, Level::kMain, Make<SurfaceArea>, kExclusive},
      {kCodeClipLine, Level::kMain, Make<ClipLine>, kExclusive},
      {kCodeDeletePartOfLine, Level::kMain, Make<ClipLine>, kExclusive},
      // Editing and deleting what is drawn.
      {kCodeEdit, Level::kMain, Make<EditElement>},
      {kCodeDeleteElements, Level::kMain, Make<DeleteElement>},
      {kCodeDeleteArea, Level::kMain, Make<DeleteArea>},
      // The view and the cursor.
      {kCodeZoomAll, Level::kHelp, Make<ZoomAll>, kNotWithWindows | kExclusive},
      {kCodePreviousZoom, Level::kHelp, Make<PreviousZoom>, kNotWithWindows | kExclusive},
      {kCodeSnapLine, Level::kHelp, Make<SnapSwitch>, kExclusive},
      {kCodeSnapPoint, Level::kHelp, Make<SnapSwitch>, kExclusive},
      {kCodeSnapIntersection, Level::kHelp, Make<SnapSwitch>, kExclusive},
      {kCodeSnapNone, Level::kHelp, Make<SnapSwitch>, kExclusive},
      {kCodeSnapList, Level::kHelp, Make<SnapList>, kExclusive},
      {kCodeSnapAgain, Level::kHelp, Make<SnapList>, kExclusive},
      {kCodeCursorSize, Level::kHelp, Make<CursorLinesSwitch>, kCursorModeOnly | kExclusive},
      {kCodeCursorAngle, Level::kHelp, Make<CursorAngle>, kCursorModeOnly | kExclusive},
      {kCodeHorizontal, Level::kHelp, Make<AxisDirection>, kCursorModeOnly | kExclusive},
      {kCodeVertical, Level::kHelp, Make<AxisDirection>, kCursorModeOnly | kExclusive},
      {kCodeToOriginDxDy, Level::kHelp, Make<ToOrigin>, kCursorModeOnly | kExclusive},
      {kCodeToOriginXY, Level::kHelp, Make<ToOrigin>, kCursorModeOnly | kExclusive},
      {kCodeWriteDxDy, Level::kHelp, Make<WriteCoordinates>, kCursorModeOnly | kExclusive},
      {kCodeWriteXY, Level::kHelp, Make<WriteCoordinates>, kCursorModeOnly | kExclusive},
      {kCodeLocalOriginHere, Level::kHelp, Make<LocalOriginHere>, kCursorModeOnly},
      {kCodeLeft, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeUp, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeRight, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeDown, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeShiftLeft, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeShiftUp, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeShiftRight, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeShiftDown, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeCtrlLeft, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeCtrlUp, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeCtrlRight, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeCtrlDown, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeAltLeft, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeAltUp, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeAltRight, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeAltDown, Level::kHelp, Make<CursorStep>, kCursorModeOnly | kOwnKeyCue},
      {kCodeZoomArea, Level::kHelpMenu, Make<ZoomArea>, kNotWithWindows | kExclusive},
      {kCodeTransferZoom, Level::kHelpMenu, [] { return Make<ZoomArea, bool>(true); },
       kNotWithWindows | kExclusive},
      {kCodeMoveOriginDxDy, Level::kProperty, Make<MoveOrigin>},
      {kCodeMoveOriginXY, Level::kProperty, Make<MoveOrigin>},
      {kCodeEnterDirection, Level::kProperty, Make<EnterDirection>},
      // Properties: the dialogs, the key letters and the layers' visibility.
      {kCodePropertiesMenuKey, Level::kProperty, Make<PropertyDialog>, kExclusive, 0, kElementNone,
       kAnyElement},
      {kCodePropertiesMenu, Level::kProperty, Make<PropertyDialog>, kExclusive,
       kCodePropertiesMenuKey, kElementNone, kAnyElement},
      {kCodeShapeSwitch, Level::kProperty, Make<ShapeSwitch>, kExclusive | kNotDuringEdit, 0,
       kElementNone, kLines},
      {kCodeMirrorKey, Level::kProperty, Make<MirrorStep>, kExclusive, 0, kElementNone, kParts},
      KeyRow(kCodeAngleKey, Attribute::kAngle, kFillings | kTexts | kParts),
      KeyRow(kCodeColourKey, Attribute::kColour, kAnyElement),
      KeyRow(kCodeFontKey, Attribute::kFont, kTexts),
      KeyRow(kCodeGapKey, Attribute::kGap, kFillings),
      KeyRow(kCodeHeightKey, Attribute::kHeight, kTexts),
      KeyRow(kCodeWidthRatioKey, Attribute::kWidthRatio, kTexts),
      KeyRow(kCodeSlantKey, Attribute::kSlant, kTexts),
      KeyRow(kCodeLayerKey, Attribute::kLayer, kAnyElement),
      KeyRow(kCodePositioningKey, Attribute::kPositioning, kTexts),
      KeyRow(kCodeSectionKey, Attribute::kSection, kLines),
      KeyRow(kCodeStyleKey, Attribute::kStyle, kLines),
      KeyRow(kCodeWidthKey, Attribute::kWidth, kAnyElement),
      KeyRow(kCodePartSizeKey, Attribute::kPartSize, kParts),
      {kCodeLayers, Level::kHelp, Make<LayerVisibility>, kNotWithWindows | kExclusive},
      // The drawing-file and part commands.
      {kCodeReadDrawing, Level::kMain, Make<ReadDrawing>},
      {kCodeSave, Level::kMain, Make<SaveDrawing>},
      {kCodeDeleteAll, Level::kMain, Make<NewDrawing>},
      {kCodeUpdateTexts, Level::kMain, Make<UpdateTexts>},
      {kCodeCheckOverlaps, Level::kMain, Make<CheckOverlaps>},
      {kCodeRemovePartDefinition, Level::kMain, Make<RemovePartDefinition>},
      {kCodeAddPart, Level::kMain, Make<AddPart>, kExclusive, 0, kElementPart},
      {kCodeAddDrawing, Level::kMain, Make<AddPart>, kExclusive, 0, kElementPart},
      {kCodeSavePart, Level::kMain, Make<SavePart>},
      // Stretching, copying and moving areas.
      {kCodeStretch, Level::kMain, Make<Stretch>, kExclusive},
      {kCodeCopy, Level::kMain, Make<CopyArea>, kExclusive},
  });
}

} // namespace lumora
