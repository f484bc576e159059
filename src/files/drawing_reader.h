// Reading a drawing or part file: replacing the drawing, or adding the file's elements into a
// container part at a placement.
#pragma once

#include "files/file_environment.h"
#include "files/placement.h"
#include "geometry/primitives.h"

#include <span>
#include <string>

namespace lumora {

class ElementStore;
struct PartElement;

// Reads the file into the drawing (container null: the drawing is replaced) or into the
// container, placing every element. A name holding ".txt" or ".TXT" runs as a script.
// 1 = read; 0 = not opened, not readable, or the header failed (the drawing is untouched);
// -1 = failed after the header (what was read stays); a script answers its own result.
int ReadDrawingFile(ElementStore& store, FileEnvironment& env, DrawingFileState& state,
                    const std::string& fileName, PartElement* container, const Placement& placement,
                    bool draw);

// The same from bytes in memory that stand for the named file (never a script, no trace).
int ReadDrawingBytes(ElementStore& store, FileEnvironment& env,
                     std::span<const unsigned char> bytes, const std::string& fileName,
                     PartElement* container, const Placement& placement, bool draw);

// The area a binary file was saved with, relative to its save origin. 1 = read, 0 = not.
int ReadFileHeader(const std::string& fileName, Box& area);

} // namespace lumora
