// What element geometry asks of the screen: an element erased before it changes, drawn again
// after, or highlighted when an area selects it. The renderer implements it; tests record it.
#pragma once

#include "model/element_kind.h"

namespace lumora {

class ElementScreen {
public:
  virtual ~ElementScreen() = default;
  // element points to the record of the kind (LineElement, FillingElement, TextElement).
  virtual void Erase(ElementKind kind, void* element) = 0;
  // Drawing a filling may rebuild its hatch cache.
  virtual void Draw(ElementKind kind, void* element) = 0;
  virtual void Highlight(ElementKind kind, void* element) = 0;
};

} // namespace lumora
