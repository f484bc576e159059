// The command state: the active function of every level with what it saved, the input mode of
// the open prompt, the program-wide switches the help functions turn, and Control, which binds
// the state to the services the functions reach.
#pragma once

#include "control/functions.h"
#include "control/input_record.h"
#include "util/text_pair.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace lumora {

class CursorGeometry;
class CommandTable;
class FileReporter;
struct Menus;
struct PromptState;
struct Drawing;
struct Setup;
struct SoundState;
struct TextScreen;

// Special keys: the window system's key number plus an offset for the modifier.
inline constexpr int kSpecialPlain = 1000; // no modifier, or more than one
inline constexpr int kSpecialShift = 2000;
inline constexpr int kSpecialCtrl = 3000;
inline constexpr int kSpecialAlt = 4000;

// The codes of the mouse buttons as the event cycle hands them to translation.
inline constexpr int kCodeLeftButton = 1;
inline constexpr int kCodeRightButton = 2;
inline constexpr int kKeyF1 = 1;
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

inline constexpr int kCodeLeft = kSpecialPlain + kKeyLeft; // 1100
inline constexpr int kCodeUp = kSpecialPlain + kKeyUp;
inline constexpr int kCodeRight = kSpecialPlain + kKeyRight;
inline constexpr int kCodeDown = kSpecialPlain + kKeyDown;
inline constexpr int kCodeCtrlLeft = kSpecialCtrl + kKeyLeft; // 3100
inline constexpr int kCodeCtrlRight = kSpecialCtrl + kKeyRight;

// Keys and pseudo-codes of the functions built here.
inline constexpr int kCodeDelete = 127;
inline constexpr int kCodeLanguage = '0';
inline constexpr int kCodePointer = 'x';
inline constexpr int kCodeBackground = 167; // the key §
inline constexpr int kCodeHelpMenu = 1234;
inline constexpr int kCodeMainMenu = 2345;
inline constexpr int kCodePropertiesMenu = 3456;
inline constexpr int kCodePopup = 7654;
inline constexpr int kCodeInformation = 8432;
inline constexpr int kCodeDrawingReport = kSpecialShift + 5; // Shift+F5

// Raw keys that are not keys.
inline constexpr int kRawClick = -1;
inline constexpr int kRawGeneratedEsc = -2;
inline constexpr int kRawNone = 0;

// Input modes: what the open prompt is.
inline constexpr int kModeCursor = 0;
inline constexpr int kModeTextEntry = 1;
inline constexpr int kModeYesNo = 2;
inline constexpr int kModeList = 7;
inline constexpr int kModeLayerList = 8;

// The mouse as arrow keys around the open prompt's choice (window pixels, 0 0 = top left).
// A zero half-size switches that axis off; with only a half-height the prompt is a vertical
// list and the mouse acts only inside its rectangle.
struct MouseArrows {
  int centreX = 0;
  int centreY = 0;
  int halfWidth = 0;
  int halfHeight = 0;
  int listLeft = 0; // the list's rectangle
  int listTop = 0;
  int listRight = 0;
  int listBottom = 0;
  int listEdge = 0; // 2: highlight on the first row, 1: on the last row, 0: between
};
inline constexpr int kListEdgeFirst = 2;
inline constexpr int kListEdgeLast = 1;

// What a help function keeps of the outer state and gives back when it ends.
struct SavedFlags {
  bool cursorShown = true;
  int inputMode = kModeCursor;
  int promptRow = 0;
  bool referenceLock = false;
  bool backAllowed = false;
};

inline constexpr std::size_t kPromptTextSize = 100;

struct LevelSlot {
  int code = 0; // 0: no function active on this level
  int step = 0;
  std::array<std::string, 2> prompt; // title and request, by Language
  std::array<std::string, 2> title;
  PromptPlace place;
  SavedFlags saved;
  InputRecord savedInput;
  std::unique_ptr<Function> function;
};

struct CommandState {
  std::array<LevelSlot, kLevelCount> levels;

  int inputMode = kModeCursor;
  bool cursorShown = true;
  bool referenceLock = false; // entered points do not move the local origin
  int windowRedrawCounter = 0;
  bool continueFlag = false;
  int promptRow = 0;
  bool backAllowed = false;
  int actionVariant = 0; // the extra row of the action popup
  int elementType = kElementNone;
  bool closeRequest = true; // the quit question came from closing the window
  bool mousePointerShown = true;
  bool whiteBackground = false;
  MouseArrows arrows;

  // The grid point the mouse last brought the cursor to.
  Point lastTracked{0.0, 0.0};
  bool tracked = false;

  int dispatchDepth = 0;
  bool ended = false; // the quit question was answered yes
  int exitCode = 0;
};

// What the functions ask of other subsystems and of the platform; an empty hook does nothing.
struct ControlHooks {
  std::function<void()> repaint;       // frame, menu bar, drawing and open windows
  std::function<void()> rebuildMenus;  // after a language switch
  std::function<void()> refreshStatus; // the status line after a pass
  std::function<void(bool)> showMousePointer;
  std::function<void(int)> exitProgram; // end the run with this status
  std::function<void()> keepRunning;    // the window was closed: stay until the question ends
  std::function<void()> showHighlightedNormally;
  std::function<double()> cursorAngle; // for the prompt line
  // The code of a click on the menu bar's labels and fields (0: none there).
  std::function<int(int x, int y)> menuBarCode;
};

struct Control {
  CommandState state;
  InputRecords input;

  // Services, not owned.
  const CommandTable* table = nullptr;
  TextScreen* screen = nullptr;
  SoundState* sound = nullptr;
  Language* language = nullptr;
  Drawing* drawing = nullptr;
  const Setup* setup = nullptr;
  CursorGeometry* geometry = nullptr;
  FileReporter* files = nullptr;  // messages and trace lines of file commands
  Menus* menus = nullptr;         // the menus' rows, in the current language
  PromptState* prompts = nullptr; // answer memory, open entry and the stack of open lists
  ControlHooks hooks;

  InputRecord& In() { return input.current; }
  const InputRecord& In() const { return input.current; }
  LevelSlot& Slot(Level level) { return state.levels[static_cast<std::size_t>(level) - 1]; }
  const LevelSlot& Slot(Level level) const {
    return state.levels[static_cast<std::size_t>(level) - 1];
  }
  Language Lang() const { return language != nullptr ? *language : Language::kEnglish; }
  std::string_view Tr(const TextPair& text) const { return text.In(Lang()); }
};

// Plays a cue through the control's sound state (silent without one).
void Beep(Control& control, int cue);

// A one-line message box with its cue and no wait.
void Message(Control& control, int cue, const TextPair& text);

// Calls a hook when it is set.
template <typename Hook, typename... Args> void CallHook(const Hook& hook, Args&&... args) {
  if (hook) hook(std::forward<Args>(args)...);
}

} // namespace lumora
