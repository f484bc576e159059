// F3: adding texts. The user picks a text type, writes a string and places it with the cursor,
// which carries the text's outline; then the next string, until Esc. Backspace on an empty
// string takes the text placed last back to its location step.
#pragma once

#include "properties/type_selector.h"
#include "protocol/command.h"

#include <string>

namespace lumora {

struct TextElement;

inline constexpr TextPair kAddingText{"Adding text: "_l1, "Tekstin lisäys: "_l1};
inline constexpr TextPair kWriteString{"^WRITE STRING ? "_l1, "^KIRJOITA TEKSTI ? "_l1};
inline constexpr TextPair kEnterTextLocation{"^ENTER LOCATION (<ctrl+enter> correct string) ! "_l1,
                                             "^OSOITA PAIKKA (<ctrl+enter> korjaa tekstiä)! "_l1};

class AddText final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  enum class Step { kType, kString, kLocation };

  int ChooseType(Control& control, const CommandRow& row);
  int AskString(Control& control, const CommandRow& row);
  int TakeBack(Control& control, const CommandRow& row);
  int ShowLocation(Control& control);
  int Place(Control& control, const CommandRow& row);
  int Locate(Control& control);
  int End(Control& control, const CommandRow& row);

  Step step_ = Step::kType;
  TypeSelector selector_{PresetKind::kText};
  std::string string_;
  TextElement* last_ = nullptr; // placed last in this run
};

} // namespace lumora
