// The element kinds, numbered as everywhere in the program (files, scripts, commands).
#pragma once

namespace lumora {

enum class ElementKind { kLine = 1, kFilling = 2, kText = 3, kPart = 4 };

} // namespace lumora
