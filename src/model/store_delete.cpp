// Deleting records. A delete first takes the element out of every part and selection that
// refers to it and deletes what depends on it (fillings of a boundary line, typed parts left
// empty), so no list ever points at freed memory.
//
// What depends on a deleted element is found through the holder and boundary indexes and
// marked ("doomed"); when the delete ends, each list holding doomed records is swept once. So
// deleting a part with a hundred thousand members, or a chain of parts nested as deep, costs
// time in proportion to what goes, and nothing recurses over the nesting.
#include "model/element_store.h"
#include "model/store_internal.h"

#include <algorithm>
#include <type_traits>
#include <utility>

namespace lumora {

namespace {

// A doomed record carries this spare flag until it is freed, so the sweep over a list passes
// the records that stay at a glance; a marked record is looked up before it is freed.
constexpr std::uint32_t kDoomedMark = 4;

template <class Element> void MarkDoomed(Element* element) {
  element->SetSpareFlags(element->spareFlags() | kDoomedMark);
}

template <class Element> bool MarkedDoomed(const Element* element) {
  return (element->spareFlags() & kDoomedMark) != 0;
}

// A record the journal names a place by: selection groups come and go with their commands.
template <class Element> bool Placed(const Element*) {
  return true;
}
template <> bool Placed(const PartElement* part) {
  return part->type() != 0;
}

// Takes the element off its list; the answer is the nearest record ahead of it that the
// journal can put it back behind (null: the head).
template <class Element> Element* Unlink(Element*& head, const Element* element) {
  Element* before = nullptr;
  for (Element** link = &head; *link != nullptr; link = &(*link)->next) {
    if (*link == element) {
      *link = element->next;
      return before;
    }
    if (Placed(*link)) before = *link;
  }
  return nullptr;
}

} // namespace

// Removes the element from every part holding it, selection groups included. The holder index
// finds them; the zone masks are not used, since an element outside the limits has none.
template <class Element> int ElementStore::DetachFromParts(Element* element) {
  const auto found = holders_.find(element);
  if (found == holders_.end()) return 0;
  std::vector<PartElement*> holders = found->second;
  std::sort(holders.begin(), holders.end());
  holders.erase(std::unique(holders.begin(), holders.end()), holders.end());
  int removed = 0;
  for (PartElement* part : holders) {
    if constexpr (std::is_same_v<Element, PartElement>) {
      if (part == element) continue;
    }
    if (!liveParts_.contains(part)) {
      ForgetHolder(element, part, HolderCount(element, part));
      continue;
    }
    const int count = RemoveMember(part, element);
    removed += count;
    if (count > 0 && part->type() != 0 && PartIsEmpty(part) && !deleting_.contains(part))
      emptied_.push_back(part);
  }
  return removed;
}

void ElementStore::Detach(LineElement* line) {
  RemoveNodes(drawing_.SelectedLines, line);
  DetachFromParts(line);
  DoomBounded(line);
}

// The fillings the line bounds, erased from the screen.
void ElementStore::DoomBounded(const LineElement* line) {
  const auto found = bounded_.find(line);
  if (found == bounded_.end()) return;
  const std::vector<FillingElement*> fillings = std::move(found->second);
  bounded_.erase(found);
  // Newest first, as the filling list runs.
  for (auto it = fillings.rbegin(); it != fillings.rend(); ++it) {
    if (doomed_.contains(*it)) continue;
    painter_.Draw(**it, DrawMode::kErase);
    Doom(*it);
  }
}

void ElementStore::Detach(FillingElement* filling) {
  RemoveNodes(drawing_.SelectedFillings, filling);
  DetachFromParts(filling);
}

void ElementStore::Detach(TextElement* text) {
  RemoveNodes(drawing_.SelectedTexts, text);
  DetachFromParts(text);
}

void ElementStore::Detach(PartElement* part) {
  DetachFromParts(part);
}

void ElementStore::DetachElement(LineElement* line) {
  if (line == nullptr) return;
  Detach(line);
  FinishDeletes();
}

void ElementStore::DetachElement(FillingElement* filling) {
  if (filling == nullptr) return;
  Detach(filling);
  FinishDeletes();
}

void ElementStore::DetachElement(TextElement* text) {
  if (text == nullptr) return;
  Detach(text);
  FinishDeletes();
}

void ElementStore::DetachElement(PartElement* part) {
  if (part == nullptr) return;
  Detach(part);
  FinishDeletes();
}

// Doomed records leave the selection lists in one pass when the delete ends.
void ElementStore::Doom(LineElement* line) {
  if (!doomed_.insert(line).second) return;
  KeepFlags(*line);
  MarkDoomed(line);
  ++doomedLines_;
  DetachFromParts(line);
  DoomBounded(line);
}

void ElementStore::Doom(FillingElement* filling) {
  if (!doomed_.insert(filling).second) return;
  KeepFlags(*filling);
  MarkDoomed(filling);
  ++doomedFillings_;
  DetachFromParts(filling);
}

void ElementStore::Doom(TextElement* text) {
  if (!doomed_.insert(text).second) return;
  KeepFlags(*text);
  MarkDoomed(text);
  ++doomedTexts_;
  if (lastText_ == text) lastText_ = nullptr;
  DetachFromParts(text);
}

template <class Element> void ElementStore::SweepSelection(MemberNode<Element>*& head) {
  for (MemberNode<Element>** link = &head; *link != nullptr;) {
    MemberNode<Element>* node = *link;
    if (node->element != nullptr && MarkedDoomed(node->element) &&
        doomed_.contains(node->element)) {
      *link = node->next;
      allocator_.Free(node);
    } else {
      link = &node->next;
    }
  }
}

// Marks the part as under deletion and takes it out of its holders; false when it already is.
bool ElementStore::BeginPartDelete(PartElement* part) {
  if (!deleting_.insert(part).second) return false;
  Keep(*part);
  doomed_.insert(part);
  MarkDoomed(part);
  ++doomedParts_;
  if (lastPart_ == part) lastPart_ = nullptr;
  Detach(part);
  return true;
}

// Empties the part's member lists; with members, they are doomed and member parts go on the
// work list.
void ElementStore::ReleaseMembers(PartElement* part, bool withMembers,
                                  std::vector<PartElement*>& work) {
  // Always take the head: detaching one member may remove others from the lists.
  while (part->fillings != nullptr) {
    FillingElement* filling = PopMember(part, part->fillings);
    if (withMembers && filling != nullptr) Doom(filling);
  }
  while (part->lines != nullptr) {
    LineElement* line = PopMember(part, part->lines);
    if (withMembers && line != nullptr) Doom(line);
  }
  while (part->texts != nullptr) {
    TextElement* text = PopMember(part, part->texts);
    if (withMembers && text != nullptr) Doom(text);
  }
  while (part->parts != nullptr) {
    PartElement* member = PopMember(part, part->parts);
    if (withMembers && member != nullptr) work.push_back(member);
  }
}

// The part's members, and with them every part it holds at any depth, from a work list.
void ElementStore::DoomMembers(PartElement* root, bool withMembers) {
  std::vector<PartElement*> work;
  ReleaseMembers(root, withMembers, work);
  while (!work.empty()) {
    PartElement* part = work.back();
    work.pop_back();
    if (BeginPartDelete(part)) ReleaseMembers(part, withMembers, work);
  }
}

// Unlinks and frees the doomed records of one list; each counts as a change.
template <class Element, class Free>
int ElementStore::Sweep(Element*& head, int& doomed, Free free) {
  int freed = 0;
  Element* before = nullptr;
  for (Element** link = &head; *link != nullptr && doomed > 0;) {
    Element* element = *link;
    if (MarkedDoomed(element) && doomed_.contains(element)) {
      *link = element->next;
      free(element, before);
      --doomed;
      ++freed;
    } else {
      if (Placed(element)) before = element;
      link = &element->next;
    }
  }
  doomed = 0; // any left were on no list
  return freed;
}

void ElementStore::FinishDeletes() {
  while (!emptied_.empty()) {
    PartElement* part = emptied_.back();
    emptied_.pop_back();
    if (liveParts_.contains(part) && !deleting_.contains(part) && PartIsEmpty(part) &&
        BeginPartDelete(part))
      DoomMembers(part, false);
  }
  if (doomed_.empty()) return;
  if (doomedLines_ > 0) SweepSelection(drawing_.SelectedLines);
  if (doomedFillings_ > 0) SweepSelection(drawing_.SelectedFillings);
  if (doomedTexts_ > 0) SweepSelection(drawing_.SelectedTexts);
  int changes = 0;
  const auto retire = [this](auto* element, auto* before) { Retire(element, before); };
  changes += Sweep(drawing_.fillings, doomedFillings_, retire);
  changes += Sweep(drawing_.lines, doomedLines_, retire);
  changes += Sweep(drawing_.texts, doomedTexts_, retire);
  Sweep(drawing_.parts, doomedParts_, retire);
  drawing_.changes += static_cast<std::uint32_t>(changes);
  std::erase_if(deleting_, [this](const PartElement* part) { return doomed_.contains(part); });
  doomed_.clear();
}

// The caller's pointer is cleared before anything is freed, since it may live in a node or
// array the delete frees; a node left holding it is matched by its address (clearedRef_). When
// the pointer is itself the list link to the record (the list head or the previous record's
// next), unlinking updates it instead.
template <class Element>
Element* ElementStore::DetachForDelete(Element*& ref, Element*& head, int& status,
                                       Element*& before) {
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
  Detach(target);
  clearedRef_ = outerRef;
  before = Unlink(head, target);
  status = 1;
  return target;
}

int ElementStore::DeleteLine(LineElement*& line) {
  if (line == nullptr || drawing_.lines == nullptr) return 0;
  ++drawing_.changes;
  if (lastLine_ == line) lastLine_ = nullptr;
  int status = 0;
  LineElement* before = nullptr;
  if (LineElement* target = DetachForDelete(line, drawing_.lines, status, before))
    Retire(target, before);
  FinishDeletes();
  return status;
}

int ElementStore::DeleteFilling(FillingElement*& filling) {
  if (filling == nullptr || drawing_.fillings == nullptr) return 0;
  ++drawing_.changes;
  if (lastFilling_ == filling) lastFilling_ = nullptr;
  int status = 0;
  FillingElement* before = nullptr;
  if (FillingElement* target = DetachForDelete(filling, drawing_.fillings, status, before))
    Retire(target, before);
  FinishDeletes();
  return status;
}

int ElementStore::DeleteText(TextElement*& text) {
  if (text == nullptr || drawing_.texts == nullptr) return 0;
  ++drawing_.changes;
  if (lastText_ == text) lastText_ = nullptr;
  int status = 0;
  TextElement* before = nullptr;
  if (TextElement* target = DetachForDelete(text, drawing_.texts, status, before))
    Retire(target, before);
  FinishDeletes();
  return status;
}

// Takes the head member off the list; a node whose element pointer was cleared by a caller is
// dropped here too, so the loops above always advance.
template <class Element>
Element* ElementStore::PopMember(PartElement* part, MemberNode<Element>*& head) {
  Keep(*part);
  MemberNode<Element>* node = head;
  Element* element = node->element;
  if (element == nullptr || RemoveMember(part, element) == 0) {
    head = node->next;
    allocator_.Free(node);
  }
  return element;
}

int ElementStore::DeletePart(PartElement*& part, bool withMembers) {
  if (part == nullptr || deleting_.contains(part) || !liveParts_.contains(part)) return 0;
  PartElement** link = &drawing_.parts;
  while (*link != nullptr && *link != part) link = &(*link)->next;
  if (*link == nullptr) return 0;
  PartElement* target = part;
  // Dissolving a placed part changes what a saved file would hold; a selection group (type 0)
  // is only a working set.
  if (!withMembers && target->type() != 0) ++drawing_.changes;
  const void* const outerRef = clearedRef_;
  if (link != &part) {
    part = nullptr;
    clearedRef_ = &part;
  }
  BeginPartDelete(target);
  clearedRef_ = outerRef;
  DoomMembers(target, withMembers);
  // The part itself is unlinked at once, so clearing a drawing part by part never sweeps.
  doomed_.erase(target);
  --doomedParts_;
  PartElement* const before = Unlink(drawing_.parts, target);
  Retire(target, before);
  deleting_.erase(target);
  FinishDeletes();
  return 1;
}

void ElementStore::FreeLine(LineElement* line) {
  // A pick remembered must never point at freed memory, whatever deleted the record.
  if (lastLine_ == line) lastLine_ = nullptr;
  holders_.erase(line);
  bounded_.erase(line);
  lineIndex_.Remove(line);
  allocator_.Free(line);
}

void ElementStore::FreeFilling(FillingElement* filling) {
  if (lastFilling_ == filling) lastFilling_ = nullptr;
  holders_.erase(filling);
  for (std::uint32_t i = 0; i < filling->ls0() && filling->lines != nullptr; ++i) {
    const auto found = bounded_.find(filling->lines[i]);
    if (found == bounded_.end()) continue;
    std::erase(found->second, filling);
    if (found->second.empty()) bounded_.erase(found);
  }
  fillingIndex_.Remove(filling);
  ClearHatch(*filling);
  allocator_.Free(filling->lines);
  allocator_.Free(filling);
}

void ElementStore::FreeText(TextElement* text) {
  if (lastText_ == text) lastText_ = nullptr;
  holders_.erase(text);
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

template void ElementStore::FreeNodes(LineNode*&);
template void ElementStore::FreeNodes(FillingNode*&);
template void ElementStore::FreeNodes(TextNode*&);
template void ElementStore::FreeNodes(PartNode*&);

void ElementStore::ForgetMembers(const PartElement* part) {
  const auto forget = [this, part](const auto* head) {
    for (; head != nullptr; head = head->next)
      if (head->element != nullptr) ForgetHolder(head->element, part, 1);
  };
  forget(part->lines);
  forget(part->fillings);
  forget(part->texts);
  forget(part->parts);
}

void ElementStore::FreePart(PartElement* part) {
  ForgetMembers(part);
  holders_.erase(part);
  liveParts_.erase(part);
  FreeNodes(part->lines);
  FreeNodes(part->fillings);
  FreeNodes(part->texts);
  FreeNodes(part->parts);
  allocator_.Free(part);
}

// Frees every record and node without drawing or counting anything: the screen and the
// rest of the program may already be gone.
void ElementStore::FreeEverything() {
  ResetJournal();
  holders_.clear();
  bounded_.clear();
  deleting_.clear();
  doomed_.clear();
  emptied_.clear();
  doomedLines_ = doomedFillings_ = doomedTexts_ = doomedParts_ = 0;
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
  liveParts_.clear();
  lastText_ = nullptr;
  lastPart_ = nullptr;
  lastLine_ = nullptr;
  lastFilling_ = nullptr;
}

void ElementStore::ClearDrawing() {
  // A drawing begun anew or read starts its own history; what is read is not recorded.
  ResetJournal();
  journal_.suspended = journal_.enabled;
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

void ElementStore::SwapElements(ElementStore& other) {
  ResetJournal();
  other.ResetJournal();
  Drawing& a = drawing_;
  Drawing& b = other.drawing_;
  std::swap(a.lines, b.lines);
  std::swap(a.fillings, b.fillings);
  std::swap(a.texts, b.texts);
  std::swap(a.parts, b.parts);
  std::swap(a.SelectedLines, b.SelectedLines);
  std::swap(a.SelectedFillings, b.SelectedFillings);
  std::swap(a.SelectedTexts, b.SelectedTexts);
  std::swap(a.MarkerList, b.MarkerList);
  std::swap(a.OutlineList, b.OutlineList);
  std::swap(liveParts_, other.liveParts_);
  std::swap(holders_, other.holders_);
  std::swap(bounded_, other.bounded_);
  std::swap(lineIndex_, other.lineIndex_);
  std::swap(fillingIndex_, other.fillingIndex_);
  std::swap(textIndex_, other.textIndex_);
  // Remembered picks were of the elements that left.
  lastText_ = other.lastText_ = nullptr;
  lastPart_ = other.lastPart_ = nullptr;
  lastLine_ = other.lastLine_ = nullptr;
  lastFilling_ = other.lastFilling_ = nullptr;
}

void ElementStore::ShowAllLayers() {
  drawing_.layerVisible.fill(1);
}

void ElementStore::RecomputeZones() {
  // The limits may have changed: the grid is laid over them anew.
  lineIndex_.Regrid(drawing_.limits);
  fillingIndex_.Regrid(drawing_.limits);
  textIndex_.Regrid(drawing_.limits);
  for (LineElement* line : Each(drawing_.lines)) {
    SetZones(*line, LineBox(*line));
  }
  for (FillingElement* f : Each(drawing_.fillings)) {
    SetZones(*f, FillingBox(*f));
  }
  for (TextElement* text : Each(drawing_.texts)) {
    SetZones(*text, env_.TextExtent(*text, true));
  }
  for (PartElement* part : Each(drawing_.parts)) {
    SetZones(*part, part->box);
  }
}

} // namespace lumora
