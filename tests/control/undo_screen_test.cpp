// A step taken back or done again repaints only what it changed, and leaves the window exactly
// as a full redraw of the drawing would paint it: what an erased element crossed is whole again,
// and an element that comes back lies under the older ones it lies under in a full redraw.
#include "control/event_cycle.h"
#include "view/render_fixture.h"

#include <gtest/gtest.h>

namespace lumora::test {
namespace {

std::vector<std::uint8_t> Pixels(const SoftCanvas& canvas) {
  const std::uint8_t* data = canvas.Data();
  return {data, data + std::size_t(canvas.Width()) * std::size_t(canvas.Height()) * 3};
}

// Every step of the drawing lies left of x 70: a pixel put out there by hand stays while the
// steps are taken back and done again, and a repaint of the whole window would clear it.
constexpr Point kUntouched{90, 68};
constexpr Rgb kMark{12, 200, 34};

struct UndoScreen : RenderFixture {
  using RenderFixture::RenderFixture;

  PixelRect MarkPixel() const {
    const Point c = DrawingToCanvas(app.view, kUntouched);
    return {int(c.x), int(c.y), 1, 1};
  }

  // After a step is taken back or done again and its boxes repaired: the mark is still there
  // and every other pixel is what a full redraw paints.
  void ExpectRepainted(const std::string& what) {
    RepairErased(app);
    const PixelRect mark = MarkPixel();
    EXPECT_EQ(canvas.Pixel(mark.x, mark.y), kMark) << what << ": the whole window was repainted";
    const std::vector<std::uint8_t> shown = Pixels(canvas);
    Redraw(Scene(), false);
    canvas.FillRect(mark, kMark);
    EXPECT_TRUE(shown == Pixels(canvas)) << what << ": the window differs from a full redraw";
  }

  void Commit() { ASSERT_TRUE(app.store.CommitStep()); }
};

TEST(UndoScreen, StepsTakenBackAndDoneAgainLeaveWhatAFullRedrawPaints) {
  for (const Background background : {Background::kLight, Background::kDark}) {
    UndoScreen f(background);
    ElementStore& store = f.app.store;
    // Two crossing lines of their own colours, one step each: where they cross, the older one
    // is on top in a full redraw.
    f.Line(kShapeOpen, {{5, 10}, {65, 10}}, {3, 1, 5});
    f.Commit();
    LineElement* cross = f.Line(kShapeOpen, {{30, 2}, {30, 30}}, {6, 1, 3});
    f.Commit();
    // A wall and a text that the hatch of a filling crosses; the filling is a step of its own.
    f.Line(kShapeOpen, {{5, 45}, {65, 45}}, {3, 1, 5});
    PropertySet words;
    words.SetHeight(60);
    words.SetColour(4);
    const Point at{25, 50};
    TextElement* text = store.AddText(words, &at, 1, "WALL");
    ASSERT_NE(text, nullptr);
    LineElement* border = f.Line(kShapeClosed, {{20, 35}, {60, 35}, {60, 60}, {20, 60}});
    f.Commit();
    PropertySet hatch;
    hatch.gap = 1.5;
    hatch.hatchAngle = 45;
    hatch.SetColour(2);
    FillingElement* filling = store.AddFilling(hatch, &border, 1);
    ASSERT_NE(filling, nullptr);
    f.Commit();
    // The border stretched in place (its hatch follows), the text and a line recoloured.
    store.Keep(*border);
    border->points[2] = {68, 64};
    store.SetZones(*border, LineBox(*border));
    store.ClearHatch(*filling);
    store.SetZones(*filling, FillingBox(*filling));
    f.Commit();
    store.Keep(*text);
    text->SetColour(7);
    store.Keep(*cross);
    cross->SetColour(1);
    f.Commit();
    // A part placed over the crossing lines, and then deleted with its members.
    PartElement* part = store.AddPart("box", 1, 0);
    ASSERT_NE(part, nullptr);
    store.AddMember(part, f.Line(kShapeClosed, {{25, 5}, {35, 5}, {35, 15}, {25, 15}}, {5, 2, 0}));
    store.AddMember(part, f.Line(kShapeOpen, {{22, 8}, {40, 12}}, {8, 1, 0}));
    f.Commit();
    store.DeletePart(part, true);
    f.Commit();

    Redraw(f.Scene(), false);
    f.canvas.FillRect(f.MarkPixel(), kMark);
    int steps = 0;
    StepKind kind = StepKind::kChange;
    while (store.Undo(kind)) f.ExpectRepainted("undo " + std::to_string(++steps));
    EXPECT_EQ(steps, 8);
    while (store.Redo(kind)) f.ExpectRepainted("redo " + std::to_string(steps--));
    EXPECT_EQ(store.CheckSoundness(), "");
  }
}

} // namespace
} // namespace lumora::test
