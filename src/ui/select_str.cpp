#include "ui/select_str.h"

#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "screen/text_screen.h"
#include "screen/text_window.h"
#include "screen/write_text.h"
#include "sound/my_beep.h"

#include <algorithm>

namespace lumora {
namespace {

int FirstSelectable(const SelectList& list) {
  return list.header ? 1 : 0;
}

SelectList* Innermost(PromptState& prompts) {
  return prompts.listDepth > 0 ? &prompts.lists[static_cast<std::size_t>(prompts.listDepth - 1)]
                               : nullptr;
}

bool SameGeometry(const SelectList& list, const SelectArgs& args, int visible) {
  return list.row == args.row && list.column == args.column && list.rows == visible &&
         list.width == args.width;
}

// Keeps the highlight on a selectable item and visible, scrolling as little as possible; the
// header shows again once the first item is highlighted.
void Settle(SelectList& list, int count) {
  list.index = std::clamp(list.index, FirstSelectable(list), count - 1);
  if (list.index == FirstSelectable(list)) list.first = 0;
  if (list.index < list.first) list.first = list.index;
  if (list.index >= list.first + list.rows) list.first = list.index - list.rows + 1;
  list.first = std::clamp(list.first, 0, std::max(count - list.rows, 0));
}

void SetArrows(Control& control, const SelectList& list) {
  MouseArrows& arrows = control.state.arrows;
  arrows = {};
  const int cursorRow = list.row + list.index - list.first;
  arrows.centreX = (list.column - 1) * kCellWidth + list.width * kCellWidth / 2;
  arrows.centreY = (cursorRow - 1) * kCellHeight + kCellHeight / 2;
  arrows.halfHeight = kCellHeight / 2;
  arrows.listLeft = (list.column - 1) * kCellWidth;
  arrows.listRight = (list.column - 1 + list.width) * kCellWidth - 1;
  arrows.listTop = (list.row - 1) * kCellHeight;
  arrows.listBottom = (list.row - 1 + list.rows) * kCellHeight - 1;
  arrows.listEdge = ListEdge(list);
}

void Draw(Control& control, const SelectList& list, std::span<const std::string> items) {
  for (int i = 0; i < list.rows; ++i) {
    const int item = list.first + i;
    if (item >= static_cast<int>(items.size())) break;
    const std::string& text = items[static_cast<std::size_t>(item)];
    if (list.header && item == 0) {
      WriteText(control.screen, list.row + i, list.column, list.width, text, kStyleDimmed, true,
                true);
    } else {
      WriteText(control.screen, list.row + i, list.column, list.width, text, kStyleNormal,
                item == list.index);
    }
  }
  SetArrows(control, list);
  control.state.inputMode = kModeList;
  control.state.cursorShown = false;
}

int Open(Control& control, PromptState& prompts, const SelectArgs& args, int visible,
         std::span<const std::string> items) {
  if (prompts.listDepth >= kMaxNestedLists) {
    Message(control, kSoundError, kTooManySelects);
    return kSelectBack;
  }
  // Saved before the window hides the cursor, so that closing gives back what was there.
  const SavedPromptState saved = SavePromptState(control.state);
  if (args.ownWindow && !OpenWindow(control.screen, args.row, args.column, visible, args.width)) {
    return kSelectBack;
  }
  SelectList& list = prompts.lists[static_cast<std::size_t>(prompts.listDepth++)];
  list = {};
  list.row = args.row;
  list.column = args.column;
  list.rows = visible;
  list.width = args.width;
  list.index = args.initial;
  list.ownWindow = args.ownWindow;
  list.header = args.header;
  list.saved = saved;
  const int count = static_cast<int>(items.size());
  if (list.index < 0 || list.index >= count) list.index = 0;
  if (list.header && list.index == 0) list.index = 1;
  list.first = std::max(list.index - visible + 1, 0);
  Settle(list, count);
  Draw(control, list, items);
  return kStillRunning;
}

int Close(Control& control, PromptState& prompts, int result) {
  SelectList& list = prompts.lists[static_cast<std::size_t>(--prompts.listDepth)];
  if (list.ownWindow) CloseWindow(control.screen);
  RestorePromptState(control.state, list.saved);
  return result;
}

void Move(Control& control, SelectList& list, std::span<const std::string> items, int by) {
  const int before = list.index;
  list.index += by;
  Settle(list, static_cast<int>(items.size()));
  if (list.index != before) Beep(control, kSoundKey);
  Draw(control, list, items);
}

// A click chooses the row under the mouse; one on the header row chooses nothing.
int Click(Control& control, PromptState& prompts, SelectList& list) {
  const Cell cell = PixelToCell(control.In().mouseX, control.In().mouseY);
  if (cell.row >= list.row && cell.row < list.row + list.rows) {
    const int item = list.first + cell.row - list.row;
    if (item < FirstSelectable(list)) return kStillRunning;
    list.index = item;
  }
  Beep(control, kSoundKey);
  return Close(control, prompts, list.index);
}

int Step(Control& control, PromptState& prompts, SelectList& list,
         std::span<const std::string> items) {
  const InputRecord& in = control.In();
  // The mouse makes the repeat count; far beyond any text or list it means no more.
  const int repeat = std::clamp(in.repeat, 1, kCellLimit);
  switch (in.code) {
  case kCodeUp:
    Move(control, list, items, -kListStep * repeat);
    return kStillRunning;
  case kCodeDown:
    Move(control, list, items, kListStep * repeat);
    return kStillRunning;
  case kCodeCtrlUp:
    Move(control, list, items, -kListPageStep);
    return kStillRunning;
  case kCodeCtrlDown:
    Move(control, list, items, kListPageStep);
    return kStillRunning;
  case kCodeHome:
    Move(control, list, items, -static_cast<int>(items.size()));
    return kStillRunning;
  case kCodeEnd:
    Move(control, list, items, static_cast<int>(items.size()));
    return kStillRunning;
  case kCodeEnter:
    if (in.rawKey == kRawClick) return Click(control, prompts, list);
    Beep(control, kSoundKey);
    return Close(control, prompts, list.index);
  case kCodeBackspace:
    return Close(control, prompts, kSelectBack);
  case kCodeTab:
    return Close(control, prompts, kSelectTab);
  case kCodeCtrlEnter:
    return Close(control, prompts, kSelectCtrlEnter);
  case kCodeEsc:
    return Close(control, prompts, kSelectEsc);
  default:
    if (in.rawKey != kRawNone) Message(control, kSoundSmallError, kNotInUse);
    // Any other call writes the rows again: a full repaint may have left the window empty.
    Draw(control, list, items);
    return kStillRunning;
  }
}

} // namespace

int ListEdge(const SelectList& list) {
  const int cursorRow = list.index - list.first;
  if (cursorRow >= list.rows - 1) return kListEdgeLast;
  if (cursorRow <= 0) return kListEdgeFirst;
  return 0;
}

int SelectStr(Control& control, PromptState& prompts, const SelectArgs& args,
              std::span<const std::string> items) {
  const int count = static_cast<int>(items.size());
  const int visible = std::min(count, args.rows);
  if (count - (args.header ? 1 : 0) < 1 || visible < 1 || args.width < 1) return kSelectBack;
  SelectList* list = Innermost(prompts);
  if (list == nullptr || !SameGeometry(*list, args, visible)) {
    return Open(control, prompts, args, visible, items);
  }
  // The caller may have changed its items since the last call.
  Settle(*list, count);
  return Step(control, prompts, *list, items);
}

void CloseAllLists(Control& control, PromptState& prompts) {
  while (prompts.listDepth > 0) Close(control, prompts, kSelectEsc);
}

} // namespace lumora
