#include "commands/edit_commands.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "protocol/command_state.h"

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
    for (LineNode* n = part->lines; n != nullptr; n = n->next) show(n->element);
    for (FillingNode* n = part->fillings; n != nullptr; n = n->next) show(n->element);
    for (TextNode* n = part->texts; n != nullptr; n = n->next) show(n->element);
    for (PartNode* n = part->parts; n != nullptr; n = n->next) work.push_back(n->element);
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
  for (PartElement* p = drawing.parts; p != nullptr; p = p->next) {
    if (Holds(p->lines, element) || Holds(p->fillings, element) || Holds(p->texts, element) ||
        Holds(p->parts, element)) {
      holders.push_back(p);
    }
  }
  return holders;
}

bool IsPart(const Drawing& drawing, const PartElement* part) {
  for (const PartElement* p = drawing.parts; p != nullptr; p = p->next) {
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
  if (picked.line != nullptr) {
    painter.Draw(*picked.line, DrawMode::kErase);
    // The fillings a line bounds cannot stand without it: they go out of sight with it.
    geometry.ShowBorderFillings(*picked.line, BorderFillings::kHide);
    picked.line->SetHidden(1);
  } else if (picked.filling != nullptr) {
    painter.Draw(*picked.filling, DrawMode::kErase);
    picked.filling->SetHidden(1);
  } else if (picked.text != nullptr) {
    painter.Draw(*picked.text, DrawMode::kErase);
    picked.text->SetHidden(1);
  } else if (picked.part != nullptr) {
    HideGroup(control, *picked.part);
  }
}

void UnhideElement(Control& control, const Picked& picked) {
  ElementGeometry& geometry = Geometry(control);
  Painter& painter = geometry.Store().painter();
  if (picked.line != nullptr) {
    picked.line->SetHidden(0);
    geometry.ShowBorderFillings(*picked.line, BorderFillings::kShow);
    painter.Draw(*picked.line, DrawMode::kNormal);
  } else if (picked.filling != nullptr) {
    picked.filling->SetHidden(0);
    painter.Draw(*picked.filling, DrawMode::kNormal);
  } else if (picked.text != nullptr) {
    picked.text->SetHidden(0);
    painter.Draw(*picked.text, DrawMode::kNormal);
  } else if (picked.part != nullptr) {
    UnhideGroup(control, *picked.part);
  }
}

void DeleteElementForGood(Control& control, Picked& picked) {
  ElementStore& store = control.store;
  const void* element = picked.line != nullptr      ? static_cast<const void*>(picked.line)
                        : picked.filling != nullptr ? static_cast<const void*>(picked.filling)
                        : picked.text != nullptr    ? static_cast<const void*>(picked.text)
                                                    : static_cast<const void*>(picked.part);
  if (element == nullptr) return;
  // A member leaves its parts smaller: their boxes are renewed once it is gone.
  const std::vector<PartElement*> holders = HoldersOf(control.drawing, element);
  if (picked.line != nullptr) store.DeleteLine(picked.line);
  if (picked.filling != nullptr) store.DeleteFilling(picked.filling);
  if (picked.text != nullptr) store.DeleteText(picked.text);
  if (picked.part != nullptr) store.DeletePart(picked.part, true);
  picked = Picked{};
  for (PartElement* holder : holders) {
    // A typed part the delete left empty went with it.
    if (IsPart(control.drawing, holder)) Geometry(control).ElementChanged(*holder);
  }
}

} // namespace lumora
