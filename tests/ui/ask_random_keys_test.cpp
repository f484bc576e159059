// Keys are untrusted: thousands of random codes through every prompt must leave it sound, and
// whatever it answers must be one of its results.
#include "model/drawing.h"
#include "setup/setup.h"
#include "ui/ask_file_name.h"
#include "ui/ask_fixture.h"
#include "ui/ask_number.h"
#include "ui/ask_text.h"
#include "ui/select_str.h"
#include "ui/text_window.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace lumora {
namespace {

constexpr int kRounds = 4000;
constexpr std::array<int, 24> kKeys{8,    9,    10,   13,   27,   127,   1011, 3011,
                                    1012, 3012, 1100, 1101, 1102, 1103,  3100, 3101,
                                    3102, 3103, 1106, 1107, 1108, 77777, 'y',  'n'};

struct RandomKeys : AskFixture {
  std::mt19937 random{12345};

  // A random event: mostly keys the prompts know, typed characters, clicks and motion anywhere,
  // and codes from the whole integer range.
  void Next() {
    switch (random() % 6) {
    case 0:
    case 1:
      Translate(kKeys[random() % kKeys.size()]);
      break;
    case 2:
      Translate(static_cast<int>(random() % 256));
      break;
    case 3:
      Click(static_cast<int>(random() % 1200) - 100, static_cast<int>(random() % 1000) - 100);
      break;
    case 4:
      Move(static_cast<int>(random() % 1200) - 100, static_cast<int>(random() % 1000) - 100);
      break;
    default:
      control.In().code = static_cast<int>(random());
      control.In().rawKey = static_cast<int>(random());
      control.In().repeat = static_cast<int>(random());
      break;
    }
  }

  void Run(const std::function<int()>& step) {
    for (int round = 0; round < kRounds; ++round) {
      Next();
      const int result = step();
      ASSERT_TRUE(result == kStillRunning || (result >= -27 && result <= 1103)) << result;
      ASSERT_LE(OpenWindowCount(screen), kMaxWindows);
      ASSERT_LE(prompts.listDepth, kMaxNestedLists);
    }
  }
};

TEST(PromptKeys, RandomCodesNeverBreakAPrompt) {
  RandomKeys f;
  std::string text;
  AskStrArgs entry;
  entry.size = 12;
  f.Run([&] { return AskStr(f.control, f.prompts, entry, text); });
  EXPECT_LE(text.size(), 11u);
  entry.cursor = 3;
  entry.row = 6;
  entry.width = 5;
  f.Run([&] { return AskStr(f.control, f.prompts, entry, text); });

  AskNumberArgs number;
  double value = 0.0;
  int whole = 0;
  f.Run([&] { return AskNumber(f.control, f.prompts, number, value, 1.5); });
  f.Run([&] { return AskInteger(f.control, f.prompts, number, whole, 3); });
  f.Run([&] { return AskTwoNumbers(f.control, f.prompts, number, value, value, 1.0, 2.0); });
  EXPECT_TRUE(std::isfinite(value));

  const std::vector<std::string> items{"head", "a", "b", "c", "d", "e", "f", "g"};
  SelectArgs list;
  list.rows = 5;
  list.width = 8;
  list.ownWindow = true;
  list.header = true;
  f.Run([&] { return SelectStr(f.control, f.prompts, list, items); });
}

TEST(PromptKeys, RandomCodesNeverBreakTheEditorOrTheDialog) {
  RandomKeys f;
  lumora::Setup setup;
  setup.textWindowLines = 3;
  f.control.setup = &setup;
  AskTextArgs textArgs;
  textArgs.size = 60;
  std::string text = "one|two|three";
  f.Run([&] {
    const int result = AskText(f.control, f.prompts, textArgs, text);
    EXPECT_LE(text.size(), 59u);
    return result == kTextAcceptedEmpty ? kEntryAccepted : result;
  });

  const std::filesystem::path home = std::filesystem::path(LUMORA_TEST_TMP) / "random_keys";
  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home / "DRAWINGS/Sub");
  std::ofstream(home / "DRAWINGS/A.drw") << "x";
  Drawing drawing;
  f.control.drawing = &drawing;
  for (int command : {kCommandReadDrawing, kCommandSave}) {
    AskFileName dialog;
    FileDialogArgs args;
    args.command = command;
    args.home = home.string();
    std::string path;
    f.Run([&] { return dialog.Ask(f.control, f.prompts, args, path); });
  }
}

} // namespace
} // namespace lumora
