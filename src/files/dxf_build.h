// Turning a read DXF scene into elements: blocks are placed as parts (nested as they nest),
// layers numbered in order of first use, and a whole drawing gets its limits from what was
// read and a scale at which it fits a sheet.
#pragma once

#include "files/dxf_scene.h"
#include "files/file_environment.h"
#include "files/placement.h"

#include <string>

namespace lumora {

class ElementStore;
struct PartElement;

// Deepest block nesting and most elements the blocks of one file may unfold into.
inline constexpr int kMaxBlockDepth = 32;
inline constexpr std::size_t kMaxDxfElements = 20'000'000;

// Checks the scene, then replaces the drawing (container null) or adds into the container.
// The scene's drawing-level points are taken over: the scene serves no second build.
// 1 = read; 0 = refused before anything changed (a message was shown); -1 = the store failed
// part way (it said why).
int BuildDxfScene(ElementStore& store, FileEnvironment& env, DxfScene& scene,
                  PartElement* container, const Placement& placement, bool draw);

// The scale at which the extents (in millimetres) fit the default sheet: 1, 2, 5 or 2.5
// times a power of ten.
double ScaleToFit(double widthMm, double heightMm);

} // namespace lumora
