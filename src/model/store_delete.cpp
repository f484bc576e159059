// Deleting records. A delete first takes the element out of every part and selection that
// refers to it and deletes what depends on it (fillings of a boundary line, typed parts left
// empty), so no list ever points at freed memory.
#include "model/element_store.h"
#include "model/store_internal.h"

#include <type_traits>

namespace lumora {

namespace {

template <class Element> void Unlink(Element*& head, const Element* element) {
  for (Element** link = &head; *link != nullptr; link = &(*link)->next) {
    if (*link == element) {
      *link = element->next;
      return;
    }
  }
}

bool Bounds(const FillingElement& filling, const LineElement* line) {
  for (std::uint32_t i = 0; i < filling.ls0(); ++i) {
    if (filling.lines[i] == line) return true;
  }
  return false;
}

} // namespace

bool ElementStore::BeingDeleted(const PartElement* part) const {
  for (const DeletingPart* d = deleting_; d != nullptr; d = d->outer) {
    if (d->part == part) return true;
  }
  return false;
}

// Removes the element from every part holding it, selection groups included. The zone masks
// are not used to narrow the search: an element outside the limits has none.
template <class Element> int ElementStore::DetachFromParts(Element* element) {
  int removed = 0;
  bool restart = true;
  while (restart) {
    restart = false;
    for (PartElement* part = drawing_.parts; part != nullptr; part = part->next) {
      if constexpr (std::is_same_v<Element, PartElement>) {
        if (part == element) continue;
      }
      const int count = RemoveMember(part, element);
      removed += count;
      if (count > 0 && part->type() != 0 && PartIsEmpty(part) && !BeingDeleted(part)) {
        PartElement* emptied = part;
        DeletePart(emptied, false);
        restart = true; // the part list changed under us
        break;
      }
    }
  }
  return removed;
}

void ElementStore::DeleteFillingsBoundedBy(const LineElement* line) {
  // Deleting a filling may delete parts but never another filling, so next stays valid.
  FillingElement* filling = drawing_.fillings;
  while (filling != nullptr) {
    FillingElement* next = filling->next;
    if (Bounds(*filling, line)) {
      env_.DrawFilling(*filling, kDrawErase);
      DeleteFilling(filling);
    }
    filling = next;
  }
}

void ElementStore::DetachElement(LineElement* line) {
  if (line == nullptr) return;
  RemoveNodes(drawing_.SelectedLines, line);
  DetachFromParts(line);
  if (line->boundary() != 0) DeleteFillingsBoundedBy(line);
}

void ElementStore::DetachElement(FillingElement* filling) {
  if (filling == nullptr) return;
  RemoveNodes(drawing_.SelectedFillings, filling);
  DetachFromParts(filling);
}

void ElementStore::DetachElement(TextElement* text) {
  if (text == nullptr) return;
  RemoveNodes(drawing_.SelectedTexts, text);
  DetachFromParts(text);
}

void ElementStore::DetachElement(PartElement* part) {
  if (part == nullptr) return;
  DetachFromParts(part);
}

// The caller's pointer is cleared before anything is freed, since it may live in a node or
// array the delete frees; a node left holding it is matched by its address (clearedRef_). When
// the pointer is itself the list link to the record (the list head or the previous record's
// next), unlinking updates it instead.
template <class Element>
Element* ElementStore::DetachForDelete(Element*& ref, Element*& head, int& status) {
  status = 0;
  Element* target = ref;
  Element** link = &head;
  while (*link != nullptr && *link != target) link = &(*link)->next;
  if (*link == nullptr) return nullptr;
  const void* const outerRef = clearedRef_;
  if (link != &ref) {
    ref = nullptr;
    clearedRef_ = &ref;
  }
  DetachElement(target);
  clearedRef_ = outerRef;
  Unlink(head, target); // found afresh: the cascade may have changed the links before it
  status = 1;
  return target;
}

int ElementStore::DeleteLine(LineElement*& line) {
  if (line == nullptr || drawing_.lines == nullptr) return 0;
  ++drawing_.changes;
  if (lastLine_ == line) lastLine_ = nullptr;
  int status = 0;
  if (LineElement* target = DetachForDelete(line, drawing_.lines, status)) FreeLine(target);
  return status;
}

int ElementStore::DeleteFilling(FillingElement*& filling) {
  if (filling == nullptr || drawing_.fillings == nullptr) return 0;
  ++drawing_.changes;
  if (lastFilling_ == filling) lastFilling_ = nullptr;
  int status = 0;
  if (FillingElement* target = DetachForDelete(filling, drawing_.fillings, status)) {
    FreeFilling(target);
  }
  return status;
}

int ElementStore::DeleteText(TextElement*& text) {
  if (text == nullptr || drawing_.texts == nullptr) return 0;
  ++drawing_.changes;
  if (lastText_ == text) lastText_ = nullptr;
  int status = 0;
  if (TextElement* target = DetachForDelete(text, drawing_.texts, status)) FreeText(target);
  return status;
}

// Takes the head member off the list; a node whose element pointer was cleared by a caller is
// dropped here too, so the loops below always advance.
template <class Element>
Element* ElementStore::PopMember(PartElement* part, MemberNode<Element>*& head) {
  MemberNode<Element>* node = head;
  Element* element = node->element;
  if (element == nullptr || RemoveMember(part, element) == 0) {
    head = node->next;
    allocator_.Free(node);
  }
  return element;
}

int ElementStore::DeletePart(PartElement*& part, bool withMembers) {
  if (part == nullptr || BeingDeleted(part)) return 0;
  PartElement** link = &drawing_.parts;
  while (*link != nullptr && *link != part) link = &(*link)->next;
  if (*link == nullptr) return 0;
  PartElement* target = part;
  if (lastPart_ == target) lastPart_ = nullptr;
  const void* const outerRef = clearedRef_;
  if (link != &part) {
    part = nullptr;
    clearedRef_ = &part;
  }
  const DeletingPart frame{target, deleting_};
  deleting_ = &frame;
  DetachElement(target);
  clearedRef_ = outerRef;
  // Always take the head: a cascade from one member may remove others from the lists.
  while (target->fillings != nullptr) {
    FillingElement* filling = PopMember(target, target->fillings);
    if (withMembers && filling != nullptr) DeleteFilling(filling);
  }
  while (target->lines != nullptr) {
    LineElement* line = PopMember(target, target->lines);
    if (withMembers && line != nullptr) DeleteLine(line);
  }
  while (target->texts != nullptr) {
    TextElement* text = PopMember(target, target->texts);
    if (withMembers && text != nullptr) DeleteText(text);
  }
  while (target->parts != nullptr) {
    PartElement* member = PopMember(target, target->parts);
    if (withMembers && member != nullptr) DeletePart(member, true);
  }
  deleting_ = frame.outer;
  Unlink(drawing_.parts, target);
  FreePart(target);
  return 1;
}

void ElementStore::FreeLine(LineElement* line) {
  lineIndex_.Remove(line);
  allocator_.Free(line);
}

void ElementStore::FreeFilling(FillingElement* filling) {
  fillingIndex_.Remove(filling);
  ClearHatch(*filling);
  allocator_.Free(filling->lines);
  allocator_.Free(filling);
}

void ElementStore::FreeText(TextElement* text) {
  textIndex_.Remove(text);
  allocator_.Free(text->text);
  allocator_.Free(text);
}

template <class Element> void ElementStore::FreeNodes(MemberNode<Element>*& head) {
  while (head != nullptr) {
    MemberNode<Element>* node = head;
    head = node->next;
    allocator_.Free(node);
  }
}

void ElementStore::FreePart(PartElement* part) {
  FreeNodes(part->lines);
  FreeNodes(part->fillings);
  FreeNodes(part->texts);
  FreeNodes(part->parts);
  allocator_.Free(part);
}

// Frees every record and node without drawing or counting anything: the screen and the
// rest of the program may already be gone.
void ElementStore::FreeEverything() {
  lineIndex_.Clear();
  fillingIndex_.Clear();
  textIndex_.Clear();
  FreeNodes(drawing_.SelectedLines);
  FreeNodes(drawing_.SelectedFillings);
  FreeNodes(drawing_.SelectedTexts);
  while (MarkerNode* marker = drawing_.MarkerList) {
    drawing_.MarkerList = marker->next;
    allocator_.Free(marker);
  }
  while (OutlineNode* outline = drawing_.OutlineList) {
    drawing_.OutlineList = outline->next;
    allocator_.Free(outline);
  }
  while (PartElement* part = drawing_.parts) {
    drawing_.parts = part->next;
    FreePart(part);
  }
  while (FillingElement* filling = drawing_.fillings) {
    drawing_.fillings = filling->next;
    FreeFilling(filling);
  }
  while (LineElement* line = drawing_.lines) {
    drawing_.lines = line->next;
    FreeLine(line);
  }
  while (TextElement* text = drawing_.texts) {
    drawing_.texts = text->next;
    FreeText(text);
  }
  lastText_ = nullptr;
  lastPart_ = nullptr;
  lastLine_ = nullptr;
  lastFilling_ = nullptr;
}

void ElementStore::ClearDrawing() {
  ClearSelections();
  while (PartElement* part = drawing_.parts) {
    if (DeletePart(part, false) == 0) break;
  }
  while (FillingElement* filling = drawing_.fillings) {
    if (DeleteFilling(filling) == 0) break;
  }
  while (LineElement* line = drawing_.lines) {
    if (DeleteLine(line) == 0) break;
  }
  while (TextElement* text = drawing_.texts) {
    if (DeleteText(text) == 0) break;
  }
  ShowAllLayers();
  env_.SetViewBoxes(drawing_.limits);
  drawing_.changes = 0;
  drawing_.unitsChosen = 0;
  lastText_ = nullptr;
  lastPart_ = nullptr;
  lastLine_ = nullptr;
  lastFilling_ = nullptr;
  env_.RedrawMenuBar();
  env_.RedrawAll();
}

void ElementStore::NewDrawing() {
  SetDrawingName(drawing_, "");
  drawing_.version = kNewDrawingVersion;
  drawing_.step = 1.0;
  ClearDrawing();
}

void ElementStore::ShowAllLayers() {
  drawing_.layerVisible.fill(1);
}

void ElementStore::RecomputeZones() {
  // The limits may have changed: the grid is laid over them anew.
  lineIndex_.Regrid(drawing_.limits);
  fillingIndex_.Regrid(drawing_.limits);
  textIndex_.Regrid(drawing_.limits);
  for (LineElement* line = drawing_.lines; line != nullptr; line = line->next) {
    SetZones(*line, LineBox(*line));
  }
  for (FillingElement* f = drawing_.fillings; f != nullptr; f = f->next) {
    SetZones(*f, FillingBox(*f));
  }
  for (TextElement* text = drawing_.texts; text != nullptr; text = text->next) {
    SetZones(*text, env_.TextExtent(*text, true));
  }
  for (PartElement* part = drawing_.parts; part != nullptr; part = part->next) {
    SetZones(*part, part->box);
  }
}

} // namespace lumora
