// Copy of an area where it can go wrong: a temporary part that cannot be written, and a copy
// taken back before the next round's placing.
#include "commands/area_commands.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "properties/current_properties.h"
#include "text_fixture.h"

#include <filesystem>

namespace lumora {
namespace {

namespace fs = std::filesystem;

struct CopyAreaTest : TextFixture {
  std::string home;

  CopyAreaTest() {
    home = (fs::temp_directory_path() / ("lumora-copy-" + std::to_string(::getpid()))).string();
    fs::remove_all(home);
    fs::create_directories(home);
    app.home = home;
    PropertySet line = control.properties.line;
    line.SetShape(kShapeClosed);
    const Point box[] = {{20, 20}, {60, 20}, {60, 40}, {20, 40}};
    app.store.AddLine(line, box, 4);
  }
  ~CopyAreaTest() override {
    std::error_code ignored;
    fs::remove_all(home, ignored);
  }
  int Count(const PartElement* p) const {
    int n = 0;
    for (; p != nullptr; p = p->next) ++n;
    return n;
  }
  int Lines() const {
    int n = 0;
    for (const LineElement* l = app.drawing.lines; l != nullptr; l = l->next) ++n;
    return n;
  }
  void GatherAndRefer() {
    Key(kCodeCopy);
    EnterAt(10, 10);
    EnterAt(70, 50);
    EnterAt(20, 20);
  }
};

TEST_F(CopyAreaTest, AFailedWriteKeepsTheSetAndNeverPlacesAnOldFile) {
  // An old temporary part lies where the new one cannot be written over it.
  fs::create_directories(home + "/Copy.part");
  GatherAndRefer();
  EXPECT_NE(Prompt().find("ENTER POINT FOR POSITIONING"), std::string::npos) << Prompt();
  EXPECT_EQ(Count(app.drawing.parts), 1); // the set, kept for another try
  EXPECT_TRUE(app.drawing.MarkerList == nullptr);
  EnterAt(100, 100); // a second try fails the same way
  EXPECT_EQ(Lines(), 1);
  Key(kCodeEsc);
  EXPECT_EQ(Lines(), 1);
  EXPECT_EQ(Count(app.drawing.parts), 0);
  EXPECT_EQ(app.drawing.lines->hidden(), 0u);
}

TEST_F(CopyAreaTest, ACopyTakenBackIsNotTakenBackAgainByTheNextRound) {
  GatherAndRefer();
  Key('n');
  EnterAt(20, 100);
  Key(kCodeTab);
  EXPECT_EQ(Lines(), 2);
  Key(kCodeBackspace); // the copy goes
  EXPECT_EQ(Lines(), 1);
  Key(kCodeTab); // the set again, to a new round
  EnterAt(20, 20);
  Key('y');
  Key(kCodeBackspace); // nothing placed in this round: back to the set, sources shown
  EXPECT_EQ(Lines(), 1);
  EXPECT_EQ(app.drawing.lines->hidden(), 0u);
  Key(kCodeEsc);
  EXPECT_EQ(Count(app.drawing.parts), 0);
  EXPECT_TRUE(app.drawing.SelectedLines == nullptr);
}

// Picks gather a set and take out of it again: what leaves is no longer highlighted, a filling
// leaves with its boundary line, and the set's box shrinks to what stays.
TEST_F(CopyAreaTest, TakingOutOfAPickedSetShrinksIt) {
  LineElement* rectangle = app.drawing.lines;
  ASSERT_NE(app.store.AddFilling(control.properties.filling, &rectangle, 1), nullptr);
  PropertySet line = control.properties.line;
  line.SetShape(kShapeOpen);
  const Point far[] = {{100, 100}, {140, 100}};
  ASSERT_NE(app.store.AddLine(line, far, 2), nullptr);
  Key(kCodeCopy);
  Key(kCodeTab); // picks
  EnterAt(20, 30);
  EnterAt(50, 25); // inside the rectangle: its filling
  EnterAt(120, 100);
  const PartElement* set = app.drawing.parts;
  ASSERT_NE(set, nullptr);
  ASSERT_NE(set->fillings, nullptr);
  EXPECT_DOUBLE_EQ(set->box.xmax, 140.0);
  EnterAt(120, 100);
  EXPECT_DOUBLE_EQ(set->box.xmax, 60.0);
  EnterAt(20, 30);
  EXPECT_EQ(set->lines, nullptr);
  EXPECT_EQ(set->fillings, nullptr);
  EXPECT_EQ(app.drawing.SelectedLines, nullptr);
  EXPECT_EQ(app.drawing.SelectedFillings, nullptr);
  Key(kCodeTab);
  EXPECT_TRUE(Shown("No elements !"));
  Key(kCodeEsc);
}

// The temporary part keeps no part's location: a part nested in the copied set still gets its
// own, moved with the copy, not (0,0).
TEST_F(CopyAreaTest, ANestedPartKeepsItsLocationThroughTheCopy) {
  PropertySet line = control.properties.line;
  line.SetShape(kShapeOpen);
  const Point stroke[] = {{30, 25}, {50, 25}};
  PartElement* inner = app.store.AddPart("inner", 1, 0);
  inner->location = {30, 25};
  app.store.AddMember(inner, app.store.AddLine(line, stroke, 2));
  PartElement* outer = app.store.AddPart("outer", 1, 0);
  outer->location = {20, 20};
  app.store.AddMember(outer, app.drawing.lines->next); // the box
  app.store.AddMember(outer, inner);
  GatherAndRefer();
  Key('n');
  EnterAt(20, 100);
  Key(kCodeTab);
  Key(kCodeEsc);
  ASSERT_EQ(Count(app.drawing.parts), 4);
  const PartElement* copy = app.drawing.parts;
  const PartElement* nested = copy->next;
  ASSERT_EQ(copy->name, std::string("outer"));
  ASSERT_EQ(nested->name, std::string("inner"));
  EXPECT_EQ(copy->location.x, 20);
  EXPECT_EQ(copy->location.y, 100);
  EXPECT_EQ(nested->location.x, 30);
  EXPECT_EQ(nested->location.y, 105);
}

} // namespace
} // namespace lumora
