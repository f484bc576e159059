// The one object that owns all program-wide state. Nothing else is global: every test builds a
// fresh App, and the window and the headless tools each build one at start-up.
#pragma once

#include "commands/program_commands.h"
#include "commands/text_variables.h"
#include "control/app_environment.h"
#include "control/event_cycle.h"
#include "element_geometry/element_geometry.h"
#include "files/file_environment.h"
#include "files/recovery_journal.h"
#include "files/recovery_writer.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "plot/plotter.h"
#include "properties/current_properties.h"
#include "protocol/command_state.h"
#include "protocol/command_table.h"
#include "protocol/window_services.h"
#include "screen/text_screen.h"
#include "script/script_run.h"
#include "setup/setup.h"
#include "sound/my_beep.h"
#include "text/font.h"
#include "ui/ask_state.h"
#include "ui/menu_rows.h"
#include "util/clock.h"
#include "util/text_pair.h"
#include "view/canvas.h"
#include "view/render.h"
#include "view/screen_painter.h"
#include "view/view.h"

#include <fstream>
#include <iostream>
#include <string>

namespace lumora {

struct App {
  // The clock, the window services, the page output and the console are the platform's; the canvas
  // arrives when the window exists.
  App(Clock& clock, WindowServices& window, PageOutput& pages, std::ostream& console = std::cout);
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Language of every text shown; the setup chooses it and the key 0 switches it.
  Language language = Language::kEnglish;

  // The program directory: SETUP/, DRAWINGS/, PARTS/, DATA/, Sounds/ and PLOTS/ hang below it.
  std::string home = ".";
  std::string setupName = "Perus_SET";
  // Where the files named without a directory go (the drawing report); empty is the process's
  // working directory.
  std::string workDirectory;

  // Platform services, not owned.
  Clock& clock;
  WindowServices& windowServices;
  PageOutput& pages;
  std::ostream& console;
  Canvas* canvas = nullptr;

  // The diagnostic log, open only when the program runs from its build tree.
  std::ofstream log;

  Setup setup;
  Fonts fonts;
  Drawing drawing;
  View view;
  // The paper of the page device and whether its size was told.
  PlotterState plotter;

  SoundState sound;
  TextScreen screen;
  WindowState window;
  Overlays overlays;
  DrawingFileState fileState;

  AppStoreEnvironment storeEnv{*this};
  AppFileEnvironment fileEnv{*this};
  AppMessageSink messageSink{*this};
  // Every element reaches the screen through it.
  ScreenPainter painter{canvas, view, drawing, fonts, setup, storeEnv, store, window.erased};
  ElementStore store{drawing, storeEnv, painter};
  // The log of committed steps in RECOVER/; it stays closed (and starts no thread) until
  // StartRecovery opens it.
  RecoveryWriter recovery{drawing, fileEnv};
  RecoveryJournal recoveryJournal{recovery, store, clock};
  // The real window offers what a dead program left, after its first display; the headless
  // tools never do (their program directories are the tests').
  bool offerRecovery = false;
  bool recoveryStarted = false;
  // Its join and corner tolerance is a share of the sheet width, fixed at start-up.
  ElementGeometry geometry{store, storeEnv, GeometrySettings{}};

  // The command machinery: every command's row, the active functions and the current input
  // step, and what they all reach.
  CommandTable commands = ProgramCommands();
  CommandState commandState;
  InputRecord input;
  Menus menus;         // the menus' rows in the current language, with their last choices
  PromptState prompts; // answer memory, the open entry and the stack of open lists
  CurrentProperties properties;
  // The text variables Update texts fills the texts' #name# references from.
  VariableTable textVariables;
  Control control{.state = commandState,
                  .input = input,
                  .table = commands,
                  .screen = screen,
                  .sound = sound,
                  .language = language,
                  .drawing = drawing,
                  .store = store,
                  .view = view,
                  .setup = setup,
                  .fonts = fonts,
                  .clock = clock,
                  .files = fileEnv,
                  .menus = menus,
                  .prompts = prompts,
                  .window = windowServices,
                  .workDirectory = workDirectory,
                  .home = home,
                  .properties = properties,
                  .geometry = geometry,
                  .plotter = plotter,
                  .pages = pages,
                  .messages = messageSink,
                  .textVariables = textVariables,
                  .fileState = fileState,
                  .recovery = recoveryJournal};
  // The script run, one at a time; drawings and parts named ".txt" start it.
  ScriptRun script{control, console, log};

  std::string_view Tr(const TextPair& text) const { return text.In(language); }

  // The renderer's view of the state; only valid while there is a canvas.
  RenderScene Scene() const { return painter.Scene(); }
};

// Hands the program the canvas it draws on (the window's, or a SoftCanvas), sized to it.
void AttachCanvas(App& app, Canvas& canvas);

} // namespace lumora
