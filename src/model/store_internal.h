// Small helpers shared by the store's source files.
#pragma once

#include "geometry/primitives.h"
#include "model/element_kind.h"
#include "model/elements.h"

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

// Calls action with the record typed by its kind.
void Dispatch(ElementKind kind, void* element, auto&& action) {
  switch (kind) {
  case ElementKind::kLine:
    return action(static_cast<LineElement*>(element));
  case ElementKind::kFilling:
    return action(static_cast<FillingElement*>(element));
  case ElementKind::kText:
    return action(static_cast<TextElement*>(element));
  case ElementKind::kPart:
    return action(static_cast<PartElement*>(element));
  }
}

} // namespace lumora
