// Shift+F5: the drawing as a readable text report beside the program.
#pragma once

#include "control/functions.h"

#include <memory>

namespace lumora {

std::unique_ptr<Function> MakeDrawingReport();

} // namespace lumora
