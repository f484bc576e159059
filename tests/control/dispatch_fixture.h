// A control over the test screen with a table of recording test functions on every level: each
// logs the codes it is given, begins on its first call and ends on Esc, except that the
// instant ones end at once.
#pragma once

#include "commands/program_commands.h"
#include "control/dispatch.h"
#include "control/translate.h"
#include "protocol/command_table.h"
#include "screen/screen_fixture.h"
#include "screen/text_window.h"
#include "ui/ask_state.h"
#include "ui/menu_rows.h"

#include <string>
#include <vector>

namespace lumora {

struct Call {
  int function; // the code the function was started with
  int code;     // the code it was given
  friend bool operator==(const Call&, const Call&) = default;
};

class RecordingFunction final : public Function {
public:
  RecordingFunction(Level level, int code, std::vector<Call>& log, int textEntry, int result)
      : level_(level), code_(code), log_(log), textEntry_(textEntry), result_(result) {}

  int Step(Control& control, const CommandRow& /*row*/) override {
    const int code = control.In().code;
    log_.push_back({code_, code});
    if (!begun_) {
      begun_ = true;
      BeginFunction(control, level_, code_);
      SetPrompt(control, Language::kEnglish, "Test: ", "^DO IT ! ");
      if (textEntry_ != 0) control.state.inputMode = kModeTextEntry;
      if (result_ != kStillRunning) {
        EndFunction(control, level_);
        return result_;
      }
      return kStillRunning;
    }
    if (code == kContinueTick) control.state.continueFlag = false;
    if (code == kCodeEsc) {
      EndFunction(control, level_);
      return kFinished;
    }
    return kStillRunning;
  }

private:
  Level level_;
  int code_;
  std::vector<Call>& log_;
  int textEntry_;
  int result_;
  bool begun_ = false;
};

struct DispatchFixture : ScreenFixture {
  static constexpr int kHelpKey = kCodeZoomAll;      // a help function that runs until Esc
  static constexpr int kHelpMenuKey = kCodeZoomArea; // help-menu level
  static constexpr int kPropertyKey = 'c';           // colour, any element type
  static constexpr int kMainKey = kCodeAddLine;
  static constexpr int kOtherMainKey = kCodeAddArc;
  static constexpr int kTextEntryKey = kCodeAddText; // opens a text entry
  static constexpr int kMenuKey = kCodeMainMenuKey;  // a menu that chooses kOtherMainKey at once

  std::vector<Call> log;
  CommandTable& table = app.commands;
  Menus& menus = app.menus;
  PromptState& prompts = app.prompts;

  DispatchFixture() {
    table = CommandTable{};
    Register(kHelpKey, Level::kHelp);
    Register(kHelpMenuKey, Level::kHelpMenu);
    Register(kPropertyKey, Level::kProperty);
    Register(kMainKey, Level::kMain);
    Register(kOtherMainKey, Level::kMain);
    Register(kTextEntryKey, Level::kMain, 1);
    Register(kMenuKey, Level::kMain, 0, kOtherMainKey);
    Register(kCodePopup, Level::kPopup);
  }

  // Adds the program's own row of a code.
  void RegisterProgram(int code) {
    const CommandTable program = ProgramCommands();
    table.Add(*program.Find(code));
  }

  void Register(int code, Level level, int textEntry = 0, int result = kStillRunning) {
    table.Add({code, level, [this, code, level, textEntry, result] {
                 return std::make_unique<RecordingFunction>(level, code, log, textEntry, result);
               }});
  }

  // A key through translation and dispatch, as the window would send it.
  void Key(int key) {
    TranslateInput(control, InputKind::kKey, 0, 0, key);
    DispatchInput(control);
  }
  void RightClick() {
    TranslateInput(control, InputKind::kRightClick, 500, 400);
    DispatchInput(control);
  }

  // The codes one function was given, in order.
  std::vector<int> CodesOf(int function) const {
    std::vector<int> codes;
    for (const Call& call : log) {
      if (call.function == function) codes.push_back(call.code);
    }
    return codes;
  }
};

} // namespace lumora
