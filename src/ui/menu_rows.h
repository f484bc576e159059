// The menus' row tables: every row is the text of a command with its key and the code that key
// gives, so choosing a row is the same as pressing the key. The tables hold the texts of one
// language and are built again when the language changes; the row chosen last in each menu is
// kept across openings and language switches.
#pragma once

#include "ui/ask_state.h"
#include "util/text_pair.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

inline constexpr int kMenuRowBytes = 40;
inline constexpr int kMainMenuRows = 27;
inline constexpr int kHelpMenuRows = 22;
inline constexpr int kPopupVariants = 5;
inline constexpr int kPopupRows = 6;

// The extra row of the action popup, second in the list.
inline constexpr int kPopupPlain = 0;
inline constexpr int kPopupClose = 1;
inline constexpr int kPopupEdit = 2;
inline constexpr int kPopupSelect = 3;
inline constexpr int kPopupBack = 4;

class MenuTable {
public:
  explicit MenuTable(int limit = kPopupRows) : limit_(limit) {}

  // Appends a row, its text cut at kMenuRowBytes; false when the table is full.
  bool Add(std::string_view text, int code);
  void Clear();

  int Count() const { return static_cast<int>(codes_.size()); }
  // The longest row: the menu window's width.
  int Width() const { return width_; }
  // The row texts, each at most kMenuRowBytes bytes, as the list shows them.
  std::span<const std::string> Texts() const { return texts_; }
  // The code of a row, 0 for a row that does not exist.
  int CodeAt(int index) const;

private:
  int limit_;
  int width_ = 0;
  std::vector<std::string> texts_;
  std::vector<int> codes_;
};

struct Menus {
  MenuTable main{kMainMenuRows};
  MenuTable help{kHelpMenuRows};
  std::array<MenuTable, kPopupVariants> popup;
  bool built = false;
  Language language = Language::kEnglish; // of the texts now in the tables

  // The row chosen last (0-based), highlighted on the next opening.
  int lastMain = 0;
  int lastHelp = 0;
  std::array<int, kPopupVariants> lastPopup{};
};

// Empties every table and fills the main menu, the help menu and the popup variants with the
// texts of the language.
void BuildMenus(Menus& menus, Language language);

// Builds the tables when they are missing or hold the other language.
void EnsureMenus(Menus& menus, Language language);

// The popup variant's table; an unknown variant gives the plain one.
const MenuTable& PopupTable(const Menus& menus, int variant);
int PopupVariantIndex(int variant);

} // namespace lumora
