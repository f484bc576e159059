#include "control/event_player.h"

#include "control/event_cycle.h"
#include "control/event_player_canvas.h"
#include "control/event_player_checks.h"
#include "control/event_player_keys.h"
#include "control/headless_app.h"
#include "util/latin1.h"

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <utility>

namespace lumora {
namespace {

constexpr int kDragSteps = 4; // motions between the press and the release of a drag
// Continue ticks a paused script gets after each line, so that a script that never ends still
// lets the next line (an Esc) come.
constexpr int kScriptTicks = 1000;

class Player {
public:
  Player(HeadlessApp& headless, SoftCanvas& canvas, GlyphRecordingCanvas& recorder,
         const PlayOptions& options, std::string eventDirectory)
      : checks_{headless.app,    canvas,  recorder,
                headless.sounds, options, std::move(eventDirectory)} {}

  // One line of the file; false with the problem stated.
  bool Play(std::string_view line, std::string& problem) {
    std::string_view word = NextWord(line);
    if (word.empty() || word.front() == '#') return true;
    if (word.starts_with("expect-")) return checks_.Expect(word, line, problem);
    if (checks_.app.window.quit) return problem = "the program has already ended", false;
    checks_.NewEvent();
    if (word == "key") return Key(line, problem);
    if (word == "expose") {
      // The window system asks for the window again, its size unchanged.
      Hand({ExposeInput{app().view.windowWidth, app().view.windowHeight}, {}});
      return true;
    }
    if (word == "type") return Type(line);
    if (word == "click" || word == "rclick") return Click(word == "click", line, problem);
    if (word == "drag" || word == "mdrag") return Drag(word == "drag", line, problem);
    if (word == "wheel") return Wheel(line, problem);
    if (word == "move") return Move(line, problem);
    if (word == "point" || word == "enter") return Point(word == "enter", line, problem);
    if (word == "screenshot" || word == "save" || word == "dump" || word == "load") {
      return checks_.Output(word, line, problem);
    }
    return problem = "unknown line '" + std::string(word) + "'", false;
  }

private:
  App& app() { return checks_.app; }
  void Hand(InputEvent event) { HandleInput(app(), event); }
  void HandKey(int key) { Hand({KeyInput{false, key, {}}, mouse_}); }
  void HandButton(MouseButton button, bool pressed, WindowPixel at) {
    Hand({ButtonInput{button, pressed}, at});
  }

  bool Key(std::string_view name, std::string& problem) {
    PlayedKey key;
    if (!ParseKeyName(name, key))
      return problem = "no key named '" + std::string(name) + "'", false;
    Hand({key, mouse_});
    return true;
  }

  bool Type(std::string_view text) {
    for (char c : Utf8ToLatin1(text)) {
      if (app().window.quit) break;
      HandKey(static_cast<unsigned char>(c));
    }
    return true;
  }

  bool MoveTo(WindowPixel to) {
    mouse_ = to;
    Hand({MotionInput{false}, to});
    return true;
  }

  bool Move(std::string_view line, std::string& problem) {
    WindowPixel to;
    if (!ReadPixel(line, to, problem)) return false;
    return MoveTo(to);
  }

  bool Click(bool left, std::string_view line, std::string& problem) {
    WindowPixel at;
    if (!ReadPixel(line, at, problem)) return false;
    MoveTo(at);
    const MouseButton button = left ? MouseButton::kLeft : MouseButton::kRight;
    HandButton(button, true, at);
    if (!app().window.quit) HandButton(button, false, at);
    return true;
  }

  bool Wheel(std::string_view line, std::string& problem) {
    const std::string_view way = NextWord(line);
    if (way != "up" && way != "down") return problem = "wheel goes up or down", false;
    WindowPixel at;
    if (!ReadPixel(line, at, problem)) return false;
    MoveTo(at);
    const MouseButton button = way == "up" ? MouseButton::kWheelUp : MouseButton::kWheelDown;
    HandButton(button, true, at);
    if (!app().window.quit) HandButton(button, false, at);
    return true;
  }

  bool Drag(bool left, std::string_view line, std::string& problem) {
    WindowPixel from;
    WindowPixel to;
    if (!ReadPixel(line, from, problem) || !ReadPixel(line, to, problem)) return false;
    const MouseButton button = left ? MouseButton::kLeft : MouseButton::kMiddle;
    MoveTo(from);
    HandButton(button, true, from);
    for (int step = 1; step <= kDragSteps && !app().window.quit; ++step) {
      mouse_ = {from.x + (to.x - from.x) * step / kDragSteps,
                from.y + (to.y - from.y) * step / kDragSteps};
      Hand({MotionInput{true}, mouse_});
    }
    if (!app().window.quit) HandButton(button, false, to);
    return true;
  }

  bool Point(bool enter, std::string_view line, std::string& problem) {
    lumora::Point at;
    if (!ReadPoint(line, at, problem)) return false;
    const lumora::Point& origin = app().view.globalOrigin;
    MoveTo(DrawingToPixel(app().view, {at.x - origin.x, at.y - origin.y}));
    if (enter && !app().window.quit) HandKey(kCodeEnter);
    return true;
  }

  EventChecks checks_;
  WindowPixel mouse_;
};

} // namespace

int PlayEventFile(const std::string& path, const PlayOptions& options, std::ostream& errors) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    errors << path << ": cannot be read\n";
    return 1;
  }
  HeadlessApp headless;
  App& app = headless.app;
  headless.pages.Attach(options.pages);
  // Files the program writes beside itself (the drawing report) go with the other outputs.
  if (!options.outDir.empty()) {
    std::error_code ignored;
    std::filesystem::create_directories(options.outDir, ignored);
    app.workDirectory = options.outDir;
  }
  SoftCanvas canvas(1, 1);
  std::string problem;
  if (!StartHeadless(app, options.start, canvas, problem)) {
    errors << path << ": " << problem << "\n";
    return 1;
  }
  // From here on every glyph string is remembered for expect-message.
  GlyphRecordingCanvas recorder(canvas);
  app.canvas = &recorder;
  app.screen.canvas = &recorder;
  const std::size_t slash = path.rfind('/');
  Player player(headless, canvas, recorder, options,
                slash == std::string::npos ? std::string(".") : path.substr(0, slash));
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!player.Play(line, problem)) {
      errors << path << ":" << number << ": " << problem << "\n";
      return 1;
    }
    for (int tick = 0; tick < kScriptTicks && app.script.Paused() && !app.window.quit; ++tick) {
      HandleInput(app, {TickInput{true}, {}});
    }
  }
  return 0;
}

} // namespace lumora
