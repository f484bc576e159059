#include "protocol/command_state.h"
#include "screen/screen_fixture.h"
#include "ui/menu_bar.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

struct Fields {
  int help, x, y, dx, dy, angle, snap, width;
  friend bool operator==(const Fields&, const Fields&) = default;
};

Fields FieldsOf(int columns, Language language, bool withProperties) {
  const MenuBarLayout b = MenuBarLayoutFor(columns, language, withProperties);
  return {b.help, b.x, b.y, b.dx, b.dy, b.angle, b.snap, b.fieldWidth};
}

TEST(MenuBar, LabelsAndFieldsFollowTheWindowWidth) {
  EXPECT_EQ(MenuBarLayoutFor(79, Language::kEnglish, false).helpLabel, "He");
  EXPECT_EQ(FieldsOf(79, Language::kEnglish, false), (Fields{4, 8, 18, 30, 40, 63, 71, 10}));
  EXPECT_EQ(FieldsOf(80, Language::kEnglish, true), (Fields{11, 18, 28, 40, 50, 64, 72, 10}));
  EXPECT_EQ(FieldsOf(100, Language::kFinnish, false), (Fields{7, 14, 29, 48, 63, 85, 93, 15}));
  // The long labels leave the last field too little room in a window just wide enough for
  // them: the value must not run over the angle field.
  EXPECT_EQ(MenuBarLayoutFor(110, Language::kFinnish, true).dyWidth, 4);
  EXPECT_EQ(MenuBarLayoutFor(20, Language::kEnglish, false).dxWidth, 0);
}

TEST(MenuBar, ClicksGiveTheCodesOfTheirZones) {
  // 100 columns, no element type: main 1-6, help 7-13, X and Y 14-47, Dx and Dy 48-83.
  const MenuBarLayout b = MenuBarLayoutFor(100, Language::kEnglish, false);
  const int row2 = 20;
  EXPECT_EQ(MenuBarZoneCode(b, 59, row2, true), kCodeMainMenu);
  EXPECT_EQ(MenuBarZoneCode(b, 60, row2, true), kCodeHelpMenu);
  EXPECT_EQ(MenuBarZoneCode(b, 130, 31, true), 3108);
  EXPECT_EQ(MenuBarZoneCode(b, 470, row2, true), 1108);
  EXPECT_EQ(MenuBarZoneCode(b, 830, row2, true), 0);  // the angle field
  EXPECT_EQ(MenuBarZoneCode(b, 200, row2, false), 0); // coordinates closed
  EXPECT_EQ(MenuBarZoneCode(b, 20, 32, true), 0);     // the drawing
  EXPECT_EQ(MenuBarZoneCode(b, 985, 7, true), kCodeInformation);
  EXPECT_EQ(MenuBarZoneCode(b, 985, 8, true), 0); // only the top half of the "i"
  const MenuBarLayout two = MenuBarLayoutFor(100, Language::kEnglish, true);
  EXPECT_EQ(MenuBarZoneCode(two, 60, row2, true), kCodePropertiesMenu);
  EXPECT_EQ(MenuBarZoneCode(two, 100, row2, true), kCodeHelpMenu);
}

TEST(MenuBar, LabelsAreDrawnInTheirColoursAndReplacedWithTheLayout) {
  ScreenFixture f;
  DrawMenuBar(f.screen, MenuBarLayoutFor(100, Language::kEnglish, true));
  EXPECT_EQ(f.Cells(2, 1, 17), "Main. Pr. Help.  ");
  EXPECT_EQ(f.Cells(1, 99, 1), "i");
  std::vector<Rgb> colours;
  for (const GlyphCall& call : f.canvas.glyphs) colours.push_back(call.colour);
  EXPECT_EQ(colours, (std::vector<Rgb>{kRed, kBlue, {0, 255, 0}, {255, 0, 255}}));
  f.canvas.glyphs.clear();
  DrawMenuBar(f.screen, MenuBarLayoutFor(100, Language::kEnglish, true));
  EXPECT_TRUE(f.canvas.glyphs.empty()); // unchanged: nothing written
  DrawMenuBar(f.screen, MenuBarLayoutFor(100, Language::kEnglish, false));
  EXPECT_EQ(f.Cells(2, 1, 17), "Main. Help.      ");
}

} // namespace
} // namespace lumora
