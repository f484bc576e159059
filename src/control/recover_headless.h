// Recovery by hand: the drawing a recovery log holds, written as a drawing file.
#pragma once

#include "files/step_codec.h"

#include <string>

namespace lumora {

struct App;

// Rebuilds the log's drawing in the app and writes it to `output` (a .drw or .dxf name). True
// when written; `report` then says how many steps were done again and whether a damaged tail
// was dropped, and otherwise why nothing was written.
bool RecoverLogHeadless(App& app, const std::string& logPath, const std::string& output,
                        StepCodec& codec, std::string& report);

} // namespace lumora
