#include "commands/edit_commands.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "protocol/command_state.h"
#include "util/overloaded.h"

#include <algorithm>
#include <vector>

namespace lumora {
namespace {

// Every line, filling and text of the group and its nested parts, erased or drawn.
void ShowMembers(ElementGeometry& geometry, PartElement& group, bool draw) {
  Painter& painter = geometry.Store().painter();
  const DrawMode mode = draw ? DrawMode::kNormal : DrawMode::kErase;
  const auto show = [&painter, mode](auto* element) { painter.Draw(*element, mode); };
  std::vector<PartElement*> work{&group};
  while (!work.empty()) {
    PartElement* part = work.back();
    work.pop_back();
    for (LineNode* n : Each(part->lines)) show(n->element);
    for (FillingNode* n : Each(part->fillings)) show(n->element);
    for (TextNode* n : Each(part->texts)) show(n->element);
    for (PartNode* n : Each(part->parts)) work.push_back(n->element);
  }
}

template <class Element> bool Holds(const MemberNode<Element>* node, const void* element) {
  for (; node != nullptr; node = node->next) {
    if (node->element == element) return true;
  }
  return false;
}

// The parts listing the element directly.
std::vector<PartElement*> HoldersOf(Drawing& drawing, const void* element) {
  std::vector<PartElement*> holders;
  for (PartElement* p : Each(drawing.parts)) {
    if (Holds(p->lines, element) || Holds(p->fillings, element) || Holds(p->texts, element) ||
        Holds(p->parts, element)) {
      holders.push_back(p);
    }
  }
  return holders;
}

bool IsPart(const Drawing& drawing, const PartElement* part) {
  for (const PartElement* p : Each(drawing.parts)) {
    if (p == part) return true;
  }
  return false;
}

} // namespace

void HideGroup(Control& control, PartElement& group) {
  ElementGeometry& geometry = Geometry(control);
  ShowMembers(geometry, group, false);
  geometry.SetGroupHidden(group, true);
}

void UnhideGroup(Control& control, PartElement& group) {
  ElementGeometry& geometry = Geometry(control);
  geometry.SetGroupHidden(group, false);
  ShowMembers(geometry, group, true);
}

void HideElement(Control& control, const Picked& picked) {
  ElementGeometry& geometry = Geometry(control);
  Painter& painter = geometry.Store().painter();
  std::visit(Overloaded{[](std::monostate) {},
                        [&](LineElement* line) {
                          painter.Draw(*line, DrawMode::kErase);
                          // The fillings a line bounds cannot stand without it: they go out of
                          // sight with it.
                          geometry.ShowBorderFillings(*line, BorderFillings::kHide);
                          line->SetHidden(1);
                        },
                        [&](PartElement* part) { HideGroup(control, *part); },
                        [&](auto* element) {
                          painter.Draw(*element, DrawMode::kErase);
                          element->SetHidden(1);
                        }},
             picked);
}

void UnhideElement(Control& control, const Picked& picked) {
  ElementGeometry& geometry = Geometry(control);
  Painter& painter = geometry.Store().painter();
  std::visit(Overloaded{[](std::monostate) {},
                        [&](LineElement* line) {
                          line->SetHidden(0);
                          geometry.ShowBorderFillings(*line, BorderFillings::kShow);
                          painter.Draw(*line, DrawMode::kNormal);
                        },
                        [&](PartElement* part) { UnhideGroup(control, *part); },
                        [&](auto* element) {
                          element->SetHidden(0);
                          painter.Draw(*element, DrawMode::kNormal);
                        }},
             picked);
}

void DeleteElementForGood(Control& control, Picked& picked) {
  if (!PickedAny(picked)) return;
  ElementStore& store = control.store;
  // A member leaves its parts smaller: their boxes are renewed once it is gone.
  const void* element = std::visit(Overloaded{[](std::monostate) -> const void* { return nullptr; },
                                              [](auto* e) -> const void* { return e; }},
                                   picked);
  const std::vector<PartElement*> holders = HoldersOf(control.drawing, element);
  std::visit(Overloaded{[](std::monostate) {}, [&](LineElement* line) { store.DeleteLine(line); },
                        [&](FillingElement* filling) { store.DeleteFilling(filling); },
                        [&](TextElement* text) { store.DeleteText(text); },
                        [&](PartElement* part) { store.DeletePart(part, true); }},
             picked);
  picked = Picked{};
  for (PartElement* holder : holders) {
    // A typed part the delete left empty went with it.
    if (IsPart(control.drawing, holder)) Geometry(control).ElementChanged(*holder);
  }
}

} // namespace lumora
