#include "model/drawing.h"

#include <algorithm>
#include <cstring>

namespace lumora {

void SetDrawingName(Drawing& drawing, std::string_view name) {
  const std::size_t length = std::min(name.size(), sizeof(drawing.name) - 1);
  std::memset(drawing.name, 0, sizeof(drawing.name));
  std::memcpy(drawing.name, name.data(), length);
}

std::string_view DrawingName(const Drawing& drawing) {
  return {drawing.name, strnlen(drawing.name, sizeof(drawing.name))};
}

} // namespace lumora
