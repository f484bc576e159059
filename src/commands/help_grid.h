// Ctrl+F12: the grid step, chosen from the setup's grid list or typed.
#pragma once

#include "protocol/command.h"
#include "ui/ask_number.h"
#include "ui/select_str.h"

#include <string>
#include <vector>

namespace lumora {

inline constexpr TextPair kOldGridTitle{"Old size of grid is "_l1, "Vanha askeleen suuruus on "_l1};
inline constexpr TextPair kSelectGrid{"^SELECT GRID ! "_l1, "^VALITSE ASKEL ! "_l1};
inline constexpr TextPair kChangingGrid{"Changing size of grid: "_l1, "Askeleen muutto: "_l1};
inline constexpr TextPair kWriteGrid{"^WRITE SIZE OF GRID ? "_l1, "^ANNA ASKELEEN SUURUUS ? "_l1};
inline constexpr TextPair kGridTooSmall{"Grid too small !"_l1, "Liian pieni askel !"_l1};

class GridSize final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  enum class Step { kList, kTyping };

  int Choose(Control& control, const CommandRow& row);
  int Type(Control& control, const CommandRow& row);
  int Finish(Control& control, const CommandRow& row);

  Step step_ = Step::kList;
  std::vector<std::string> items_;
  SelectArgs list_;
  std::string title_[2]; // by language: the old step written into the title
  double typed_ = 0.0;
};

} // namespace lumora
