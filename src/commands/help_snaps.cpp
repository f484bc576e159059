#include "commands/help_snaps.h"

#include "protocol/command_state.h"
#include "protocol/input_record.h"
#include "screen/text_screen.h"
#include "ui/ask_file_name.h"

#include <algorithm>
#include <array>

namespace lumora {
namespace {

constexpr int kListRow = 3;
constexpr int kListColumn = 2;

// The rows in the order of the snap modes they set, the first for kSnapMidpoint.
constexpr std::array<TextPair, 5> kSnapRows{{{"Midpoint"_l1, "Keskikohta"_l1},
                                             {"Centre"_l1, "Keskipiste"_l1},
                                             {"Perpendicular"_l1, "Kohtisuora"_l1},
                                             {"Tangent"_l1, "Tangentti"_l1},
                                             {"Quadrant"_l1, "Neljännespiste"_l1}}};

} // namespace

int SnapList::Start(Control& control, const CommandRow& row) {
  int& snap = control.In().snapMode;
  const int last = control.state.lastListedSnap;
  // The snap chosen last, with one key; the same key again clears it.
  if (row.code == kCodeSnapAgain && last != 0) {
    snap = snap == last ? kSnapNone : last;
    return kFinished;
  }
  BeginFunction(control, row);
  SetPrompt(control, kSnapListTitle, kSelectFromList);
  std::size_t widest = 1;
  for (const TextPair& text : kSnapRows) {
    items_.emplace_back(control.Tr(text));
    widest = std::max(widest, items_.back().size());
  }
  const int initial = last >= kSnapMidpoint && last <= kSnapQuadrant ? last - kSnapMidpoint : 0;
  list_ = {kListRow, kListColumn, ListHeight(control.screen), static_cast<int>(widest), initial,
           true,     false};
  return Choose(control, row);
}

int SnapList::Continue(Control& control, const CommandRow& row) {
  return Choose(control, row);
}

int SnapList::Choose(Control& control, const CommandRow& row) {
  const int answer = SelectStr(control, control.prompts, list_, items_);
  if (answer == kStillRunning) return kStillRunning;
  EndFunction(control, row.level);
  if (answer >= 0) {
    control.state.lastListedSnap = kSnapMidpoint + answer;
    control.In().snapMode = control.state.lastListedSnap;
  }
  return kFinished;
}

} // namespace lumora
