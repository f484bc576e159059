// Saving the whole drawing as DXF for other drafting programs: lines as LWPOLYLINE, arcs and
// circles as ARC and CIRCLE, texts as TEXT, measures as their lines and texts, fillings as
// HATCH with a user-defined pattern of their gap and angle, parts as BLOCK and INSERT, layers
// by their numbers and colours as indexed colours. What only this program needs to read its own
// file back exactly (a text's record, its measure points, a part's name) rides along as
// extended data that other programs pass over.
#pragma once

#include "files/file_reporter.h"
#include "files/safe_writer.h"

#include <string>

namespace lumora {

struct Drawing;
struct TextScene;

// Written atomically like the drawing files: the previous file survives any failure. A
// successful save clears `changes`. 1 = written, 0 = failed (a message was shown).
int WriteDxfFile(Drawing& drawing, FileReporter& reporter, TextScene& textScene,
                 const std::string& fileName, WriteFunction write = {});

} // namespace lumora
