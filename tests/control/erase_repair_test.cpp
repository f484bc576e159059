// An erase paints the element's strokes with the background: what crossed it is drawn again
// afterwards, so the window holds what a full redraw would paint.
#include "control/event_cycle.h"
#include "view/render_fixture.h"

#include <gtest/gtest.h>

namespace lumora::test {
namespace {

std::vector<std::uint8_t> Pixels(const SoftCanvas& canvas) {
  const std::uint8_t* data = canvas.Data();
  return {data, data + std::size_t(canvas.Width()) * std::size_t(canvas.Height()) * 3};
}

TEST(EraseRepair, ATakenBackFillingLeavesWhatItsHatchCrossedWhole) {
  for (const Background background : {Background::kLight, Background::kDark}) {
    RenderFixture f(background);
    f.Line(kShapeOpen, {{5, 35}, {95, 35}}, {3, 1, 5}); // a wall through the hatch
    LineElement* border = f.Line(kShapeClosed, {{20, 20}, {60, 20}, {60, 50}, {20, 50}});
    PropertySet words;
    words.SetHeight(60);
    words.SetColour(4);
    const Point at{25, 40};
    ASSERT_NE(f.app.store.AddText(words, &at, 1, "WALL"), nullptr);
    PropertySet hatch;
    hatch.gap = 1.5;
    hatch.hatchAngle = 45;
    hatch.SetColour(2);
    FillingElement* filling = f.app.store.AddFilling(hatch, &border, 1);
    ASSERT_NE(filling, nullptr);
    // A marker and a highlighted line in the area come back as a full redraw shows them.
    f.app.store.AddMarker({40, 35}, 'X');
    f.app.store.Select(border);
    Redraw(f.Scene(), false);

    f.app.painter.Draw(*filling, DrawMode::kErase);
    f.app.store.DeleteFilling(filling);
    RepairErased(f.app);
    const std::vector<std::uint8_t> repaired = Pixels(f.canvas);
    Redraw(f.Scene(), false);
    EXPECT_TRUE(repaired == Pixels(f.canvas));
    EXPECT_TRUE(f.app.window.erased.empty());
  }
}

} // namespace
} // namespace lumora::test
