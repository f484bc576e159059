// Part membership: a part groups elements that stay on the drawing's own lists. An element
// belongs to at most one typed part, which marks it with `inPart` (or `nested` for a part).
// Every member node is also entered in the holder index, which deletes use to find the parts
// that hold an element.
#include "model/element_store.h"
#include "model/store_internal.h"

#include <algorithm>
#include <new>

namespace lumora {

namespace {

// The holder index counts a part's nodes of an element; without an entry, every node is looked at.
int Limit(int indexed) {
  return indexed > 0 ? indexed : -1;
}

} // namespace

bool ElementStore::NoteHolder(const void* element, PartElement* part) {
  try {
    holders_[element].push_back(part);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void ElementStore::ForgetHolder(const void* element, const PartElement* part, int times) {
  const auto found = holders_.find(element);
  if (found == holders_.end()) return;
  std::vector<PartElement*>& parts = found->second;
  for (int k = 0; k < times; ++k) {
    const auto at = std::find(parts.begin(), parts.end(), part);
    if (at == parts.end()) break;
    *at = parts.back();
    parts.pop_back();
  }
  if (parts.empty()) holders_.erase(found);
}

int ElementStore::HolderCount(const void* element, const PartElement* part) const {
  const auto found = holders_.find(element);
  if (found == holders_.end()) return 0;
  return static_cast<int>(std::count(found->second.begin(), found->second.end(), part));
}

// True when candidate is part itself or holds it at any depth: the walk goes up through the
// holders, so a part fresh from a file (held by nothing yet) answers at once.
bool ElementStore::IsAncestorOrSelf(const PartElement* candidate, const PartElement* part) const {
  if (candidate == part) return true;
  if (!holders_.contains(part)) return false;
  std::vector<const PartElement*> work{part};
  std::unordered_set<const PartElement*> seen{part};
  while (!work.empty()) {
    const PartElement* current = work.back();
    work.pop_back();
    if (current == candidate) return true;
    const auto found = holders_.find(current);
    if (found == holders_.end()) continue;
    for (const PartElement* holder : found->second)
      if (seen.insert(holder).second) work.push_back(holder);
  }
  return false;
}

// A member node on the part's list, entered in the holder index; nothing when either fails.
template <class Element>
MemberNode<Element>* ElementStore::PushMember(PartElement* part, MemberNode<Element>*& head,
                                              Element* element) {
  MemberNode<Element>* node = PushNode(head, element);
  if (node == nullptr) return nullptr;
  if (!NoteHolder(element, part)) {
    head = node->next;
    allocator_.Free(node);
    ReportOverflow();
    return nullptr;
  }
  return node;
}

LineNode* ElementStore::AddMember(PartElement* part, LineElement* line) {
  if (part == nullptr || line == nullptr || line->inPart() != 0) return nullptr;
  Keep(*part);
  if (part->type() != 0) KeepFlags(*line);
  LineNode* node = PushMember(part, part->lines, line);
  if (node == nullptr) return nullptr;
  ExtendBoxByBox(LineBox(*line), part->box);
  if (part->type() != 0) line->SetInPart(1);
  SetZones(*part, part->box);
  return node;
}

FillingNode* ElementStore::AddMember(PartElement* part, FillingElement* filling) {
  if (part == nullptr || filling == nullptr || filling->inPart() != 0) return nullptr;
  Keep(*part);
  if (part->type() != 0) KeepFlags(*filling);
  FillingNode* node = PushMember(part, part->fillings, filling);
  if (node == nullptr) return nullptr;
  // A filling's extent is that of its boundary lines, which are members in their own right.
  if (part->type() != 0) filling->SetInPart(1);
  SetZones(*part, part->box);
  return node;
}

TextNode* ElementStore::AddMember(PartElement* part, TextElement* text) {
  if (part == nullptr || text == nullptr || text->inPart() != 0) return nullptr;
  Keep(*part);
  if (part->type() != 0) KeepFlags(*text);
  TextNode* node = PushMember(part, part->texts, text);
  if (node == nullptr) return nullptr;
  ExtendBoxByBox(env_.TextExtent(*text, true), part->box);
  if (part->type() != 0) text->SetInPart(1);
  SetZones(*part, part->box);
  return node;
}

PartNode* ElementStore::AddMember(PartElement* part, PartElement* member) {
  if (part == nullptr || member == nullptr || member->nested() != 0) return nullptr;
  // A part inside itself, at any depth, would make every walk over members endless.
  if (IsAncestorOrSelf(member, part)) return nullptr;
  Keep(*part);
  if (part->type() != 0) KeepFlags(*member);
  PartNode* node = PushMember(part, part->parts, member);
  if (node == nullptr) return nullptr;
  ExtendBoxByBox(member->box, part->box);
  if (part->type() != 0) member->SetNested(1);
  SetZones(*part, part->box);
  return node;
}

template <class Element>
int ElementStore::RemoveNodes(MemberNode<Element>*& head, const Element* element, int limit) {
  int removed = 0;
  MemberNode<Element>** link = &head;
  while (*link != nullptr && removed != limit) {
    MemberNode<Element>* node = *link;
    // A node whose pointer a caller handed to a delete (and which was cleared) is that
    // element's node too.
    const bool cleared = node->element == nullptr && &node->element == clearedRef_;
    if (node->element == element || cleared) {
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
  Keep(*part);
  if (part->type() != 0) KeepFlags(*line);
  const int removed = RemoveNodes(part->lines, line, Limit(HolderCount(line, part)));
  ForgetHolder(line, part, removed);
  if (removed > 0 && part->type() != 0) line->SetInPart(0);
  return removed;
}

int ElementStore::RemoveMember(PartElement* part, FillingElement* filling) {
  if (part == nullptr || filling == nullptr) return 0;
  Keep(*part);
  if (part->type() != 0) KeepFlags(*filling);
  const int removed = RemoveNodes(part->fillings, filling, Limit(HolderCount(filling, part)));
  ForgetHolder(filling, part, removed);
  if (removed > 0 && part->type() != 0) filling->SetInPart(0);
  return removed;
}

int ElementStore::RemoveMember(PartElement* part, TextElement* text) {
  if (part == nullptr || text == nullptr) return 0;
  Keep(*part);
  if (part->type() != 0) KeepFlags(*text);
  const int removed = RemoveNodes(part->texts, text, Limit(HolderCount(text, part)));
  ForgetHolder(text, part, removed);
  if (removed > 0 && part->type() != 0) text->SetInPart(0);
  return removed;
}

int ElementStore::RemoveMember(PartElement* part, PartElement* member) {
  if (part == nullptr || member == nullptr) return 0;
  Keep(*part);
  if (part->type() != 0) KeepFlags(*member);
  const int removed = RemoveNodes(part->parts, member, Limit(HolderCount(member, part)));
  ForgetHolder(member, part, removed);
  if (removed > 0 && part->type() != 0) member->SetNested(0);
  return removed;
}

bool ElementStore::PartIsEmpty(const PartElement* part) {
  return part == nullptr || (part->lines == nullptr && part->fillings == nullptr &&
                             part->texts == nullptr && part->parts == nullptr);
}

void ElementStore::ApplyPartAttributes(PartElement* part, const PropertySet& set) {
  if (part == nullptr) return;
  Keep(*part);
  for (LineNode* n : Each(part->lines)) Keep(*n->element);
  for (FillingNode* n : Each(part->fillings)) Keep(*n->element);
  for (TextNode* n : Each(part->texts)) Keep(*n->element);
  part->SetLayer(set.layer());
  const auto apply = [&set](auto& element) {
    if (set.layer() != kMixedLayer) element.SetLayer(set.layer());
    if (set.width() != 0) element.SetWidth(set.width());
    if (set.colour() != 0) element.SetColour(set.colour());
  };
  for (LineNode* n : Each(part->lines)) apply(*n->element);
  for (FillingNode* n : Each(part->fillings)) apply(*n->element);
  for (TextNode* n : Each(part->texts)) apply(*n->element);
}

template int ElementStore::RemoveNodes(LineNode*&, const LineElement*, int);
template int ElementStore::RemoveNodes(FillingNode*&, const FillingElement*, int);
template int ElementStore::RemoveNodes(TextNode*&, const TextElement*, int);
template int ElementStore::RemoveNodes(PartNode*&, const PartElement*, int);

} // namespace lumora
