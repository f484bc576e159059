// The command codes: every key, mouse button, pseudo-code and result the step machines trade.
// Each number is named once here; the command table, the menus, the dispatcher, the prompts
// and the tests all use these names.
#pragma once

namespace lumora {

// ---- Results of a step machine ----
inline constexpr int kFinished = 0;         // done, nothing further
inline constexpr int kStillRunning = 88888; // called again with the next code
inline constexpr int kContinueTick = 77777; // the extra code that lets a text entry redraw

// ---- Raw keys that are not keys ----
inline constexpr int kRawNone = 0; // the continue tick, a motion, a menu's chained code
inline constexpr int kRawClick = -1;
inline constexpr int kRawGeneratedEsc = -2;

// ---- Mouse buttons as the event cycle hands them to translation ----
inline constexpr int kCodeLeftButton = 1;
inline constexpr int kCodeRightButton = 2;

// ---- Special keys: the window system's key number plus an offset for the modifier ----
inline constexpr int kSpecialPlain = 1000; // no modifier, or more than one
inline constexpr int kSpecialShift = 2000;
inline constexpr int kSpecialCtrl = 3000;
inline constexpr int kSpecialAlt = 4000;

inline constexpr int kKeyF1 = 1;
inline constexpr int kKeyF2 = 2;
inline constexpr int kKeyF3 = 3;
inline constexpr int kKeyF4 = 4;
inline constexpr int kKeyF5 = 5;
inline constexpr int kKeyF6 = 6;
inline constexpr int kKeyF7 = 7;
inline constexpr int kKeyF8 = 8;
inline constexpr int kKeyF9 = 9;
inline constexpr int kKeyF10 = 10;
inline constexpr int kKeyF11 = 11;
inline constexpr int kKeyF12 = 12;
inline constexpr int kKeyLeft = 100;
inline constexpr int kKeyUp = 101;
inline constexpr int kKeyRight = 102;
inline constexpr int kKeyDown = 103;
inline constexpr int kKeyPageUp = 104;
inline constexpr int kKeyPageDown = 105;
inline constexpr int kKeyHome = 106;
inline constexpr int kKeyEnd = 107;
inline constexpr int kKeyInsert = 108;
// Keys the window system reports on their own that are no command: modifiers held alone,
// Num Lock and the keypad's middle key. The keypad's Delete is the Delete key.
inline constexpr int kKeyNumLock = 109;
inline constexpr int kKeyBegin = 110;
inline constexpr int kKeyKeypadDelete = 111;
inline constexpr int kKeyShift = 112; // the left ones; each right one is the next number
inline constexpr int kKeyCtrl = 114;
inline constexpr int kKeyAlt = 116;
inline constexpr int kKeySuper = 118;
inline constexpr int kKeyFirstModifier = kKeyShift;
inline constexpr int kKeyLastModifier = kKeySuper + 1;

constexpr int Plain(int key) {
  return kSpecialPlain + key;
}
constexpr int Shift(int key) {
  return kSpecialShift + key;
}
constexpr int Ctrl(int key) {
  return kSpecialCtrl + key;
}
constexpr int Alt(int key) {
  return kSpecialAlt + key;
}

// Whether a special key is only a modifier or a lock: it starts nothing and says nothing.
constexpr bool IsBareModifier(int key) {
  return key == kKeyNumLock || key == kKeyBegin ||
         (key >= kKeyFirstModifier && key <= kKeyLastModifier);
}

// ---- Action codes inside functions (also offered by the action popup) ----
inline constexpr int kCodeBackspace = 8;  // undo the last step
inline constexpr int kCodeTab = 9;        // completed: finish with what was given
inline constexpr int kCodeCtrlEnter = 10; // the function's alternative finish
inline constexpr int kCodeEnter = 13;     // take the cursor point or the highlighted choice
inline constexpr int kCodeEsc = 27;       // cancel the step; at the first step end
inline constexpr int kCodeSpace = 32;
inline constexpr int kCodeDelete = 127; // the Delete key: cursor moving angle, or erase in an entry

// ---- Taking whole steps back and doing them again ----
inline constexpr int kCodeUndo = 26;        // Ctrl+Z, its control character
inline constexpr int kCodeRedo = 25;        // Ctrl+Y, its control character
inline constexpr int kCodeRedoShift = 6262; // Ctrl+Shift+Z: the same character as Ctrl+Z

// ---- Arrows and editing keys ----
inline constexpr int kCodeLeft = Plain(kKeyLeft); // 1100
inline constexpr int kCodeUp = Plain(kKeyUp);
inline constexpr int kCodeRight = Plain(kKeyRight);
inline constexpr int kCodeDown = Plain(kKeyDown);
inline constexpr int kCodePageUp = Plain(kKeyPageUp);
inline constexpr int kCodePageDown = Plain(kKeyPageDown);
inline constexpr int kCodeHome = Plain(kKeyHome);
inline constexpr int kCodeEnd = Plain(kKeyEnd);
inline constexpr int kCodeInsert = Plain(kKeyInsert);
inline constexpr int kCodeCtrlLeft = Ctrl(kKeyLeft);
inline constexpr int kCodeCtrlUp = Ctrl(kKeyUp);
inline constexpr int kCodeCtrlRight = Ctrl(kKeyRight);
inline constexpr int kCodeCtrlDown = Ctrl(kKeyDown);
inline constexpr int kCodeCtrlHome = Ctrl(kKeyHome);
inline constexpr int kCodeCtrlEnd = Ctrl(kKeyEnd);
inline constexpr int kCodeCtrlInsert = Ctrl(kKeyInsert);
inline constexpr int kCodeAltEnd = Alt(kKeyEnd); // local origin here

// ---- Pseudo-codes of the menu bar and the mouse ----
inline constexpr int kCodeHelpMenu = 1234;
inline constexpr int kCodeMainMenu = 2345;
inline constexpr int kCodePropertiesMenu = 3456;
inline constexpr int kCodePopup = 7654;
inline constexpr int kCodeInformation = 8432;
// The start-up question over a recovery log: a main function that no key starts.
inline constexpr int kCodeRecoverDrawing = 8765;

// ---- Keys of the menus and of the help functions ----
inline constexpr int kCodeMainMenuKey = '1';
inline constexpr int kCodePropertiesMenuKey = '2';
inline constexpr int kCodeHelpMenuKey = '3';
inline constexpr int kCodeLanguage = '0';
inline constexpr int kCodePointer = 'x';
inline constexpr int kCodePartBoxes = '-';
inline constexpr int kCodeAllPartBoxes = '_';
inline constexpr int kCodeBackground = 167; // the key §

// ---- Main functions ----
inline constexpr int kCodeAddLine = Plain(kKeyF1);
inline constexpr int kCodeCloneLine = Ctrl(kKeyF1);
inline constexpr int kCodeAddFilling = Alt(kKeyF1);
inline constexpr int kCodeSurfaceArea = Shift(kKeyF1);
inline constexpr int kCodeAddArc = Plain(kKeyF2);
inline constexpr int kCodeArcViaPoints = Ctrl(kKeyF2);
inline constexpr int kCodeRounding = Alt(kKeyF2);
inline constexpr int kCodeClipLine = Shift(kKeyF2);
inline constexpr int kCodeAddText = Plain(kKeyF3);
inline constexpr int kCodeAddMeasure = Ctrl(kKeyF3);
inline constexpr int kCodeAngleMeasure = Alt(kKeyF3);
inline constexpr int kCodeEdit = Plain(kKeyF4);
inline constexpr int kCodeDeleteElements = Ctrl(kKeyF4);
inline constexpr int kCodeDeletePartOfLine = Alt(kKeyF4);
inline constexpr int kCodeDeleteArea = Shift(kKeyF4);
inline constexpr int kCodeStretch = Plain(kKeyF5);
inline constexpr int kCodeCopy = Ctrl(kKeyF5);
inline constexpr int kCodeDrawingReport = Shift(kKeyF5);
inline constexpr int kCodeReadDrawing = Plain(kKeyF6);
inline constexpr int kCodeAddPart = Ctrl(kKeyF6);
inline constexpr int kCodeAddDrawing = Alt(kKeyF6);
inline constexpr int kCodeCheckOverlaps = Shift(kKeyF6);
inline constexpr int kCodeSave = Plain(kKeyF7);
inline constexpr int kCodeSavePart = Ctrl(kKeyF7);
inline constexpr int kCodeDeleteAll = Alt(kKeyF7);
inline constexpr int kCodeUpdateTexts = Shift(kKeyF7);
inline constexpr int kCodePrint = Plain(kKeyF8);
inline constexpr int kCodeScale = Ctrl(kKeyF8);
inline constexpr int kCodePlotArea = Alt(kKeyF8);
inline constexpr int kCodeRemovePartDefinition = Shift(kKeyF8);

// ---- Help-menu functions ----
inline constexpr int kCodeZoomArea = Plain(kKeyF9);
inline constexpr int kCodeTransferZoom = Ctrl(kKeyF9);

// ---- Help functions ----
inline constexpr int kCodeZoomAll = Plain(kKeyF10);
inline constexpr int kCodePreviousZoom = Ctrl(kKeyF10);
inline constexpr int kCodeLayers = Alt(kKeyF10);
inline constexpr int kCodeSnapLine = Plain(kKeyF11);
inline constexpr int kCodeSnapPoint = Ctrl(kKeyF11);
inline constexpr int kCodeSnapIntersection = Alt(kKeyF11);
inline constexpr int kCodeSnapNone = Plain(kKeyF12);
inline constexpr int kCodeSnapList = Shift(kKeyF11);
inline constexpr int kCodeSnapAgain = Shift(kKeyF12);
inline constexpr int kCodeGridSize = Ctrl(kKeyF12);
inline constexpr int kCodeCursorSize = Alt(kKeyF12);
inline constexpr int kCodeHorizontal = kCodePageUp;
inline constexpr int kCodeVertical = kCodePageDown;
inline constexpr int kCodeToOriginDxDy = kCodeHome;
inline constexpr int kCodeToOriginXY = kCodeCtrlHome;
inline constexpr int kCodeWriteDxDy = kCodeInsert;
inline constexpr int kCodeWriteXY = kCodeCtrlInsert;
inline constexpr int kCodeLocalOriginHere = kCodeAltEnd;
inline constexpr int kCodeCursorAngle = kCodeDelete;
// The keyboard cursor steps: the arrows alone and with Shift, Ctrl or Alt.
inline constexpr int kCodeShiftLeft = Shift(kKeyLeft);
inline constexpr int kCodeShiftUp = Shift(kKeyUp);
inline constexpr int kCodeShiftRight = Shift(kKeyRight);
inline constexpr int kCodeShiftDown = Shift(kKeyDown);
inline constexpr int kCodeAltLeft = Alt(kKeyLeft);
inline constexpr int kCodeAltUp = Alt(kKeyUp);
inline constexpr int kCodeAltRight = Alt(kKeyRight);
inline constexpr int kCodeAltDown = Alt(kKeyDown);

// ---- Property functions ----
inline constexpr int kCodeMoveOriginDxDy = kCodeEnd;
inline constexpr int kCodeMoveOriginXY = kCodeCtrlEnd;
inline constexpr int kCodeEnterDirection = Alt(kKeyF9);
inline constexpr int kCodeShapeSwitch = 'o';
inline constexpr int kCodeAngleKey = 'a';
inline constexpr int kCodeColourKey = 'c';
inline constexpr int kCodeFontKey = 'f';
inline constexpr int kCodeGapKey = 'g';
inline constexpr int kCodeHeightKey = 'h';
inline constexpr int kCodeWidthRatioKey = 'j';
inline constexpr int kCodeSlantKey = 'k';
inline constexpr int kCodeLayerKey = 'l';
inline constexpr int kCodePositioningKey = 'p';
inline constexpr int kCodeSectionKey = 's';
inline constexpr int kCodeStyleKey = 't';
inline constexpr int kCodeWidthKey = 'w';
inline constexpr int kCodePartSizeKey = 'z';
inline constexpr int kCodeMirrorKey = '<';
// A property dialog or key has ended: the main function is called once with this code, so it
// takes up the changed attributes.
inline constexpr int kCodePropertiesChanged = 2346;
// What Add measure is called with to draw its measure anew after a text attribute changed.
inline constexpr int kCodeMeasureRedraw = kCodeUpdateTexts;

} // namespace lumora
