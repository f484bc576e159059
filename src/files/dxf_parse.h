// Reading DXF bytes into a scene through the DXF library. The library is met only here.
#pragma once

#include "files/dxf_scene.h"

#include <span>
#include <string>

namespace lumora {

// Checks the bytes (see dxf_guard.h), then lets the library read them into the scene. False
// with an English reason when the file is refused; the scene is then incomplete. `fast` decodes
// the common entities without the library (the same scene, several times sooner).
bool ParseDxf(std::span<const char> bytes, DxfScene& scene, std::string& problem, bool fast = true);

} // namespace lumora
