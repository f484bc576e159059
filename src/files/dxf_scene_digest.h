// Everything a read DXF scene holds as one text, so that two reads of the same bytes can be
// compared whole (numbers exactly, in hexadecimal).
#pragma once

#include "files/dxf_scene.h"

#include <string>

namespace lumora {

std::string DxfSceneDigest(const DxfScene& scene);

} // namespace lumora
