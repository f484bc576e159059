#include "control/dispatch_fixture.h"
#include "ui/menu_bar.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kMagenta{255, 0, 255};

struct Fields {
  int help, x, y, dx, dy, angle, snap, width;
  friend bool operator==(const Fields&, const Fields&) = default;
};

Fields FieldsOf(const MenuBarLayout& b) {
  return {b.help, b.x, b.y, b.dx, b.dy, b.angle, b.snap, b.fieldWidth};
}

TEST(MenuBar, LabelsAndFieldsFollowTheWindowWidth) {
  MenuBarLayout b = MenuBarLayoutFor(79, Language::kEnglish, false);
  EXPECT_EQ(b.mainLabel, "Ma");
  EXPECT_EQ(b.helpLabel, "He");
  EXPECT_EQ(b.properties, 0);
  EXPECT_EQ(FieldsOf(b), (Fields{4, 8, 18, 30, 40, 63, 71, 10}));

  b = MenuBarLayoutFor(79, Language::kFinnish, true);
  EXPECT_EQ(b.mainLabel, "Pt");
  EXPECT_EQ(b.propertiesLabel, "O");
  EXPECT_EQ(b.properties, 4);
  EXPECT_EQ(FieldsOf(b), (Fields{6, 10, 20, 32, 42, 64, 72, 10}));

  b = MenuBarLayoutFor(80, Language::kEnglish, true);
  EXPECT_EQ(b.propertiesLabel, "Pr.");
  EXPECT_EQ(FieldsOf(b), (Fields{11, 18, 28, 40, 50, 64, 72, 10}));
  EXPECT_EQ(MenuBarLayoutFor(99, Language::kEnglish, false).fieldWidth, 12);
  EXPECT_EQ(MenuBarLayoutFor(99, Language::kEnglish, false).spacing, 3);

  b = MenuBarLayoutFor(100, Language::kFinnish, false);
  EXPECT_EQ(b.mainLabel, "P\xE4\xE4t.");
  EXPECT_EQ(FieldsOf(b), (Fields{7, 14, 29, 48, 63, 85, 93, 15}));
  EXPECT_EQ(b.information, 99);

  b = MenuBarLayoutFor(120, Language::kEnglish, false);
  EXPECT_EQ(b.helpLabel, "Helpfunctions");
  EXPECT_EQ(FieldsOf(b), (Fields{15, 30, 45, 65, 80, 104, 112, 15}));
}

TEST(MenuBar, CoordinateFieldsStopWhereTheAngleFieldBegins) {
  // The long labels leave the last field too little room in a window just wide enough for
  // them: the value must not run over the angle field.
  MenuBarLayout b = MenuBarLayoutFor(110, Language::kFinnish, true);
  EXPECT_EQ(b.dy, 91);
  EXPECT_EQ(b.angle, 95);
  EXPECT_EQ(b.dyWidth, 4);
  EXPECT_EQ(b.xWidth, 15);
  b = MenuBarLayoutFor(20, Language::kEnglish, false);
  EXPECT_EQ(b.dyWidth, 0);
  EXPECT_EQ(b.dxWidth, 0);
  EXPECT_EQ(MenuBarLayoutFor(140, Language::kEnglish, true).dyWidth, 15);
}

TEST(MenuBar, ClicksGiveTheCodesOfTheirZones) {
  // 100 columns, no element type: main 1-6, help 7-13, X and Y 14-47, Dx and Dy 48-83.
  const MenuBarLayout b = MenuBarLayoutFor(100, Language::kEnglish, false);
  const int row2 = 20;
  EXPECT_EQ(MenuBarZoneCode(b, 0, row2, true), kCodeMainMenu);
  EXPECT_EQ(MenuBarZoneCode(b, 59, row2, true), kCodeMainMenu);
  EXPECT_EQ(MenuBarZoneCode(b, 60, row2, true), kCodeHelpMenu);
  EXPECT_EQ(MenuBarZoneCode(b, 129, 31, true), kCodeHelpMenu);
  EXPECT_EQ(MenuBarZoneCode(b, 130, row2, true), 3108);
  EXPECT_EQ(MenuBarZoneCode(b, 469, row2, true), 3108);
  EXPECT_EQ(MenuBarZoneCode(b, 470, row2, true), 1108);
  EXPECT_EQ(MenuBarZoneCode(b, 829, row2, true), 1108);
  EXPECT_EQ(MenuBarZoneCode(b, 830, row2, true), 0);
  EXPECT_EQ(MenuBarZoneCode(b, 200, row2, false), 0);
  EXPECT_EQ(MenuBarZoneCode(b, 20, 10, true), 0); // row 1
  EXPECT_EQ(MenuBarZoneCode(b, 20, 32, true), 0); // the drawing
  EXPECT_EQ(MenuBarZoneCode(b, 985, 7, true), kCodeInformation);
  EXPECT_EQ(MenuBarZoneCode(b, 985, 8, true), 0); // only the top half of the "i"
  const MenuBarLayout two = MenuBarLayoutFor(100, Language::kEnglish, true);
  EXPECT_EQ(MenuBarZoneCode(two, 59, row2, true), kCodeMainMenu);
  EXPECT_EQ(MenuBarZoneCode(two, 60, row2, true), kCodePropertiesMenu);
  EXPECT_EQ(MenuBarZoneCode(two, 100, row2, true), kCodeHelpMenu);
}

TEST(MenuBar, ClicksAreTranslatedWithTheStateOfTheProgram) {
  DispatchFixture f;
  f.control.hooks.menuBarCode = [&f](int x, int y) { return MenuBarCode(f.control, x, y); };
  TranslateInput(f.control, InputKind::kLeftClick, 5, 20);
  EXPECT_EQ(f.control.In().code, kCodeMainMenu);
  TranslateInput(f.control, InputKind::kLeftClick, 200, 20);
  EXPECT_EQ(f.control.In().code, 3108);
  f.control.state.elementType = kElementLine; // the properties label shifts the help label
  TranslateInput(f.control, InputKind::kLeftClick, 65, 20);
  EXPECT_EQ(f.control.In().code, kCodePropertiesMenu);
  f.Key(DispatchFixture::kHelpKey); // a help function runs: the fields are not coordinates
  TranslateInput(f.control, InputKind::kLeftClick, 200, 20);
  EXPECT_EQ(f.control.In().code, kCodeEnter);
}

TEST(MenuBar, LabelsAreDrawnInTheirColoursAndReplacedWithTheLayout) {
  ScreenFixture f;
  DrawMenuBar(f.screen, MenuBarLayoutFor(100, Language::kEnglish, true));
  EXPECT_EQ(f.Cells(2, 1, 17), "Main. Pr. Help.  ");
  EXPECT_EQ(f.Cells(1, 99, 1), "i");
  std::vector<Rgb> colours;
  for (const GlyphCall& call : f.canvas.glyphs) colours.push_back(call.colour);
  EXPECT_EQ(colours, (std::vector<Rgb>{kRed, kBlue, kGreen, kMagenta}));
  // Drawn again unchanged: nothing is written.
  f.canvas.glyphs.clear();
  DrawMenuBar(f.screen, MenuBarLayoutFor(100, Language::kEnglish, true));
  EXPECT_TRUE(f.canvas.glyphs.empty());
  // Back to layout 1: no properties label is left behind.
  DrawMenuBar(f.screen, MenuBarLayoutFor(100, Language::kEnglish, false));
  EXPECT_EQ(f.Cells(2, 1, 17), "Main. Help.      ");
}

} // namespace
} // namespace lumora
