// Help functions that switch a program-wide setting or show the information box. A switch
// acts on its one code and is done: it holds its level for no step.
#pragma once

#include "protocol/command.h"

namespace lumora {

// 0: the other language, with the menus rebuilt and the screen repainted.
class LanguageSwitch final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// x: hide or show the mouse pointer.
class PointerSwitch final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// §: a white sheet becomes black and back.
class BackgroundSwitch final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// The information label: the version and contact box, closed by any key.
class InformationBox final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;
};

} // namespace lumora
