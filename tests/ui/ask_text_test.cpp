#include "screen/text_window.h"
#include "setup/setup.h"
#include "ui/ask_fixture.h"
#include "ui/ask_text.h"
#include "ui/menu_bar.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr int kUp = kCodeUp, kHome = kCodeHome, kEnd = kCodeEnd, kRight = kCodeRight;

struct TextFixture : AskFixture {
  AskTextArgs args{
      {"Adding text: ", "Tekstin lisäys: "_l1}, {"^WRITE ! ", "^KIRJOITA ! "}, 0, false};
  std::string text;

  TextFixture(int lines, std::string_view initial, std::size_t size = 1000) : text(initial) {
    app.setup.textWindowLines = lines;
    app.setup.textWindowColumns = 30;
    args.size = size;
    call = [this] { return AskText(control, prompts, args, text); };
    Call();
  }
  const std::vector<std::string>& Lines() const { return prompts.editor.lines; }
};

// One line is typed on the status row where the coordinate fields stand: the menu labels stay,
// and the status refresh at the end of every pass no longer wipes what is typed.
TEST(AskText, OneLineIsEditedOnTheStatusRowAndStaysThere) {
  TextFixture f(1, "abc");
  const int x = CurrentMenuBar(f.control).x;
  EXPECT_GT(x, 10); // after the labels
  EXPECT_EQ(f.Cells(2, x, 13), "Adding text: ");
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  f.Key(kEnd);
  f.Type("d");
  RefreshMenuBar(f.control);
  EXPECT_EQ(f.Cells(2, x, 26), "Adding text: WRITE ! abcd ");
  EXPECT_EQ(f.Key(kCodeEnter), kEntryAccepted);
  EXPECT_EQ(f.text, "abcd");
  f.Call();
  f.Key(3011);
  EXPECT_EQ(f.Key(kCodeEnter), kTextAcceptedEmpty);
}

TEST(AskText, LinesSplitJoinAndMoveInTheWindow) {
  TextFixture f(4, "one|two");
  EXPECT_EQ(f.Cells(3, 2, 4), "one ");
  EXPECT_EQ(f.Cells(4, 2, 4), "two ");
  f.Type("!");
  f.Keys({kUp, kHome, kRight});
  f.Key(kCodeEnter); // splits "one" after its first letter
  EXPECT_EQ(f.Lines(), (std::vector<std::string>{"o", "ne", "two!"}));
  EXPECT_EQ(f.Cells(5, 2, 5), "two! ");
  f.Key(kCodeBackspace); // at the start of "ne": joined back
  EXPECT_EQ(f.Lines(), (std::vector<std::string>{"one", "two!"}));
  f.Key(kEnd);
  f.Key(kCodeDelete); // at the end: the next line joins
  EXPECT_EQ(f.Key(kCodeTab), kEntryAccepted);
  EXPECT_EQ(f.text, "onetwo!");
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
}

TEST(AskText, EmptyLinesAcceptAndBackLeaves) {
  TextFixture f(4, "a");
  f.Key(kCodeEnter);
  EXPECT_EQ(f.Key(kCodeEnter), kEntryAccepted); // on the new, empty line
  EXPECT_EQ(f.text, "a|");
  TextFixture starts(4, "|x");
  EXPECT_EQ(starts.Key(kCodeTab), kTextAcceptedEmpty);
  TextFixture back(4, "");
  back.Key(kCodeEsc);
  back.control.state.backAllowed = true;
  back.Call();
  EXPECT_EQ(back.Key(kCodeBackspace), kEntryBack);
}

TEST(AskText, TheEightiethLineAcceptsAndNothingIsCut) {
  std::string many = "x";
  for (int i = 1; i < kMaxTextLines; ++i) many += "|x";
  TextFixture f(4, many);
  EXPECT_EQ(f.prompts.editor.top, kMaxTextLines - 4); // scrolled to the last line
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

} // namespace
} // namespace lumora
