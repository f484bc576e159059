// Reading a file in place of the whole drawing, so that a file which fails part way leaves the
// drawing exactly as it was.
#pragma once

#include "files/file_environment.h"

#include <string>

namespace lumora {

class ElementStore;

// Reads a drawing file (binary, DXF, or a script by its name) as the whole drawing. A binary
// file is read once into memory and tried on a scratch drawing first; only a file that reads
// to its end replaces the drawing. 1 = read; 0 = not read (the reader's message was shown and
// the drawing, its header and `changes` are untouched); -1 = the store failed while replacing
// (out of memory), or what a script answers.
int ReplaceDrawing(ElementStore& store, FileEnvironment& env, DrawingFileState& state,
                   const std::string& fileName);

} // namespace lumora
