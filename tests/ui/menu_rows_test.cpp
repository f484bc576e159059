#include "ui/menu_rows.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

std::vector<int> Codes(const MenuTable& table) {
  std::vector<int> codes;
  for (int i = 0; i < table.Count(); ++i) codes.push_back(table.CodeAt(i));
  return codes;
}

// The menus' own rows are pictured whole by the event files' screenshots; here the popup variants
// and limits.
TEST(MenuRows, PopupVariantsRowLimitsAndTheRowsChosenLast) {
  Menus menus;
  BuildMenus(menus, Language::kEnglish);
  EXPECT_EQ(menus.main.CodeAt(27), 0); // past the last row
  EXPECT_EQ(Codes(PopupTable(menus, kPopupPlain)), (std::vector<int>{9, 8, 4107, 27}));
  EXPECT_EQ(Codes(PopupTable(menus, kPopupBack)), (std::vector<int>{9, 10, 8, 4107, 27}));
  EXPECT_EQ(PopupTable(menus, kPopupSelect).Texts()[1], "select <ctrl+enter>");
  EXPECT_EQ(PopupTable(menus, 7).Count(), 4); // an unknown variant shows the plain rows
  menus.lastMain = 6;
  BuildMenus(menus, Language::kFinnish);
  EXPECT_EQ(PopupTable(menus, kPopupEdit).Texts()[1], "teksti  <ctrl+enter>");
  EXPECT_EQ(menus.lastMain, 6);

  MenuTable table(2);
  EXPECT_TRUE(table.Add("one", 1));
  EXPECT_TRUE(table.Add(std::string(50, 'x'), 2));
  EXPECT_FALSE(table.Add("three", 3));
  EXPECT_EQ(table.Width(), 40);
}

} // namespace
} // namespace lumora
