// Part membership: a part groups elements that stay on the drawing's own lists. An element
// belongs to at most one typed part, which marks it with `inPart` (or `nested` for a part).
#include "model/element_store.h"
#include "model/store_internal.h"

namespace lumora {

namespace {

// True when part is member at any depth of container (or is the container itself).
bool ContainsPart(const PartElement* container, const PartElement* part) {
  if (container == part) return true;
  for (const PartNode* node = container->parts; node != nullptr; node = node->next) {
    if (node->element != nullptr && ContainsPart(node->element, part)) return true;
  }
  return false;
}

} // namespace

LineNode* ElementStore::AddMember(PartElement* part, LineElement* line) {
  if (part == nullptr || line == nullptr || line->inPart() != 0) return nullptr;
  LineNode* node = PushNode(part->lines, line);
  if (node == nullptr) return nullptr;
  ExtendBoxByBox(LineBox(*line), part->box);
  if (part->type() != 0) line->SetInPart(1);
  SetZones(*part, part->box);
  return node;
}

FillingNode* ElementStore::AddMember(PartElement* part, FillingElement* filling) {
  if (part == nullptr || filling == nullptr || filling->inPart() != 0) return nullptr;
  FillingNode* node = PushNode(part->fillings, filling);
  if (node == nullptr) return nullptr;
  // A filling's extent is that of its boundary lines, which are members in their own right.
  if (part->type() != 0) filling->SetInPart(1);
  SetZones(*part, part->box);
  return node;
}

TextNode* ElementStore::AddMember(PartElement* part, TextElement* text) {
  if (part == nullptr || text == nullptr || text->inPart() != 0) return nullptr;
  TextNode* node = PushNode(part->texts, text);
  if (node == nullptr) return nullptr;
  ExtendBoxByBox(env_.TextExtent(*text, true), part->box);
  if (part->type() != 0) text->SetInPart(1);
  SetZones(*part, part->box);
  return node;
}

PartNode* ElementStore::AddMember(PartElement* part, PartElement* member) {
  if (part == nullptr || member == nullptr || member->nested() != 0) return nullptr;
  // A part inside itself, at any depth, would make every walk over members endless.
  if (ContainsPart(member, part)) return nullptr;
  PartNode* node = PushNode(part->parts, member);
  if (node == nullptr) return nullptr;
  ExtendBoxByBox(member->box, part->box);
  if (part->type() != 0) member->SetNested(1);
  SetZones(*part, part->box);
  return node;
}

template <class Element>
int ElementStore::RemoveNodes(MemberNode<Element>*& head, const Element* element) {
  int removed = 0;
  MemberNode<Element>** link = &head;
  while (*link != nullptr) {
    MemberNode<Element>* node = *link;
    if (node->element == element) {
      *link = node->next;
      allocator_.Free(node);
      ++removed;
    } else {
      link = &node->next;
    }
  }
  return removed;
}

int ElementStore::RemoveMember(PartElement* part, LineElement* line) {
  if (part == nullptr || line == nullptr) return 0;
  const int removed = RemoveNodes(part->lines, line);
  if (removed > 0 && part->type() != 0) line->SetInPart(0);
  return removed;
}

int ElementStore::RemoveMember(PartElement* part, FillingElement* filling) {
  if (part == nullptr || filling == nullptr) return 0;
  const int removed = RemoveNodes(part->fillings, filling);
  if (removed > 0 && part->type() != 0) filling->SetInPart(0);
  return removed;
}

int ElementStore::RemoveMember(PartElement* part, TextElement* text) {
  if (part == nullptr || text == nullptr) return 0;
  const int removed = RemoveNodes(part->texts, text);
  if (removed > 0 && part->type() != 0) text->SetInPart(0);
  return removed;
}

int ElementStore::RemoveMember(PartElement* part, PartElement* member) {
  if (part == nullptr || member == nullptr) return 0;
  const int removed = RemoveNodes(part->parts, member);
  if (removed > 0 && part->type() != 0) member->SetNested(0);
  return removed;
}

bool ElementStore::PartIsEmpty(const PartElement* part) {
  return part == nullptr || (part->lines == nullptr && part->fillings == nullptr &&
                             part->texts == nullptr && part->parts == nullptr);
}

void ElementStore::ApplyPartAttributes(PartElement* part, const PropertySet& set) {
  if (part == nullptr) return;
  part->SetLayer(set.layer());
  const auto apply = [&set](auto& element) {
    if (set.layer() != kMixedLayer) element.SetLayer(set.layer());
    if (set.width() != 0) element.SetWidth(set.width());
    if (set.colour() != 0) element.SetColour(set.colour());
  };
  for (LineNode* n = part->lines; n != nullptr; n = n->next) apply(*n->element);
  for (FillingNode* n = part->fillings; n != nullptr; n = n->next) apply(*n->element);
  for (TextNode* n = part->texts; n != nullptr; n = n->next) apply(*n->element);
}

template int ElementStore::RemoveNodes(LineNode*&, const LineElement*);
template int ElementStore::RemoveNodes(FillingNode*&, const FillingElement*);
template int ElementStore::RemoveNodes(TextNode*&, const TextElement*);
template int ElementStore::RemoveNodes(PartNode*&, const PartElement*);

} // namespace lumora
