#include "control/script_driver.h"

#include "control/app.h"
#include "control/event_player_checks.h"
#include "control/event_player_keys.h"
#include "control/translate.h"
#include "protocol/functions.h"
#include "util/codes.h"
#include "util/latin1.h"

#include <charconv>
#include <istream>

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

  int Click(const WindowPixel& at) {
    TranslateInput(app_.control, InputKind::kLeftClick, at.x, at.y);
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
    case ScriptRun::Question::kSelect:
    case ScriptRun::Question::kFile: {
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

  bool Reach(std::string_view word, std::string_view line, std::string& problem, int& result) {
    if (word == "type") {
      result = kStillRunning;
      for (const char c : Utf8ToLatin1(line)) {
        if (result != kStillRunning) break;
        result = Key(static_cast<unsigned char>(c));
      }
      return true;
    }
    if (word == "click") {
      WindowPixel at;
      if (!ReadPixel(line, at, problem)) return false;
      result = Click(at);
      return true;
    }
    PlayedKey key;
    if (!ParseKeyName(line, key))
      return problem = "no key named '" + std::string(line) + "'", false;
    result = Key(key.special ? SpecialKeyCode(key.key, key.modifiers) : key.key);
    return true;
  }

  App& app_;
  ScriptRunArgs args_;
};

bool IsInput(std::string_view word) {
  return word == "key" || word == "type" || word == "click";
}

// Plays event lines until one reaches the run through `reach` (which answers whether it took
// the line); false when none is left or a line failed.
template <typename Reach> bool PlayLines(ScriptEventLines& events, Reach reach) {
  std::string text;
  while (events.problem.empty() && std::getline(events.lines, text)) {
    ++events.number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::string_view line = text;
    const std::string_view word = NextWord(line);
    if (word.empty() || word.front() == '#') continue;
    std::string problem;
    bool played = false;
    if (word.starts_with("expect-")) {
      played = events.checks.Expect(word, line, problem);
    } else {
      events.checks.NewEvent();
      if (!IsInput(word)) {
        played = events.checks.Output(word, line, problem);
      } else if (reach(word, line, problem, played)) {
        return true;
      }
    }
    if (!played) {
      events.problem = events.name + ":" + std::to_string(events.number) + ": " + problem;
      return false;
    }
  }
  return false;
}

} // namespace

int DriveScript(App& app, const std::string& path, const ScriptDrive& drive) {
  // The run stands in for reading a drawing, so its questions and PRINT lines have a prompt
  // to show on.
  const bool standIn = !LevelActive(app.control, Level::kMain);
  if (standIn) BeginFunction(app.control, Level::kMain, kCodeReadDrawing, 0);
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
    } else if (drive.events == nullptr ||
               !PlayLines(*drive.events, [&](std::string_view word, std::string_view line,
                                             std::string& problem, bool& played) {
                 played = driver.Reach(word, line, problem, result);
                 return played;
               })) {
      result = driver.Key(kCodeEsc); // nothing left to answer with
    }
  }
  if (standIn) EndFunction(app.control, Level::kMain);
  return result;
}

bool FinishEventLines(ScriptEventLines& events) {
  PlayLines(events, [](std::string_view, std::string_view, std::string& problem, bool& played) {
    problem = "the script has already ended";
    played = false;
    return false;
  });
  return events.problem.empty();
}

} // namespace lumora
