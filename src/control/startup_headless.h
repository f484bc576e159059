// Starting the program without a window: the same start-up on a SoftCanvas of the window's
// size, for the headless tools.
#pragma once

#include "view/soft_canvas.h"

#include <string>

namespace lumora {

struct App;

struct HeadlessOptions {
  std::string home = ".";
  std::string setupName = "Perus_SET";
  int width = 0; // 0: the window size of the setup
  int height = 0;
};

// Reads the setup, prepares the sheet and the view, sizes the canvas and shows the first
// display on it. False (with the reason in problem) when the setup cannot be read or the size
// is out of range.
bool StartHeadless(App& app, const HeadlessOptions& options, SoftCanvas& canvas,
                   std::string& problem);

// Reads a drawing file as the read command would (a name ending in .dxf as DXF), names the
// drawing after it and, with `repaint`, repaints the window. False (with the reader's first
// message) when it cannot be read; when it is read, `note` (if given) takes what the reader
// said all the same (a DXF file's report of what it could not read as it is).
bool ReadDrawingHeadless(App& app, const std::string& path, std::string& problem,
                         bool repaint = true, std::string* note = nullptr);

// Writes the whole drawing: DXF for a name ending in .dxf, else the drawing file format. False
// (with the writer's first message) when it is not written; a DXF written without something it
// could not hold is written, with the message of what it left out.
bool WriteDrawingHeadless(App& app, const std::string& path, std::string& problem);

} // namespace lumora
