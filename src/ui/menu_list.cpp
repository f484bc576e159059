#include "ui/menu_list.h"

#include "control/dispatch.h"
#include "sound/my_beep.h"
#include "ui/text_window.h"
#include "ui/write_text.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int kPageStep = 5; // rows Ctrl+Up and Ctrl+Down move
constexpr int kCodeCtrlUp = kSpecialCtrl + kKeyUp;
constexpr int kCodeCtrlDown = kSpecialCtrl + kKeyDown;
constexpr int kCodeHome = kSpecialPlain + kKeyHome;
constexpr int kCodeEnd = kSpecialPlain + kKeyEnd;

} // namespace

int MenuList::Select(Control& control, int row, int column, int rows, int initial,
                     const MenuTable& table) {
  if (!open_) {
    row_ = row;
    column_ = column;
    visible_ = std::min(table.Count(), rows);
    width_ = table.Width();
    return Start(control, initial, table);
  }
  if (control.state.windowRedrawCounter > 0) {
    --control.state.windowRedrawCounter;
    Draw(control, table);
  }
  return Key(control, table);
}

int MenuList::Start(Control& control, int initial, const MenuTable& table) {
  if (visible_ < 1 || control.screen == nullptr ||
      !OpenWindow(*control.screen, row_, column_, visible_, width_)) {
    return kListBack;
  }
  open_ = true;
  CommandState& state = control.state;
  saved_ = {state.cursorShown, state.inputMode, state.promptRow, state.referenceLock,
            state.backAllowed};
  savedArrows_ = state.arrows;
  state.inputMode = kModeList;
  state.cursorShown = false;
  state.promptRow = row_;
  const int index = initial >= 0 && initial < table.Count() ? initial : 0;
  first_ = std::max(0, index - visible_ + 1);
  cursor_ = index - first_;
  Draw(control, table);
  return kStillRunning;
}

int MenuList::Key(Control& control, const MenuTable& table) {
  const InputRecord& in = control.In();
  const int repeat = std::max(in.repeat, 1);
  switch (in.code) {
  case kCodeUp:
    Move(control, table, -repeat);
    return kStillRunning;
  case kCodeDown:
    Move(control, table, repeat);
    return kStillRunning;
  case kCodeCtrlUp:
    Move(control, table, -kPageStep);
    return kStillRunning;
  case kCodeCtrlDown:
    Move(control, table, kPageStep);
    return kStillRunning;
  case kCodeHome:
    Move(control, table, -table.Count());
    return kStillRunning;
  case kCodeEnd:
    Move(control, table, table.Count());
    return kStillRunning;
  case kCodeEnter:
    return Close(control, first_ + cursor_);
  case kCodeBackspace:
    return Close(control, kListBack);
  case kCodeTab:
    return Close(control, kListCompleted);
  case kCodeCtrlEnter:
    return Close(control, kListCtrlEnter);
  case kCodeEsc:
    return Close(control, kListEsc);
  default:
    if (in.rawKey != kRawNone) Message(control, kSoundSmallError, kNotInUse);
    return kStillRunning;
  }
}

// Moves the highlight, scrolling the rows when it passes the top or bottom of the window.
void MenuList::Move(Control& control, const MenuTable& table, int by) {
  const int now = first_ + cursor_;
  const int index = std::clamp(now + by, 0, table.Count() - 1);
  if (index == now) return;
  if (index < first_) first_ = index;
  if (index >= first_ + visible_) first_ = index - visible_ + 1;
  cursor_ = index - first_;
  Beep(control, kSoundKey);
  Draw(control, table);
}

void MenuList::Draw(Control& control, const MenuTable& table) {
  for (int i = 0; i < visible_; ++i) {
    const auto& row = table.Rows()[static_cast<std::size_t>(first_ + i)];
    WriteText(*control.screen, row_ + i, column_, width_, row.text, kStyleNormal, i == cursor_);
  }
  AimMouse(control, table.Count());
}

// The mouse moves the highlight like the arrow keys while it stays over the list.
void MenuList::AimMouse(Control& control, int count) {
  MouseArrows& arrows = control.state.arrows;
  arrows = {};
  arrows.listLeft = (column_ - 1) * kCellWidth;
  arrows.listTop = (row_ - 1) * kCellHeight;
  arrows.listRight = arrows.listLeft + width_ * kCellWidth - 1;
  arrows.listBottom = arrows.listTop + visible_ * kCellHeight - 1;
  arrows.centreX = arrows.listLeft + width_ * kCellWidth / 2;
  arrows.centreY = arrows.listTop + cursor_ * kCellHeight + kCellHeight / 2;
  arrows.halfHeight = kCellHeight / 2;
  const int index = first_ + cursor_;
  arrows.listEdge = index == count - 1 ? kListEdgeLast : index == 0 ? kListEdgeFirst : 0;
}

int MenuList::Close(Control& control, int answer) {
  open_ = false;
  CloseWindow(*control.screen);
  CommandState& state = control.state;
  state.cursorShown = saved_.cursorShown;
  state.inputMode = saved_.inputMode;
  state.promptRow = saved_.promptRow;
  state.referenceLock = saved_.referenceLock;
  state.backAllowed = saved_.backAllowed;
  state.arrows = savedArrows_;
  return answer;
}

} // namespace lumora
