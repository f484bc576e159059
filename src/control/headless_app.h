// The whole program without a window: the App on a fake clock with a recording sound player,
// and window services that do in memory what the window would do. The headless tools, the
// event player and the tests all build their program this way.
#pragma once

#include "control/app.h"
#include "protocol/window_services.h"
#include "sound/recording_sound_player.h"
#include "util/fake_clock.h"

#include <sstream>

namespace lumora {

// The page output of a tool that plots: the headless tools attach the PDF pages, a test its
// recording device. Without one, nothing can be plotted.
class HeadlessPageOutput final : public PageOutput {
public:
  void Attach(PageOutput* output) { output_ = output; }

  std::unique_ptr<PageDevice> Open(const std::string& path, FileReporter& reporter) override {
    return output_ != nullptr ? output_->Open(path, reporter) : nullptr;
  }
  int PaperWidth() const override { return output_ != nullptr ? output_->PaperWidth() : 0; }
  int PaperHeight() const override { return output_ != nullptr ? output_->PaperHeight() : 0; }

private:
  PageOutput* output_ = nullptr;
};

class HeadlessWindow final : public WindowServices {
public:
  explicit HeadlessWindow(App& app) : app_(app) {}

  void ShowMousePointer(bool shown) override { pointerShown = shown; }
  void KeepRunning() override { ++keptRunning; }
  void EndProgram() override;
  void Repaint() override;
  // Nothing waits unless a test says so: inputAfterPolls counts the polls still answered no
  // before one is answered yes, once (-1: never).
  bool InputWaiting() override;

  bool pointerShown = true;
  int inputAfterPolls = -1;
  int keptRunning = 0; // close requests that left the program running
  int repaints = 0;

private:
  App& app_;
};

struct HeadlessApp {
  HeadlessApp() { app.sound.player = &sounds; }
  HeadlessApp(const HeadlessApp&) = delete;
  HeadlessApp& operator=(const HeadlessApp&) = delete;

  FakeClock clock;
  RecordingSoundPlayer sounds;
  std::ostringstream console;
  HeadlessWindow window{app}; // refers to the App below, which it uses only once it is built
  HeadlessPageOutput pages;
  App app{clock, window, pages, console};
};

} // namespace lumora
