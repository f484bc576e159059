#include "properties/layer_visibility.h"

#include "model/drawing.h"
#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "protocol/window_services.h"
#include "screen/text_screen.h"
#include "screen/text_window.h"
#include "screen/write_text.h"
#include "setup/setup.h"
#include "sound/my_beep.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int kListRow = 3; // the first row below the menu bar
constexpr int kListColumn = 2;
constexpr int kPageStep = 5;

static_assert(kLayerCount == 128);

} // namespace

int LayerVisibility::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  kept_ = control.drawing.layerVisible;
  SetPrompt(control, kLayersTitle, kLayersPrompt);
  const auto& layers = control.setup.layers;
  // Row n names layer n; the list holds at most the layers there are.
  count_ = static_cast<int>(std::min<std::size_t>(layers.rows.size(), kLayerCount - 1));
  rows_ = std::min(count_, ListHeight(control.screen));
  std::size_t longest = 1;
  for (int i = 0; i < count_; ++i) {
    longest = std::max(longest, layers.rows[static_cast<std::size_t>(i)].text.size());
  }
  columns_ = static_cast<int>(longest) + 1;
  if (rows_ < 1 || !OpenWindow(control.screen, kListRow, kListColumn, rows_, columns_)) {
    EndFunction(control, row.level);
    return kFinished;
  }
  windowOpen_ = true;
  control.state.inputMode = kModeLayerList;
  control.state.cursorShown = false;
  control.state.arrows = {}; // the mouse is no arrow key here: no prompt's centre is left over
  Draw(control);
  return kStillRunning;
}

void LayerVisibility::DrawRow(Control& control, int item) const {
  const int row = kListRow + item - first_;
  const std::size_t layer = static_cast<std::size_t>(item) + 1;
  const bool visible = control.drawing.layerVisible[layer] != 0;
  WriteText(control.screen, row, kListColumn, 1, " ", kStyleNormal, item == cursor_);
  WriteText(control.screen, row, kListColumn + 1, columns_ - 1,
            control.setup.layers.rows[static_cast<std::size_t>(item)].text, kStyleDimmed, visible);
}

void LayerVisibility::Draw(Control& control) const {
  for (int i = 0; i < rows_; ++i) DrawRow(control, first_ + i);
}

void LayerVisibility::Move(Control& control, int by) {
  const int before = cursor_;
  cursor_ = std::clamp(cursor_ + by, 0, count_ - 1);
  if (cursor_ < first_) first_ = cursor_;
  if (cursor_ >= first_ + rows_) first_ = cursor_ - rows_ + 1;
  if (cursor_ != before) Beep(control, kSoundKey);
  Draw(control);
}

int LayerVisibility::Continue(Control& control, const CommandRow& row) {
  const InputRecord& in = control.In();
  switch (in.code) {
  case kCodeDown:
    Move(control, 1);
    break;
  case kCodeUp:
    Move(control, -1);
    break;
  case kCodeCtrlDown:
    Move(control, kPageStep);
    break;
  case kCodeCtrlUp:
    Move(control, -kPageStep);
    break;
  case kCodeHome:
    Move(control, -count_);
    break;
  case kCodeEnd:
    Move(control, count_);
    break;
  case kCodeEnter: {
    std::uint32_t& flag = control.drawing.layerVisible[static_cast<std::size_t>(cursor_) + 1];
    flag = flag != 0 ? 0 : 1;
    Beep(control, kSoundKey);
    DrawRow(control, cursor_);
    break;
  }
  case kCodeTab:
  case kCodeEsc:
    return Close(control, row, false);
  case kCodeBackspace:
  case kCodeCtrlEnter:
    return Close(control, row, true);
  case kContinueTick: // a full repaint left the window empty
    Draw(control);
    break;
  default:
    if (in.rawKey != kRawNone) Message(control, kSoundSmallError, kNotInUse);
    break;
  }
  return kStillRunning;
}

int LayerVisibility::Close(Control& control, const CommandRow& row, bool cue) {
  if (cue) Beep(control, kSoundKey);
  if (windowOpen_) CloseWindow(control.screen);
  windowOpen_ = false;
  EndFunction(control, row.level);
  if (control.drawing.layerVisible != kept_) {
    control.window.Repaint();
    // The repaint wrote over the message rows: an open entry writes its prompt again.
    if (control.state.inputMode == kModeTextEntry) control.state.continueFlag = true;
  }
  return kFinished;
}

} // namespace lumora
