// Saving the whole drawing as DXF for other drafting programs: lines as LWPOLYLINE, arcs and
// circles as ARC and CIRCLE, texts as TEXT, measures as their lines and texts, fillings as
// HATCH with a user-defined pattern of their gap and angle, parts as BLOCK and INSERT, layers
// by the setup's names, patterned styles as line types of their section, colours as indexed
// colours, the limits, units and grid step in the header. What only this program needs to read
// its own file back exactly (every element's exact properties, a text's record and measure
// points, a filling's boundary lines, a part's name and type) rides along as extended data
// that other programs pass over.
#pragma once

#include "files/file_reporter.h"
#include "files/safe_writer.h"

#include <string>

namespace lumora {

struct Drawing;
struct Setup;
struct TextScene;

// Written atomically like the drawing files: the previous file survives any failure. A save
// that keeps everything clears `changes`; one that had to leave something out (a line that is
// no line, a filling without its boundary, a text with line breaks, a part named with them)
// still writes the file but says what it left out and keeps `changes`. Layers take the setup's
// names where it names them. 1 = written whole, 2 = written with something left out (a message
// was shown), 0 = failed (a message was shown).
int WriteDxfFile(Drawing& drawing, FileReporter& reporter, TextScene& textScene,
                 const std::string& fileName, const Setup* setup = nullptr,
                 WriteFunction write = {});

} // namespace lumora
