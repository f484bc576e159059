// Reading a DXF drawing from another drafting program, beside the program's own drawing files:
// in place of the drawing or into a container part at a placement, as ReadDrawingFile does.
#pragma once

#include "files/dxf_build.h"
#include "files/file_environment.h"
#include "files/placement.h"

#include <span>
#include <string>
#include <string_view>

namespace lumora {

class ElementStore;
struct PartElement;

// True for a name ending in ".dxf" (any case).
bool IsDxfName(std::string_view name);

// Reads the whole file before anything changes: a file that is refused leaves the drawing as
// it was. Entity kinds that are not read are reported once, after a successful read.
// 1 = read; 0 = not opened, refused or out of memory (the drawing is untouched); -1 = adding
// into the container failed part way (for example out of memory).
int ReadDxfFile(ElementStore& store, FileEnvironment& env, DrawingFileState& state,
                const std::string& fileName, PartElement* container, const Placement& placement,
                bool draw);

// The same from bytes in memory, with the memory the read may unfold into (the fuzz target
// keeps it small, where every byte is checked and every read must be quick).
int ReadDxfBytes(ElementStore& store, FileEnvironment& env, std::span<const char> bytes,
                 PartElement* container, const Placement& placement, bool draw,
                 double budgetBytes = kMaxDxfBytes);

} // namespace lumora
