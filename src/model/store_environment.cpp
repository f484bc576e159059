#include "model/store_environment.h"

#include <span>

namespace lumora {

Box StoreEnvironment::TextExtent(const TextElement& text, bool includePoints) const {
  Box box;
  const std::size_t count = includePoints ? text.pointCount() : (text.pointCount() > 0 ? 1 : 0);
  if (text.points != nullptr) BoxOfPoints(std::span<const Point>(text.points, count), box);
  return box;
}

} // namespace lumora
