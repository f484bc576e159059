// Keeping what depends on an element current after it changed: its own box and zone masks, the
// boxes of the parts that hold it and the fillings it bounds.
#include "element_geometry/element_geometry.h"
#include "model/store_internal.h"

namespace lumora {

namespace {

template <class Element> MemberNode<Element>* MembersOf(PartElement& part);
template <> LineNode* MembersOf(PartElement& part) {
  return part.lines;
}
template <> FillingNode* MembersOf(PartElement& part) {
  return part.fillings;
}
template <> TextNode* MembersOf(PartElement& part) {
  return part.texts;
}
template <> PartNode* MembersOf(PartElement& part) {
  return part.parts;
}

template <class Element> bool Lists(PartElement& part, const Element* element) {
  for (const MemberNode<Element>* n = MembersOf<Element>(part); n != nullptr; n = n->next) {
    if (n->element == element) return true;
  }
  return false;
}

bool Bounds(const FillingElement& filling, const LineElement* line) {
  for (std::uint32_t i = 0; i < filling.ls0() && filling.lines != nullptr; ++i) {
    if (filling.lines[i] == line) return true;
  }
  return false;
}

std::uint32_t MemberFlag(const LineElement& e) {
  return e.inPart();
}
std::uint32_t MemberFlag(const FillingElement& e) {
  return e.inPart();
}
std::uint32_t MemberFlag(const TextElement& e) {
  return e.inPart();
}
std::uint32_t MemberFlag(const PartElement& e) {
  return e.nested();
}

} // namespace

template <class Element> void ElementGeometry::SetZones(Element& element, const Box& box) const {
  store_.SetZones(element, box);
}

template <class Element> void ElementGeometry::PassToParts(const Element* element) {
  for (PartElement* part : Each(drawing_.parts)) {
    if (part != static_cast<const void*>(element) && Lists(*part, element)) ElementChanged(*part);
  }
}

void ElementGeometry::PassToFillings(const LineElement* line) {
  for (FillingElement* f : Each(drawing_.fillings)) {
    if (Bounds(*f, line)) ElementChanged(*f);
  }
}

void ElementGeometry::ElementChanged(LineElement& line) {
  SetZones(line, LineBox(line));
  if (line.inPart() != 0) PassToParts(&line);
  if (line.boundary() != 0) PassToFillings(&line);
}

void ElementGeometry::ElementChanged(FillingElement& filling) {
  store_.painter().Draw(filling, DrawMode::kErase);
  store_.ClearHatch(filling);
  SetZones(filling, FillingBox(filling));
  store_.painter().Draw(filling, DrawMode::kNormal);
  if (filling.inPart() != 0) PassToParts(&filling);
}

void ElementGeometry::ElementChanged(TextElement& text) {
  SetZones(text, env_.TextExtent(text, true));
  if (text.inPart() != 0) PassToParts(&text);
}

// A nested part's own box is renewed too before the parts holding it take it over, so their
// boxes never grow from a stale one.
void ElementGeometry::ElementChanged(PartElement& part) {
  RenewPart(part);
  if (part.nested() != 0) PassToParts(&part);
}

void ElementGeometry::RenewPart(PartElement& part) {
  store_.Keep(part);
  Box box;
  for (const LineNode* n : Each(part.lines)) {
    if (n->element != nullptr) ExtendBoxByBox(LineBox(*n->element), box);
  }
  for (const TextNode* n : Each(part.texts)) {
    if (n->element != nullptr) ExtendBoxByBox(env_.TextExtent(*n->element, true), box);
  }
  for (const PartNode* n : Each(part.parts)) {
    if (n->element != nullptr) ExtendBoxByBox(n->element->box, box);
  }
  part.box = box;
  SetZones(part, box);
}

template <class Element>
void ElementGeometry::InheritPartMembership(Element* added, const Element* old) {
  if (added == nullptr || old == nullptr || MemberFlag(*old) == 0) return;
  for (PartElement* part : Each(drawing_.parts)) {
    if (Lists(*part, old)) store_.AddMember(part, added);
  }
}

template void ElementGeometry::InheritPartMembership(LineElement*, const LineElement*);
template void ElementGeometry::InheritPartMembership(FillingElement*, const FillingElement*);
template void ElementGeometry::InheritPartMembership(TextElement*, const TextElement*);
template void ElementGeometry::InheritPartMembership(PartElement*, const PartElement*);

void ElementGeometry::ShowBorderFillings(const LineElement& line, BorderFillings change) {
  if (line.boundary() == 0) return;
  const auto lx = static_cast<std::uint16_t>(line.zoneX());
  const auto ly = static_cast<std::uint16_t>(line.zoneY());
  for (FillingElement* f : Each(drawing_.fillings)) {
    if (ZonesOverlap(static_cast<std::uint16_t>(f->zoneX()), static_cast<std::uint16_t>(f->zoneY()),
                     lx, ly) == 0 ||
        !Bounds(*f, &line)) {
      continue;
    }
    if (change == BorderFillings::kHide) {
      if (drawing_.layerVisible[f->layer()] != 0) store_.painter().Draw(*f, DrawMode::kErase);
      f->SetHidden(1);
    } else {
      f->SetHidden(0);
      store_.painter().Draw(*f, DrawMode::kNormal);
    }
  }
}

template void ElementGeometry::SetZones(LineElement&, const Box&) const;
template void ElementGeometry::SetZones(FillingElement&, const Box&) const;
template void ElementGeometry::SetZones(TextElement&, const Box&) const;
template void ElementGeometry::SetZones(PartElement&, const Box&) const;

} // namespace lumora
