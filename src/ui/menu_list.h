// The list a menu shows in its own window: the rows of a menu table, the row chosen last
// highlighted, moved with the arrow keys or the mouse and chosen with Enter or a click. A step
// machine: called once per code with the same place until it answers.
#pragma once

#include "control/command_state.h"
#include "ui/menu_rows.h"

namespace lumora {

// Answers besides a row index (0-based) and kStillRunning.
inline constexpr int kListBack = -8;       // Backspace, or the list cannot open
inline constexpr int kListCompleted = -9;  // Tab
inline constexpr int kListCtrlEnter = -10; // Ctrl+Enter
inline constexpr int kListEsc = -27;

class MenuList {
public:
  // The list of `table` at (row, column), at most `rows` rows high and as wide as its longest
  // row, opening on `initial`.
  int Select(Control& control, int row, int column, int rows, int initial, const MenuTable& table);

  bool Open() const { return open_; }

private:
  int Start(Control& control, int initial, const MenuTable& table);
  int Key(Control& control, const MenuTable& table);
  void Move(Control& control, const MenuTable& table, int by);
  void Draw(Control& control, const MenuTable& table);
  void AimMouse(Control& control, int count);
  int Close(Control& control, int answer);

  bool open_ = false;
  int row_ = 0;
  int column_ = 0;
  int visible_ = 0;
  int width_ = 0;
  int first_ = 0;  // index of the first visible row
  int cursor_ = 0; // highlighted row within the visible ones
  SavedFlags saved_;
  MouseArrows savedArrows_;
};

} // namespace lumora
