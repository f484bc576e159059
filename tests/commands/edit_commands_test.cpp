// Edit and delete on a drawing of every kind: what is picked, and that taking an edit back gives
// the drawing exactly as it was.
#include "commands/edit_fixture.h"
#include "text/text_layout.h"

#include <array>

namespace lumora {
namespace {

struct PartCopy {
  std::vector<std::vector<Point>> lines;
  std::vector<std::vector<Point>> texts;
  std::vector<std::string> strings;
  std::vector<Point> locations;
  std::vector<Box> boxes;
};

// Every point, string, location and box of the part and its nested parts.
PartCopy CopyOf(const PartElement& part) {
  PartCopy copy;
  std::vector<const PartElement*> work{&part};
  while (!work.empty()) {
    const PartElement* p = work.back();
    work.pop_back();
    copy.locations.push_back(p->location);
    copy.boxes.push_back(p->box);
    for (const LineNode* n = p->lines; n != nullptr; n = n->next)
      copy.lines.emplace_back(n->element->points, n->element->points + n->element->ps0());
    for (const TextNode* n = p->texts; n != nullptr; n = n->next) {
      copy.texts.emplace_back(n->element->points, n->element->points + n->element->pointCount());
      copy.strings.emplace_back(TextOf(*n->element));
    }
    for (const PartNode* n = p->parts; n != nullptr; n = n->next) work.push_back(n->element);
  }
  return copy;
}

void ExpectExact(const std::vector<Point>& a, const std::vector<Point>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].x, b[i].x) << "point " << i;
    EXPECT_EQ(a[i].y, b[i].y) << "point " << i;
  }
}

void ExpectSame(const PartCopy& a, const PartCopy& b) {
  ASSERT_EQ(a.lines.size(), b.lines.size());
  for (std::size_t i = 0; i < a.lines.size(); ++i) ExpectExact(a.lines[i], b.lines[i]);
  ASSERT_EQ(a.texts.size(), b.texts.size());
  for (std::size_t i = 0; i < a.texts.size(); ++i) ExpectExact(a.texts[i], b.texts[i]);
  EXPECT_EQ(a.strings, b.strings);
  ExpectExact(a.locations, b.locations);
  ASSERT_EQ(a.boxes.size(), b.boxes.size());
  for (std::size_t i = 0; i < a.boxes.size(); ++i) {
    EXPECT_EQ(a.boxes[i].xmin, b.boxes[i].xmin);
    EXPECT_EQ(a.boxes[i].ymin, b.boxes[i].ymin);
    EXPECT_EQ(a.boxes[i].xmax, b.boxes[i].xmax);
    EXPECT_EQ(a.boxes[i].ymax, b.boxes[i].ymax);
  }
}

using EditCommandsTest = EditFixture;

TEST_F(EditCommandsTest, APartScaledMirroredAndTurnedIsTakenBackExactly) {
  BuildSample();
  const PartCopy before = CopyOf(*outer);
  Key(kCodeEdit);
  EnterAt(105.0, 215.0); // inside the outer part, away from its members
  ASSERT_EQ(control.state.elementType, kElementPart);
  app.properties.part.partSx = -2.0; // mirrored and twice as wide
  app.properties.part.partSy = 1.0;
  app.properties.part.partAngle = 30.0;
  EnterAt(60.0, 240.0);
  EXPECT_NE(outer->location.x, before.locations[0].x);
  Key(kCodeBackspace);
  ExpectSame(CopyOf(*outer), before);
  Key(kCodeBackspace);
  EXPECT_TRUE(Shown("Nothing to be done !"));
  // Turned in place with a zero scale there is no inverse at all; the saved state still is.
  Key(kCodeTab);
  EnterAt(105.0, 215.0);
  app.properties.part.partSx = 0.0;
  Key(kCodeTab);
  Key(kCodeBackspace);
  ExpectSame(CopyOf(*outer), before);
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
