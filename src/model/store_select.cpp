// Selection lists (highlighted elements), point markers and temporary outlines.
#include "model/element_store.h"

#include <span>
#include <type_traits>
#include <unordered_set>
#include <vector>

namespace lumora {

namespace {

// Calls visit for the member lines, fillings and texts of the part and then, in the same way,
// of each member part in list order, at any depth. A work list of member-list positions keeps
// the stack flat however deep parts nest.
template <class Visit> void ForEachMember(const PartElement* part, Visit visit) {
  std::vector<const PartNode*> pending;
  const auto own = [&pending, &visit](const PartElement* p) {
    for (LineNode* n : Each(p->lines)) visit(n->element);
    for (FillingNode* n : Each(p->fillings)) visit(n->element);
    for (TextNode* n : Each(p->texts)) visit(n->element);
    pending.push_back(p->parts);
  };
  if (part == nullptr) return;
  own(part);
  while (!pending.empty()) {
    const PartNode* node = pending.back();
    if (node == nullptr) {
      pending.pop_back();
      continue;
    }
    pending.back() = node->next;
    if (node->element != nullptr) own(node->element);
  }
}

// Takes the nodes of the elements off the list in one pass.
template <class Element>
void DropNodes(MemberNode<Element>*& head, std::span<Element* const> elements,
               StoreAllocator& allocator) {
  std::unordered_set<const Element*> gone;
  gone.reserve(elements.size());
  for (const Element* element : elements)
    if (element != nullptr) gone.insert(element);
  if (gone.empty()) return;
  MemberNode<Element>** link = &head;
  while (MemberNode<Element>* node = *link) {
    if (node->element != nullptr && gone.contains(node->element)) {
      *link = node->next;
      allocator.Free(node);
    } else {
      link = &node->next;
    }
  }
}

} // namespace

void ElementStore::Select(LineElement* line) {
  if (line != nullptr && PushNode(drawing_.SelectedLines, line) != nullptr) {
    painter_.Draw(*line, DrawMode::kHighlight);
  }
}

void ElementStore::Select(FillingElement* filling) {
  if (filling != nullptr && PushNode(drawing_.SelectedFillings, filling) != nullptr) {
    painter_.Draw(*filling, DrawMode::kHighlight);
  }
}

void ElementStore::Select(TextElement* text) {
  if (text != nullptr && PushNode(drawing_.SelectedTexts, text) != nullptr) {
    painter_.Draw(*text, DrawMode::kHighlight);
  }
}

void ElementStore::Select(PartElement* part) {
  ForEachMember(part, [this](auto* element) { Select(element); });
}

void ElementStore::Unselect(LineElement* line) {
  if (line == nullptr) return;
  painter_.Draw(*line, DrawMode::kErase);
  RemoveNodes(drawing_.SelectedLines, line);
}

void ElementStore::Unselect(FillingElement* filling) {
  if (filling == nullptr) return;
  painter_.Draw(*filling, DrawMode::kErase);
  RemoveNodes(drawing_.SelectedFillings, filling);
}

void ElementStore::Unselect(TextElement* text) {
  if (text == nullptr) return;
  painter_.Draw(*text, DrawMode::kErase);
  RemoveNodes(drawing_.SelectedTexts, text);
}

void ElementStore::Unselect(PartElement* part) {
  std::vector<LineElement*> lines;
  std::vector<FillingElement*> fillings;
  std::vector<TextElement*> texts;
  ForEachMember(part, [&](auto* element) {
    using Element = std::remove_pointer_t<decltype(element)>;
    if constexpr (std::is_same_v<Element, LineElement>)
      lines.push_back(element);
    else if constexpr (std::is_same_v<Element, FillingElement>)
      fillings.push_back(element);
    else
      texts.push_back(element);
  });
  UnselectMany(lines, fillings, texts);
}

void ElementStore::UnselectMany(std::span<LineElement* const> lines,
                                std::span<FillingElement* const> fillings,
                                std::span<TextElement* const> texts) {
  for (LineElement* line : lines)
    if (line != nullptr) painter_.Draw(*line, DrawMode::kErase);
  for (FillingElement* filling : fillings)
    if (filling != nullptr) painter_.Draw(*filling, DrawMode::kErase);
  for (TextElement* text : texts)
    if (text != nullptr) painter_.Draw(*text, DrawMode::kErase);
  DropNodes(drawing_.SelectedLines, lines, allocator_);
  DropNodes(drawing_.SelectedFillings, fillings, allocator_);
  DropNodes(drawing_.SelectedTexts, texts, allocator_);
}

void ElementStore::ClearSelections() {
  while (MarkerNode* marker = drawing_.MarkerList) {
    painter_.DrawMarker(marker->point, marker->marker); // inversion: drawing again erases
    drawing_.MarkerList = marker->next;
    allocator_.Free(marker);
  }
  while (OutlineNode* outline = drawing_.OutlineList) {
    painter_.DrawOutline(*outline);
    drawing_.OutlineList = outline->next;
    allocator_.Free(outline);
  }
  while (TextNode* node = drawing_.SelectedTexts) {
    painter_.Draw(*node->element, DrawMode::kErase);
    drawing_.SelectedTexts = node->next;
    allocator_.Free(node);
  }
  while (FillingNode* node = drawing_.SelectedFillings) {
    painter_.Draw(*node->element, DrawMode::kErase);
    drawing_.SelectedFillings = node->next;
    allocator_.Free(node);
  }
  while (LineNode* node = drawing_.SelectedLines) {
    painter_.Draw(*node->element, DrawMode::kErase);
    drawing_.SelectedLines = node->next;
    allocator_.Free(node);
  }
}

namespace {

// Each highlighted element once, in the order of its selection list.
template <class Element> std::vector<Element*> Highlighted(const MemberNode<Element>* head) {
  std::vector<Element*> elements;
  std::unordered_set<const Element*> seen;
  for (; head != nullptr; head = head->next)
    if (head->element != nullptr && seen.insert(head->element).second)
      elements.push_back(head->element);
  return elements;
}

} // namespace

void ElementStore::ShowHighlightedNormally() {
  // Unselecting erases the highlight; the normal look is drawn over it, fillings first as a
  // full redraw draws them, so no erase punches a hole in an element drawn again.
  const std::vector<LineElement*> lines = Highlighted(drawing_.SelectedLines);
  const std::vector<FillingElement*> fillings = Highlighted(drawing_.SelectedFillings);
  const std::vector<TextElement*> texts = Highlighted(drawing_.SelectedTexts);
  UnselectMany(lines, fillings, texts);
  // Nodes of an element already gone (null) go too.
  FreeNodes(drawing_.SelectedLines);
  FreeNodes(drawing_.SelectedFillings);
  FreeNodes(drawing_.SelectedTexts);
  for (FillingElement* filling : fillings) painter_.Draw(*filling, DrawMode::kNormal);
  for (LineElement* line : lines) painter_.Draw(*line, DrawMode::kNormal);
  for (TextElement* text : texts) painter_.Draw(*text, DrawMode::kNormal);
}

int ElementStore::RemoveMarker(const Point& point) {
  for (MarkerNode** link = &drawing_.MarkerList; *link != nullptr; link = &(*link)->next) {
    MarkerNode* marker = *link;
    if (SamePoint(marker->point, point) != 0) {
      painter_.DrawMarker(marker->point, marker->marker);
      *link = marker->next;
      allocator_.Free(marker);
      return 1;
    }
  }
  return 0;
}

int ElementStore::RemoveOutline(const Point* points, int count) {
  if (points == nullptr || count < 1) return 0;
  for (OutlineNode** link = &drawing_.OutlineList; *link != nullptr; link = &(*link)->next) {
    OutlineNode* outline = *link;
    if (outline->count != count) continue;
    bool same = true;
    for (int i = 0; i < count && same; ++i) {
      same = outline->points[i].x == points[i].x && outline->points[i].y == points[i].y;
    }
    if (same) {
      painter_.DrawOutline(*outline);
      *link = outline->next;
      allocator_.Free(outline);
      return 1;
    }
  }
  return 0;
}

} // namespace lumora
