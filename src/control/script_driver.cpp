#include "control/script_driver.h"

#include "control/app.h"
#include "control/translate.h"
#include "util/codes.h"

#include <charconv>

namespace lumora {
namespace {

class Driver {
public:
  Driver(App& app, const std::string& path, const ScriptDrive& drive)
      : app_(app), args_{path, drive.group, drive.placement, drive.draw} {}

  // A key as the window gives it, through the same translation.
  int Key(int code) {
    TranslateInput(app_.control, InputKind::kKey, 0, 0, code);
    return app_.script.Run(args_);
  }

  int Tick() {
    app_.clock.Wait(app_.script.PauseLeft());
    app_.control.In().code = kContinueTick;
    app_.control.In().rawKey = kRawNone;
    return app_.script.Run(args_);
  }

  int Answer(const std::string& answer) {
    switch (app_.script.Asking()) {
    case ScriptRun::Question::kYesNo:
      return Key(!answer.empty() && (answer[0] == 'y' || answer[0] == 'Y') ? 'y' : 'n');
    case ScriptRun::Question::kSelect: {
      int number = 1;
      std::from_chars(answer.data(), answer.data() + answer.size(), number);
      int result = Key(kCodeHome);
      for (int i = 1; i < number && result == kStillRunning; ++i) result = Key(kCodeDown);
      return result == kStillRunning ? Key(kCodeEnter) : result;
    }
    default: {
      // The proposal is emptied first, as a person would.
      int result = Key(kCodeSnapPoint);
      for (const char c : answer) {
        if (result != kStillRunning) return result;
        result = Key(static_cast<unsigned char>(c));
      }
      return result == kStillRunning ? Key(kCodeEnter) : result;
    }
    }
  }

  int Start() {
    app_.control.In().code = 0;
    app_.control.In().rawKey = kRawNone;
    return app_.script.Run(args_);
  }

private:
  App& app_;
  ScriptRunArgs args_;
};

} // namespace

int DriveScript(App& app, const std::string& path, const ScriptDrive& drive) {
  Driver driver(app, path, drive);
  int result = driver.Start();
  std::size_t next = 0;
  while (result == kStillRunning) {
    if (app.script.Executed() >= drive.lineLimit) {
      result = driver.Key(kCodeEsc);
    } else if (app.script.Paused()) {
      result = driver.Tick();
    } else if (next < drive.answers.size()) {
      result = driver.Answer(drive.answers[next++]);
    } else {
      result = driver.Key(kCodeEsc); // no answer left
    }
  }
  return result;
}

} // namespace lumora
