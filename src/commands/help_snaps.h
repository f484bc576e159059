// Shift+F11: the list of snaps to a feature of the nearest line; Shift+F12: the one chosen last,
// pending again.
#pragma once

#include "protocol/command.h"
#include "ui/select_str.h"

#include <string>
#include <vector>

namespace lumora {

inline constexpr TextPair kSnapListTitle{"Snap to: "_l1, "Kohdista: "_l1};

// Enter on a row makes its snap pending for the next Enter or click, as F11 does its own, and
// remembers it for Shift+F12; the function running meanwhile goes on.
class SnapList final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  int Choose(Control& control, const CommandRow& row);

  std::vector<std::string> items_;
  SelectArgs list_;
};

} // namespace lumora
