// Keys are untrusted: thousands of random codes through every prompt must leave it sound.
#include "model/drawing.h"
#include "screen/text_window.h"
#include "setup/setup.h"
#include "ui/ask_file_name.h"
#include "ui/ask_fixture.h"
#include "ui/ask_number.h"
#include "ui/ask_text.h"
#include "ui/select_str.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace lumora {
namespace {

constexpr int kRounds = 4000;
constexpr int kKeys[] = {8,    9,    10,   13,   27,   127,  1011, 3011, 1012,  3012, 1100, 1101,
                         1102, 1103, 3101, 3103, 1106, 1107, 1108, '/',  77777, 'y',  'n'};

TEST(PromptKeys, RandomCodesNeverBreakAPrompt) {
  AskFixture f;
  std::mt19937 random(12345);
  f.app.setup.textWindowLines = 3;
  const std::string home = std::string(LUMORA_TEST_TMP) + "/random_keys";
  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home + "/DRAWINGS/Sub");
  std::ofstream(home + "/DRAWINGS/A.drw") << "x";
  std::string text = "one|two";
  double x = 0.0;
  int whole = 0;
  const std::vector<std::string> items{"head", "a", "b", "c", "d", "e", "f", "g"};
  AskStrArgs row{6, 3, 5, {}, {}, 12, "", false, 3, true, false};
  AskFileName read, save;
  std::string path;
  const std::vector<std::function<int()>> prompts{
      [&] { return AskStr(f.control, f.prompts, AskStrArgs{.size = 12}, text); },
      [&] { return AskStr(f.control, f.prompts, row, text); },
      [&] { return AskNumber(f.control, f.prompts, {}, x, 1.5); },
      [&] { return AskInteger(f.control, f.prompts, {}, whole, 3); },
      [&] { return AskTwoNumbers(f.control, f.prompts, {}, x, x, 1.0, 2.0); },
      [&] {
        return SelectStr(f.control, f.prompts, {3, 2, 5, 8, 0, true, true}, items);
      },
      [&] { return AskText(f.control, f.prompts, {.size = 60}, text); },
      [&] {
        return read.Ask(f.control, f.prompts, {kCodeReadDrawing, {}, home, {}}, path);
      },
      [&] {
        return save.Ask(f.control, f.prompts, {kCodeSave, {}, home, {}}, path);
      }};
  for (const auto& prompt : prompts) {
    f.call = prompt;
    for (int round = 0; round < kRounds; ++round) {
      const int px = static_cast<int>(random() % 1200) - 100;
      const int py = static_cast<int>(random() % 1000) - 100;
      switch (random() % 5) {
      case 0:
        f.Translate(static_cast<int>(random() % 256)); // typed and control characters
        break;
      case 1:
        f.Click(px, py);
        break;
      case 2:
        f.Move(px, py);
        break;
      case 3:
        f.control.In() = {};
        f.control.In().code = static_cast<int>(random());
        f.control.In().rawKey = static_cast<int>(random());
        f.control.In().repeat = static_cast<int>(random());
        break;
      default:
        f.Translate(kKeys[random() % std::size(kKeys)]);
      }
      f.Call();
      ASSERT_LE(text.size(), 59u);
      ASSERT_TRUE(std::isfinite(x));
      ASSERT_LE(OpenWindowCount(f.screen), kMaxWindows);
    }
    f.control.In() = {};
    f.control.In().code = kCodeEsc;
    f.control.In().rawKey = kCodeEsc;
    while (f.Call() == kStillRunning) {
    }
    ASSERT_EQ(OpenWindowCount(f.screen), 0);
  }
}

} // namespace
} // namespace lumora
