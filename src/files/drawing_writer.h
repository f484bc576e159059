// Saving the whole drawing or one part in the binary drawing file format.
#pragma once

#include "files/file_reporter.h"
#include "files/safe_writer.h"
#include "geometry/primitives.h"

#include <string>

namespace lumora {

struct Drawing;
struct PartElement;

// Writes the drawing (part null) or the part with its nested parts, points and area taken
// relative to the save origin. Precision follows the drawing's version; a drawing whose counts
// do not fit the 16-bit integers of version 2.0 is written as version 3.0. A whole-drawing save
// clears `changes`. The previous file survives any failure. 1 = written, 0 = failed.
int WriteDrawingFile(Drawing& drawing, FileReporter& reporter, const std::string& fileName,
                     const PartElement* part, const Point& origin, const Box& area,
                     WriteFunction write = {});

} // namespace lumora
