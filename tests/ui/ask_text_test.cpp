#include "setup/setup.h"
#include "ui/ask_fixture.h"
#include "ui/ask_text.h"
#include "ui/text_window.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr int kUp = 1101;
constexpr int kDown = 1103;
constexpr int kHome = 1106;
constexpr int kEnd = 1107;
constexpr int kRight = 1102;

constexpr TextPair kTitle{"Adding text: "_l1, "Tekstin lisäys: "_l1};
constexpr TextPair kRequest{"^WRITE TEXT ! "_l1, "^KIRJOITA TEKSTI ! "_l1};

struct TextFixture : AskFixture {
  Setup setup;
  AskTextArgs args;
  std::string text;
  int result = kStillRunning;

  TextFixture(int lines, std::string_view initial, std::size_t size = 1000, bool singleLine = false)
      : text(initial) {
    setup.textWindowLines = lines;
    setup.textWindowColumns = 30;
    control.setup = &setup;
    args.title = kTitle;
    args.prompt = kRequest;
    args.size = size;
    args.singleLine = singleLine;
    result = AskText(control, prompts, args, text);
  }
  int Key(int key) {
    Translate(key);
    return result = AskText(control, prompts, args, text);
  }
  void Type(std::string_view typed) {
    for (char c : typed) Key(static_cast<unsigned char>(c));
  }
};

TEST(AskText, OneLineIsEditedOnTheStatusRow) {
  TextFixture f(1, "abc");
  EXPECT_EQ(f.Cells(2, 2, 13), "Adding text: ");
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  f.Key(kEnd);
  f.Type("d");
  EXPECT_EQ(f.Key(kCodeEnter), kEntryAccepted);
  EXPECT_EQ(f.text, "abcd");
  TextFixture empty(4, "", 1000, true); // one line whatever the setup says
  EXPECT_EQ(OpenWindowCount(empty.screen), 0);
  EXPECT_EQ(empty.Key(kCodeEnter), kTextAcceptedEmpty);
}

TEST(AskText, LinesSplitJoinAndMoveInTheWindow) {
  TextFixture f(4, "one|two");
  EXPECT_EQ(OpenWindowCount(f.screen), 1);
  EXPECT_EQ(f.Cells(3, 2, 4), "one ");
  EXPECT_EQ(f.Cells(4, 2, 4), "two ");
  f.Type("!");
  f.Key(kUp);
  EXPECT_EQ(f.prompts.editor.current, 0);
  f.Key(kHome);
  f.Key(kRight);
  f.Key(kCodeEnter); // splits "one" after its first letter
  EXPECT_EQ(f.prompts.editor.lines, (std::vector<std::string>{"o", "ne", "two!"}));
  EXPECT_EQ(f.Cells(5, 2, 5), "two! ");
  f.Key(kCodeBackspace); // at the start of "ne": joined back
  EXPECT_EQ(f.prompts.editor.lines, (std::vector<std::string>{"one", "two!"}));
  EXPECT_EQ(f.prompts.entry.cursor, 1);
  f.Key(kEnd);
  f.Key(kCodeDelete); // Del at the end joins the next line
  EXPECT_EQ(f.prompts.editor.lines, (std::vector<std::string>{"onetwo!"}));
  EXPECT_EQ(f.Key(kCodeTab), kEntryAccepted);
  EXPECT_EQ(f.text, "onetwo!");
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
}

TEST(AskText, EmptyLinesAcceptAndBackLeaves) {
  TextFixture f(4, "a");
  f.Key(kEnd);
  f.Key(kCodeEnter);
  EXPECT_EQ(f.prompts.editor.lines.size(), 2u);
  EXPECT_EQ(f.Key(kCodeEnter), kEntryAccepted); // on the new, empty line
  EXPECT_EQ(f.text, "a|");

  TextFixture starts(4, "|x");
  EXPECT_EQ(starts.Key(kCodeTab), kTextAcceptedEmpty);

  TextFixture back(4, "");
  back.Key(kCodeEsc);
  back.control.state.backAllowed = true;
  AskText(back.control, back.prompts, back.args, back.text);
  EXPECT_EQ(back.Key(kCodeBackspace), kEntryBack);
  EXPECT_EQ(OpenWindowCount(back.screen), 0);
}

TEST(AskText, TheEightiethLineAcceptsAndNothingIsCut) {
  std::string many = "x";
  for (int i = 1; i < kMaxTextLines; ++i) many += "|x";
  TextFixture f(4, many);
  EXPECT_EQ(f.prompts.editor.current, kMaxTextLines - 1);
  EXPECT_EQ(f.prompts.editor.top, kMaxTextLines - 4);
  EXPECT_EQ(f.Key(kCodeEnter), kEntryAccepted);
  EXPECT_EQ(f.text, many);

  // A text that would not fit the caller's buffer stays open to be shortened.
  TextFixture small(4, "abc|de", 7);
  small.Type("f");
  EXPECT_EQ(small.Key(kCodeTab), kStillRunning);
  EXPECT_TRUE(small.Shown("Over write !"));
  small.Key(kCodeBackspace);
  EXPECT_EQ(small.Key(kCodeTab), kEntryAccepted);
  EXPECT_EQ(small.text, "abc|de");
}

TEST(AskText, UpAndDownScrollTheWindow) {
  TextFixture f(2, "l0|l1|l2|l3");
  EXPECT_EQ(f.Cells(3, 2, 2), "l2");
  f.Key(kUp);
  f.Key(kUp);
  EXPECT_EQ(f.prompts.editor.top, 1);
  EXPECT_EQ(f.Cells(3, 2, 2), "l1");
  f.Key(kUp);
  f.Key(kUp); // the first line: Up stays
  EXPECT_EQ(f.prompts.editor.current, 0);
  EXPECT_EQ(f.Cells(3, 2, 2), "l0");
  f.Key(kDown);
  EXPECT_EQ(f.prompts.editor.current, 1);
  EXPECT_EQ(f.Key(kCodeEsc), kEntryEsc);
  EXPECT_EQ(f.text, "l0|l1|l2|l3");
}

} // namespace
} // namespace lumora
