// Shift+F5: the drawing as a readable text report in the working directory.
#pragma once

#include "protocol/command.h"

namespace lumora {

// Writes "<name>.txt" (or "Database.txt" for a drawing without a name) and ends at once; a
// report that cannot be opened shows the file reader's message.
class DrawingReport final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

} // namespace lumora
