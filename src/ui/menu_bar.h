// The menu bar on message row 2: the labels of the three menus, then the coordinate, angle and
// snap fields of the status line. How much the labels say and how wide the fields are depends
// on the window's columns. A click on a label opens its menu, a click on the coordinate fields
// opens the coordinate entry, and the "i" at the right end of row 1 opens the information box.
#pragma once

#include "util/text_pair.h"

#include <string_view>

namespace lumora {

struct Control;
struct TextScreen;

inline constexpr int kMenuBarRow = 2;
inline constexpr int kInformationRow = 1;

// Columns of the fields (1-based) and their widths for one window width and language. Layout 2
// adds the properties label, shown while the main function makes an element of some type.
struct MenuBarLayout {
  int columns = 0;
  std::string_view mainLabel;
  std::string_view propertiesLabel; // empty in layout 1
  std::string_view helpLabel;
  int fieldWidth = 0;
  int spacing = 0;

  int main = 1;
  int properties = 0; // 0: not shown
  int help = 0;
  int x = 0;
  int y = 0;
  int dx = 0;
  int dy = 0;
  int angle = 0;
  int snap = 0;
  int end = 0;
  int information = 0; // the "i" on row 1

  // Room of each coordinate field: the field width, cut where the next field begins, so a long
  // value never runs into the angle field of a narrow window.
  int xWidth = 0;
  int yWidth = 0;
  int dxWidth = 0;
  int dyWidth = 0;
};

MenuBarLayout MenuBarLayoutFor(int columns, Language language, bool withProperties);

// The layout in force: the screen's columns, the language, and the properties label while the
// main function has an element type.
MenuBarLayout CurrentMenuBar(const Control& control);

// Writes the labels in their colours over the label part of row 2 and the information label on
// row 1, each only when the screen does not already show it.
void DrawMenuBar(TextScreen& screen, const MenuBarLayout& layout, bool always = false);
void RefreshMenuBar(Control& control);
// After the message band was painted over: everything is written again.
void RedrawMenuBar(Control& control);

// The code of a click at a window pixel (0 0 = top left) on the bar, 0 when none. The
// coordinate fields answer only while `coordinatesOpen`.
int MenuBarZoneCode(const MenuBarLayout& layout, int x, int y, bool coordinatesOpen);
// The same for the present state: the coordinate fields answer while no help function runs and
// no text is being entered.
int MenuBarCode(const Control& control, int x, int y);

} // namespace lumora
