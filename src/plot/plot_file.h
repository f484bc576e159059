// Where the plot page of a drawing is written: PLOTS/ of the program directory, named as the
// drawing ("Database" for a drawing without a name) with ".pdf".
#pragma once

#include "model/drawing.h"

#include <string>

namespace lumora {

// The file name alone: the drawing's name without its ".drw", and without anything that would
// lead the page out of PLOTS/.
std::string PlotFileName(const Drawing& drawing);

// home + "/PLOTS/" + the file name.
std::string PlotFilePath(const std::string& home, const Drawing& drawing);

} // namespace lumora
