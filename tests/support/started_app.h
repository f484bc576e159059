// The program started headless on the shipped setup in a 1000 x 800 window (unless told another
// size), in English. Keys go through the real translation and dispatcher; the messages shown by
// the last key are kept.
#pragma once

#include "control/dispatch.h"
#include "control/headless_app.h"
#include "control/startup_headless.h"
#include "control/translate.h"
#include "screen/text_screen.h"
#include "support/shipped_home.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace lumora {

struct StartedApp : ::testing::Test {
  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas;
  Control& control = app.control;

  // A test of the drawing alone may play in a smaller window: repainting costs less there.
  explicit StartedApp(int width = 1000, int height = 800) : canvas(width, height) {
    std::string problem;
    EXPECT_TRUE(StartHeadless(app, {testing::ShippedHomeCopy(), "Perus_SET", width, height}, canvas,
                              problem))
        << problem;
    app.language = Language::kEnglish;
  }

  void Key(int key) {
    app.screen.shownMessages.clear();
    TranslateInput(control, InputKind::kKey, 0, 0, key);
    DispatchInput(control);
  }
  // Enter with the cursor on a drawing point.
  void EnterAt(double x, double y) {
    control.In().cursor = {x, y};
    Key(kCodeEnter);
  }
  bool Shown(std::string_view text) const {
    for (const std::string& shown : app.screen.shownMessages) {
      if (shown.find(text) != std::string::npos) return true;
    }
    return false;
  }
  int Lines() const {
    int n = 0;
    for (const LineElement* line = app.drawing.lines; line != nullptr; line = line->next) ++n;
    return n;
  }
};

} // namespace lumora
