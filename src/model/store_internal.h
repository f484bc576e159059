// Small helpers shared by the store's source files.
#pragma once

#include "geometry/primitives.h"

namespace lumora {

inline bool BoxIsEmpty(const Box& box) {
  return box.xmin > box.xmax || box.ymin > box.ymax;
}

// Grows box to hold other; an empty other changes nothing.
inline void ExtendBoxByBox(const Box& other, Box& box) {
  if (BoxIsEmpty(other)) return;
  ExtendBox(other.xmin, other.ymin, box);
  ExtendBox(other.xmax, other.ymax, box);
}

} // namespace lumora
