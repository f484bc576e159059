// Checking lines lying on each other (Shift+F6): a line that repeats another point for point
// (same point count, same shape, same points in the same order) is deleted, so that of a set
// of identical lines one remains. Layer, colour, width and style do not matter. A line that
// bounds a filling is never deleted, since the filling would go with it.
#pragma once

#include "protocol/command.h"
#include "ui/ask_yes_no.h"

#include <vector>

namespace lumora {

struct Drawing;
struct LineElement;

inline constexpr TextPair kOverlapTitle{"Checking lines lying on each other: "_l1,
                                        "Päällekkäiset viivat pois: "_l1};
inline constexpr TextPair kOverlapQuestion{"Checking lines lying on each other ?"_l1,
                                           "Päällekkäiset viivat pois ?"_l1};

// The lines the check deletes, in the order it deletes them. Each line in list order, unless
// already deleted, deletes the first other line from the head of the list that repeats it and
// bounds no filling; the search looks only at lines starting near the same point.
std::vector<LineElement*> OverlappingLines(const Drawing& drawing);

class CheckOverlaps final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  enum class Step { kQuestion };
  int Ask(Control& control);
  static void DeleteLines(Control& control, const std::vector<LineElement*>& lines);

  Step step_ = Step::kQuestion;
  AskYesNo question_;
};

} // namespace lumora
