#include "commands/text_fixture.h"
#include "model/element_store.h"
#include "text/text_layout.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lumora {
namespace {

struct UpdateTextsTest : TextFixture {
  std::vector<TextElement*> texts;

  void Add(std::string_view value) {
    const Point at{10.0, 10.0 * static_cast<double>(texts.size() + 1)};
    texts.push_back(app.store.AddText(app.properties.Of(kElementText), &at, 1, value));
  }
  std::string Of(std::size_t i) const { return std::string(TextOf(*texts[i])); }
  bool Running() const { return LevelActive(control, Level::kMain); }
};

// One table for the whole drawing: a name is asked once, in list order (the newest text first),
// a text that begins with its reference keeps it, a kept reference proposes its value, a name of
// 19 characters is no reference, and the next run starts with an empty table again.
TEST_F(UpdateTextsTest, FillsEveryTextFromOneTable) {
  Add("#NAME#old");
  Add("#A# and #A#");
  Add("#A#");
  Add("#NAME#a|b");
  Add("#ABCDEFGHIJKLMNOPQRS#");
  Key(kCodeUpdateTexts);
  EXPECT_NE(Prompt().find("Updating drawing: ARE YOU SURE ?"), std::string::npos) << Prompt();
  Key('y');
  EXPECT_NE(Prompt().find("GIVE TEXT FOR #NAME# ?"), std::string::npos) << Prompt();
  Answer("new");
  EXPECT_NE(Prompt().find("GIVE TEXT FOR #A# ?"), std::string::npos) << Prompt();
  Answer("x");
  EXPECT_FALSE(Running()) << Prompt();
  EXPECT_EQ(Of(0), "#NAME#new");
  EXPECT_EQ(Of(1), "x and x");
  EXPECT_EQ(Of(2), "#A#x");
  EXPECT_EQ(Of(3), "newa|b");
  EXPECT_EQ(Of(4), "#ABCDEFGHIJKLMNOPQRS#");

  Key(kCodeUpdateTexts);
  Key('y');
  EXPECT_NE(Prompt().find("GIVE TEXT FOR #A# ? x"), std::string::npos) << Prompt();
  // Esc leaves this text as it was and goes on with the next.
  Key(kCodeEsc);
  EXPECT_NE(Prompt().find("GIVE TEXT FOR #NAME# ? new"), std::string::npos) << Prompt();
  Answer("newer");
  EXPECT_FALSE(Running());
  EXPECT_EQ(Of(2), "#A#x");
  EXPECT_EQ(Of(0), "#NAME#newer");
}

TEST_F(UpdateTextsTest, NoChangesNothing) {
  Add("#A#");
  const int changes = app.drawing.changes;
  Key(kCodeUpdateTexts);
  Key('n');
  EXPECT_FALSE(Running());
  EXPECT_EQ(Of(0), "#A#");
  EXPECT_EQ(app.drawing.changes, changes);
}

} // namespace
} // namespace lumora
