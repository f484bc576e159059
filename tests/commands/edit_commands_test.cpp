// Edit and delete on a drawing of every kind: what is picked, and that taking an edit back gives
// the drawing exactly as it was.
#include "commands/edit_fixture.h"
#include "text/text_layout.h"

namespace lumora {
namespace {

using EditCommandsTest = EditFixture;

TEST_F(EditCommandsTest, APartScaledMirroredAndTurnedIsTakenBackExactly) {
  BuildSample();
  const std::string before = Saved();
  const Point location = outer->location;
  Key(kCodeEdit);
  EnterAt(105.0, 215.0); // inside the outer part, away from its members
  ASSERT_EQ(control.state.elementType, kElementPart);
  app.properties.part.partSx = -2.0; // mirrored and twice as wide
  app.properties.part.partSy = 1.0;
  app.properties.part.partAngle = 30.0;
  EnterAt(60.0, 240.0);
  EXPECT_NE(outer->location.x, location.x);
  Key(kCodeBackspace);
  EXPECT_TRUE(Saved() == before) << "the part is not as it was";
  Key(kCodeBackspace);
  EXPECT_TRUE(Shown("Nothing to be done !"));
  // Turned in place with a zero scale there is no inverse at all; the saved state still is.
  Key(kCodeTab);
  EnterAt(105.0, 215.0);
  app.properties.part.partSx = 0.0;
  Key(kCodeTab);
  Key(kCodeBackspace);
  EXPECT_TRUE(Saved() == before) << "the part is not as it was";
  Key(kCodeEsc);
  EXPECT_EQ(app.drawing.MarkerList, nullptr);
}

TEST_F(EditCommandsTest, ALongTextKeepsItsWholeStringThroughAnEdit) {
  const std::string longText(1500, 'x');
  TextElement* text = Text(0, {{50, 50}}, longText);
  ASSERT_NE(text, nullptr);
  Key(kCodeEdit);
  EnterAt(50.0, 50.0);
  ASSERT_EQ(control.state.elementType, kElementText);
  app.properties.text.SetColour(3);
  TabAt(80.0, 80.0);
  EXPECT_EQ(TextOf(*text), longText);
  EXPECT_EQ(text->colour(), 3u);
  EXPECT_EQ(text->points[0].x, 50.0); // Tab does not move it
  // Moved with Enter and taken back: string, colour and place as they were.
  const std::uint32_t colour = text->colour();
  EnterAt(50.0, 50.0);
  app.properties.text.SetColour(colour == 5 ? 6 : 5);
  EnterAt(90.0, 60.0);
  EXPECT_EQ(text->points[0].x, 90.0);
  Key(kCodeBackspace);
  EXPECT_EQ(TextOf(*text), longText);
  EXPECT_EQ(text->colour(), colour);
  EXPECT_EQ(text->points[0].x, 50.0);
}

// A measure's string is corrected on the prompt line, whatever text window the setup gives an
// ordinary text.
TEST_F(EditCommandsTest, AMeasureStringIsAOneLineEntry) {
  app.setup.textWindowLines = 3;
  ASSERT_NE(Text(1, {{60, 85}, {40, 70}, {80, 70}}, "40.0"), nullptr);
  ASSERT_NE(Text(0, {{20, 30}}, "Hello"), nullptr);
  Key(kCodeEdit);
  EnterAt(60.0, 85.0);
  Key(kCodeCtrlEnter);
  const std::string prompt(MirrorRow(app.screen, 1));
  EXPECT_NE(prompt.find("EDIT STRING !"), std::string::npos) << prompt;
  EXPECT_TRUE(app.screen.windows.empty());
  Key(kCodeEsc);
  // An ordinary text is edited in the text window.
  Key(kCodeEdit);
  EnterAt(20.0, 30.0);
  Key(kCodeCtrlEnter);
  EXPECT_FALSE(app.screen.windows.empty());
}

TEST_F(EditCommandsTest, ATextInAPartIsPickedAloneALineInAPartPicksThePart) {
  BuildSample();
  const int texts = Texts();
  const int lines = Lines();
  Key(kCodeDeleteElements);
  EnterAt(105.0, 240.0); // the part's text
  EXPECT_NE(tag->hidden(), 0u);
  EXPECT_EQ(partLine->hidden(), 0u);
  EnterAt(120.0, 200.0); // a line of the part: the text goes for good, the part is pending
  EXPECT_EQ(Texts(), texts - 1);
  EXPECT_NE(partLine->hidden(), 0u);
  EXPECT_NE(outer->hidden(), 0u);
  Key(kCodeBackspace);
  EXPECT_EQ(partLine->hidden(), 0u);
  EXPECT_EQ(outer->hidden(), 0u);
  EnterAt(120.0, 200.0);
  Key(kCodeEsc);
  // The part went with every member, the nested part's too; nothing else did.
  EXPECT_EQ(Parts(), 0);
  EXPECT_EQ(Lines(), lines - 4);
  EXPECT_EQ(app.drawing.fillings, filling);
  EXPECT_EQ(filling->next, nullptr);
}

TEST_F(EditCommandsTest, APendingLineHidesTheFillingItBounds) {
  BuildSample();
  Key(kCodeDeleteElements);
  EnterAt(120.0, 9.8); // the rectangle's bottom edge
  EXPECT_NE(rectangle->hidden(), 0u);
  EXPECT_NE(filling->hidden(), 0u);
  Key(kCodeBackspace);
  EXPECT_EQ(rectangle->hidden(), 0u);
  EXPECT_EQ(filling->hidden(), 0u);
  EnterAt(120.0, 9.8);
  Key(kCodeEsc);
  for (const FillingElement* f = app.drawing.fillings; f != nullptr; f = f->next) {
    EXPECT_NE(f, filling);
    EXPECT_EQ(f->hidden(), 0u);
  }
}

} // namespace
} // namespace lumora
