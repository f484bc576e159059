#include "commands/help_grid.h"

#include "model/drawing.h"
#include "model/element_store.h"
#include "protocol/command_state.h"
#include "screen/text_screen.h"
#include "setup/setup.h"
#include "sound/my_beep.h"
#include "util/number_text.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr double kSmallestGrid = 0.001;
constexpr double kFallbackGrid = 1.0;
constexpr double kShownPrecision = 0.001;
constexpr std::size_t kValueWidth = 12;
constexpr int kListRow = 3;
constexpr int kListColumn = 2;

// The grid is kept with the drawing: a change of it is a step of its own.
void SetGrid(Control& control, double step) {
  if (step == control.drawing.step) return;
  control.store.KeepHeader();
  control.store.NameStep(StepKind::kGrid);
  control.drawing.step = step;
}

} // namespace

int GridSize::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  const double step = control.drawing.step;
  const std::string value = NumberToText(step, kShownPrecision, kValueWidth);
  title_[0] = std::string(kOldGridTitle.en) + value + ": ";
  title_[1] = std::string(kOldGridTitle.fi) + value + ": ";
  SetPrompt(control, {title_[0], title_[1]}, kSelectGrid);
  const std::vector<ValueRow>& grids = control.setup.cursorGrids.rows;
  int current = 0;
  std::size_t widest = 1;
  for (const ValueRow& grid : grids) {
    if (std::abs(grid.value - step) < kSmallestGrid) current = static_cast<int>(items_.size());
    items_.push_back(grid.text);
    widest = std::max(widest, grid.text.size());
  }
  list_ = {kListRow, kListColumn, ListHeight(control.screen), static_cast<int>(widest), current,
           true,     false};
  // Without a list there is only the typed size.
  if (items_.empty()) {
    step_ = Step::kTyping;
    return Type(control, row);
  }
  return Choose(control, row);
}

int GridSize::Continue(Control& control, const CommandRow& row) {
  return step_ == Step::kList ? Choose(control, row) : Type(control, row);
}

int GridSize::Choose(Control& control, const CommandRow& row) {
  const int answer = SelectStr(control, control.prompts, list_, items_);
  if (answer == kStillRunning) return kStillRunning;
  if (answer < 0) return Finish(control, row);
  const double value = control.setup.cursorGrids.rows[static_cast<std::size_t>(answer)].value;
  if (value >= kSmallestGrid) {
    SetGrid(control, value);
    return Finish(control, row);
  }
  step_ = Step::kTyping;
  return Type(control, row);
}

int GridSize::Type(Control& control, const CommandRow& row) {
  AskNumberArgs args;
  args.title = kChangingGrid;
  args.prompt = kWriteGrid;
  args.precision = kShownPrecision;
  const int answer = AskNumber(control, control.prompts, args, typed_, control.drawing.step);
  if (answer == kStillRunning) return kStillRunning;
  if (answer == kEntryAccepted) {
    if (typed_ < kSmallestGrid) {
      Message(control, kSoundError, kGridTooSmall);
    } else {
      SetGrid(control, typed_);
    }
  }
  return Finish(control, row);
}

int GridSize::Finish(Control& control, const CommandRow& row) {
  if (!(control.drawing.step >= kSmallestGrid)) SetGrid(control, kFallbackGrid);
  EndFunction(control, row.level);
  return kFinished;
}

} // namespace lumora
