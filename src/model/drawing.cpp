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

std::string_view DrawingNameOfPath(std::string_view path) {
  constexpr std::string_view kOwnExtension = ".drw";
  std::string_view name = path.substr(path.rfind('/') + 1);
  if (name.size() > kOwnExtension.size() && name.ends_with(kOwnExtension))
    name.remove_suffix(kOwnExtension.size());
  return name;
}

} // namespace lumora
