// The command state: the active function of every level with what it saved, the input mode of
// the open prompt, the program-wide switches the help functions turn, and Control, which binds
// the state to the services the functions reach.
#pragma once

#include "protocol/command_table.h"
#include "protocol/functions.h"
#include "protocol/input_record.h"
#include "util/codes.h"
#include "util/text_pair.h"

#include <array>
#include <memory>
#include <string>

namespace lumora {

class Clock;
class ElementGeometry;
class ElementStore;
class FileEnvironment;
class MessageSink;
class PageOutput;
class RecoveryJournal;
class WindowServices;
struct Drawing;
struct DrawingFileState;
struct Fonts;
struct CurrentProperties;
struct Menus;
struct PlotterState;
struct PromptState;
struct Setup;
struct SoundState;
struct TextScreen;
struct View;
struct VariableTable;

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
  CommandRow row; // the table row the function was started from

  // The title, as SetPrompt stored it in both languages.
  TextPair Title() const {
    return {title[LanguageIndex(Language::kEnglish)], title[LanguageIndex(Language::kFinnish)]};
  }
};

// What the status line was last laid out for.
struct StatusLineMemory {
  bool valid = false;
  bool layout2 = false; // with the properties label
  int elementType = kElementNone;
};

struct CommandState {
  std::array<LevelSlot, kLevelCount> levels;

  int inputMode = kModeCursor;
  bool cursorShown = true;
  bool referenceLock = false; // entered points do not move the local origin
  // Open text windows whose boxes a full repaint left empty; their owners rewrite them.
  int windowRedrawCounter = 0;
  bool continueFlag = false;
  int promptRow = 0;
  bool backAllowed = false;
  int actionVariant = 0; // the extra row of the action popup
  int elementType = kElementNone;
  bool mousePointerShown = true;
  bool whiteBackground = false; // the sheet's colour, as the setup chose it and § switches it
  MouseArrows arrows;
  StatusLineMemory statusLine;

  // The grid point the mouse last brought the cursor to.
  Point lastTracked{0.0, 0.0};
  bool tracked = false;

  int dispatchDepth = 0;
  bool ended = false; // the quit question was answered yes

  // The snap last chosen from the snap list, which Shift+F12 makes pending again; none yet.
  int lastListedSnap = 0;
};

// Everything a step machine may reach, fixed when the App is built.
struct Control {
  CommandState& state;
  InputRecord& input; // the current input step
  const CommandTable& table;
  TextScreen& screen;
  SoundState& sound;
  Language& language;
  Drawing& drawing;
  ElementStore& store;
  View& view;
  const Setup& setup;
  Fonts& fonts;
  Clock& clock;
  FileEnvironment& files; // messages and trace lines of file commands, and reading files
  Menus& menus;           // the menus' rows, in the current language
  PromptState& prompts;   // answer memory, open entry and the stack of open lists
  WindowServices& window;
  const std::string& workDirectory; // empty: the process's working directory
  const std::string& home;          // the program directory: DRAWINGS/, PARTS/, PLOTS/ below it
  CurrentProperties& properties;    // the current attributes and the property prompts' memory
  ElementGeometry& geometry;        // searches and constructions on the drawing's elements
  PlotterState& plotter;            // the plot's paper, as the set-up chose it
  PageOutput& pages;                // where Print sends its page
  MessageSink& messages;            // progress and errors of the set-up and the plotter
  VariableTable& textVariables;     // the #name# values of Update texts
  DrawingFileState& fileState;      // what the drawing reader remembers between reads
  RecoveryJournal& recovery;        // the log of committed steps a crash is recovered from

  InputRecord& In() { return input; }
  const InputRecord& In() const { return input; }
  LevelSlot& Slot(Level level) { return state.levels[static_cast<std::size_t>(level) - 1]; }
  const LevelSlot& Slot(Level level) const {
    return state.levels[static_cast<std::size_t>(level) - 1];
  }
  Language Lang() const { return language; }
  std::string_view Tr(const TextPair& text) const { return text.In(language); }
};

// The element geometry with its search unit taken from the view shown now.
ElementGeometry& Geometry(Control& control);

// Plays a cue through the control's sound state.
void Beep(Control& control, int cue);

// A one-line message box with its cue and no wait.
void Message(Control& control, int cue, const TextPair& text);

} // namespace lumora
