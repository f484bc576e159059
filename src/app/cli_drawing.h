// What the headless tools share for drawing files of every kind they take: the program's own
// drawing and part files and DXF, told apart by the name's extension.
#pragma once

#include <string>

namespace lumora {

struct App;

// Reads the file in place of the app's drawing, names the drawing after it and, with
// `repaint`, repaints the window. False with the reader's first message when it is not read.
bool ReadAnyDrawing(App& app, const std::string& path, bool repaint, std::string& problem);

// Writes the whole drawing: DXF for a name ending in .dxf, else the drawing file format.
// False with the writer's first message.
bool WriteAnyDrawing(App& app, const std::string& path, std::string& problem);

} // namespace lumora
