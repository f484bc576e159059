// Creating records: every record is one allocation (lines and texts with their points), packed
// from a PropertySet with its flags cleared, given zone masks and pushed at the head of its list.
#include "model/element_store.h"
#include "model/store_internal.h"
#include "model/store_messages.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <type_traits>

namespace lumora {

namespace {

static_assert(sizeof(LineElement) % alignof(Point) == 0);
static_assert(sizeof(TextElement) % alignof(Point) == 0);
static_assert(sizeof(HatchCache) % alignof(Point) == 0);
static_assert(sizeof(OutlineNode) % alignof(Point) == 0);

// The points stored right after a record of type Header in the same block, copied from source.
template <class Header> Point* TrailingPoints(Header* header, const Point* source, int count) {
  auto* first = reinterpret_cast<Point*>(reinterpret_cast<unsigned char*>(header) + sizeof(Header));
  if (count > 0) std::uninitialized_copy_n(source, count, first);
  return first;
}

} // namespace

ElementStore::ElementStore(Drawing& drawing, StoreEnvironment& env, Painter& painter)
    : drawing_(drawing), env_(env), painter_(painter), allocator_(arena_) {}

ElementStore::ElementStore(Drawing& drawing, StoreEnvironment& env, Painter& painter,
                           StoreAllocator& allocator)
    : drawing_(drawing), env_(env), painter_(painter), allocator_(allocator) {}

ElementStore::~ElementStore() {
  FreeEverything();
}

void* ElementStore::Allocate(std::size_t bytes) {
  return allocator_.Allocate(bytes);
}

void ElementStore::ReportOverflow() {
  env_.ShowError(store_messages::kMemoryOverflow);
}

bool ElementStore::PointsAreFinite(const Point* points, int count) {
  for (int k = 0; k < count; ++k) {
    if (!std::isfinite(points[k].x) || !std::isfinite(points[k].y)) {
      env_.ShowError(store_messages::kNotFinite);
      return false;
    }
  }
  return true;
}

template <class Element> void ElementStore::SetZones(Element& element, const Box& box) {
  const Box& limits = drawing_.limits;
  element.SetZoneX(ZoneMask(box.xmin, box.xmax, limits.xmin, limits.xmax));
  element.SetZoneY(ZoneMask(box.ymin, box.ymax, limits.ymin, limits.ymax));
  if constexpr (std::is_same_v<Element, LineElement>) {
    // An arc's centre is one of its stored points, and point searches look at it.
    Box filed = box;
    if (element.shape() == kShapeArc && element.ps0() > 0 && element.points != nullptr)
      ExtendBox(element.points[0].x, element.points[0].y, filed);
    lineIndex_.Place(&element, filed, limits);
  } else if constexpr (std::is_same_v<Element, FillingElement>) {
    fillingIndex_.Place(&element, box, limits);
  } else if constexpr (std::is_same_v<Element, TextElement>) {
    // The box is the text's extent with its measure points, which holds the extent without
    // them that a pick looks at: laying the text out once is enough.
    textIndex_.Place(&element, box, limits);
  }
}

void ElementStore::ReserveIndex(std::size_t lines, std::size_t fillings, std::size_t texts) {
  if (lines > 0) lineIndex_.Reserve(lines, drawing_.limits);
  if (fillings > 0) {
    fillingIndex_.Reserve(fillings, drawing_.limits);
    // A filling usually enters a line of its own in the boundary index.
    try {
      bounded_.reserve(bounded_.size() + fillings);
    } catch (const std::bad_alloc&) {
      // Only a hint: the index grows as it is filled.
    }
  }
  if (texts > 0) textIndex_.Reserve(texts, drawing_.limits);
}

void ElementStore::ReserveParts(std::size_t parts) {
  if (parts == 0) return;
  try {
    liveParts_.reserve(liveParts_.size() + parts);
    holders_.reserve(holders_.size() + parts);
  } catch (const std::bad_alloc&) {
    // Only a hint, as above.
  }
}

Box LineBox(const LineElement& line) {
  Box box;
  const int count = static_cast<int>(line.ps0());
  const Point* p = line.points;
  if (p == nullptr || count == 0) return box;
  // An arc runs from its second point to its last, so one of two points is a whole circle,
  // as searches and drawing take it. Shorter than that it falls back to the box of its point.
  if (line.shape() == kShapeArc && count >= 2) {
    BoxOfArc(p[0], p[1], p[count - 1], box);
  } else if (line.shape() == kShapeCircle && count >= 2) {
    BoxOfCircle(p[0], p[1], box);
  } else {
    BoxOfPoints(std::span<const Point>(p, static_cast<std::size_t>(count)), box);
  }
  return box;
}

Box FillingBox(const FillingElement& filling) {
  Box box;
  for (std::uint32_t i = 0; i < filling.ls0() && filling.lines != nullptr; ++i) {
    if (filling.lines[i] != nullptr) ExtendBoxByBox(LineBox(*filling.lines[i]), box);
  }
  return box;
}

LineElement* ElementStore::AddLine(const PropertySet& set, const Point* points, int count) {
  if (count < 0 || count > kMaxLinePoints || (count > 0 && points == nullptr)) return nullptr;
  if (!PointsAreFinite(points, count)) return nullptr;
  LineElement* line = NewLine(set, count);
  if (line == nullptr) return nullptr;
  if (count > 0) std::copy_n(points, count, line->points);
  LinkLine(*line);
  return line;
}

LineElement* ElementStore::NewLine(const PropertySet& set, int count) {
  if (count < 0 || count > kMaxLinePoints) return nullptr;
  ++drawing_.changes;
  void* block = Allocate(sizeof(LineElement) + sizeof(Point) * static_cast<std::size_t>(count));
  if (block == nullptr) {
    ReportOverflow();
    return nullptr;
  }
  auto* line = new (block) LineElement;
  PackLine(set, *line, PackFields::kAll);
  line->SetHidden(0);
  line->SetBoundary(0);
  line->SetInPart(0);
  line->SetSpareFlags(0);
  line->SetPs0(static_cast<std::uint32_t>(count));
  line->points = TrailingPoints(line, nullptr, 0);
  std::uninitialized_value_construct_n(line->points, count);
  return line;
}

void ElementStore::LinkLine(LineElement& line) {
  SetZones(line, LineBox(line));
  line.next = drawing_.lines;
  drawing_.lines = &line;
  NoteLink(ElementKind::kLine, &line, lineIndex_.Sequence(&line));
}

// Enters the filling in the boundary index under each of its lines; nothing when that fails.
bool ElementStore::NoteBoundaries(FillingElement& filling) {
  std::uint32_t noted = 0;
  try {
    for (; noted < filling.ls0(); ++noted) {
      LineElement* line = filling.lines[noted];
      if (line == nullptr) continue;
      std::vector<FillingElement*>& fillings = bounded_[line];
      if (fillings.empty() || fillings.back() != &filling) fillings.push_back(&filling);
    }
    return true;
  } catch (const std::bad_alloc&) {
    for (std::uint32_t i = 0; i < noted; ++i) {
      const auto found = bounded_.find(filling.lines[i]);
      if (found == bounded_.end()) continue;
      std::erase(found->second, &filling);
      if (found->second.empty()) bounded_.erase(found);
    }
    return false;
  }
}

std::vector<FillingElement*> ElementStore::FillingsBoundedBy(const LineElement* line) const {
  const auto found = bounded_.find(line);
  return found == bounded_.end() ? std::vector<FillingElement*>{} : found->second;
}

bool ElementStore::ReplaceBoundaryEntry(FillingElement& filling, std::uint32_t index,
                                        std::span<LineElement* const> with) {
  const std::uint32_t count = filling.ls0();
  if (index >= count || filling.lines == nullptr) return false;
  const std::size_t total = count - 1 + with.size();
  if (total > static_cast<std::size_t>(kMaxFillingLines)) return false;
  void* block = Allocate(sizeof(LineElement*) * std::max<std::size_t>(total, 1));
  if (block == nullptr) {
    ReportOverflow();
    return false;
  }
  Keep(filling);
  for (LineElement* line : with)
    if (line != nullptr) KeepFlags(*line);
  if (filling.lines[index] != nullptr) KeepFlags(*filling.lines[index]);
  auto* lines = static_cast<LineElement**>(block);
  std::uninitialized_fill_n(lines, std::max<std::size_t>(total, 1), nullptr);
  std::copy_n(filling.lines, index, lines);
  std::copy(with.begin(), with.end(), lines + index);
  std::copy(filling.lines + index + 1, filling.lines + count, lines + index + with.size());
  LineElement* old = filling.lines[index];
  try {
    for (LineElement* line : with) {
      if (line == nullptr) continue;
      std::vector<FillingElement*>& fillings = bounded_[line];
      if (std::find(fillings.begin(), fillings.end(), &filling) == fillings.end())
        fillings.push_back(&filling);
    }
  } catch (const std::bad_alloc&) {
    for (LineElement* line : with) {
      const auto found = bounded_.find(line);
      if (found == bounded_.end() || std::count(filling.lines, filling.lines + count, line) > 0)
        continue;
      std::erase(found->second, &filling);
      if (found->second.empty()) bounded_.erase(found);
    }
    allocator_.Free(lines);
    ReportOverflow();
    return false;
  }
  allocator_.Free(filling.lines);
  filling.lines = lines;
  filling.SetLs0(static_cast<std::uint32_t>(total));
  for (LineElement* line : with)
    if (line != nullptr) line->SetBoundary(1);
  // The old line may still bound this filling elsewhere, or other fillings.
  if (old != nullptr && std::count(lines, lines + total, old) == 0) {
    const auto found = bounded_.find(old);
    if (found != bounded_.end()) {
      std::erase(found->second, &filling);
      if (found->second.empty()) {
        bounded_.erase(found);
        old->SetBoundary(0);
      }
    }
  }
  ++drawing_.changes;
  return true;
}

FillingElement* ElementStore::AddFilling(const PropertySet& set, LineElement* const* lines,
                                         int count) {
  if (count < 0 || count > kMaxFillingLines || (count > 0 && lines == nullptr)) return nullptr;
  FillingElement* filling = NewFilling(set, count);
  if (filling == nullptr) return nullptr;
  std::copy_n(lines, count, filling->lines);
  return LinkFilling(*filling) ? filling : nullptr;
}

FillingElement* ElementStore::NewFilling(const PropertySet& set, int count) {
  if (count < 0 || count > kMaxFillingLines) return nullptr;
  ++drawing_.changes;
  void* block = Allocate(sizeof(FillingElement));
  if (block == nullptr) {
    ReportOverflow();
    return nullptr;
  }
  auto* filling = new (block) FillingElement;
  PackFilling(set, *filling, PackFields::kAll);
  filling->SetHidden(0);
  filling->SetInPart(0);
  filling->SetSpareFlags(0);
  filling->SetLs0(static_cast<std::uint32_t>(count));
  const std::size_t slots = static_cast<std::size_t>(std::max(count, 1));
  void* array = Allocate(sizeof(LineElement*) * slots);
  if (array == nullptr) {
    allocator_.Free(filling);
    ReportOverflow();
    return nullptr;
  }
  filling->lines = static_cast<LineElement**>(array);
  std::uninitialized_fill_n(filling->lines, slots, nullptr);
  filling->hatch = nullptr;
  return filling;
}

void ElementStore::FreeUnlinked(FillingElement* filling) {
  allocator_.Free(filling->lines);
  allocator_.Free(filling);
}

bool ElementStore::LinkFilling(FillingElement& filling) {
  if (!NoteBoundaries(filling)) {
    FreeUnlinked(&filling);
    ReportOverflow();
    return false;
  }
  for (std::uint32_t i = 0; i < filling.ls0(); ++i) {
    if (filling.lines[i] == nullptr) continue;
    KeepFlags(*filling.lines[i]);
    filling.lines[i]->SetBoundary(1);
  }
  SetZones(filling, FillingBox(filling));
  filling.next = drawing_.fillings;
  drawing_.fillings = &filling;
  NoteLink(ElementKind::kFilling, &filling, fillingIndex_.Sequence(&filling));
  return true;
}

TextElement* ElementStore::AddText(const PropertySet& set, const Point* points, int count,
                                   std::string_view text) {
  // Point 0 is the text's place: a text without it could not be drawn or picked.
  if (count < 1 || count > kMaxTextPoints || points == nullptr) return nullptr;
  if (!PointsAreFinite(points, count)) return nullptr;
  ++drawing_.changes;
  void* block = Allocate(sizeof(TextElement) + sizeof(Point) * static_cast<std::size_t>(count));
  if (block == nullptr) {
    ReportOverflow();
    return nullptr;
  }
  auto* element = new (block) TextElement;
  PackText(set, *element, PackFields::kAll);
  if (static_cast<int>(element->font()) >= env_.LoadedFontCount()) element->SetFont(0);
  element->SetHidden(0);
  element->SetInPart(0);
  element->SetSpareFlags(0);
  element->SetPointCount(static_cast<std::uint32_t>(count));
  element->points = TrailingPoints(element, points, count);

  // The string ends at its first zero byte, and never holds more than the limit.
  const std::size_t length = std::min(text.substr(0, text.find('\0')).size(), kMaxTextLength);
  void* chars = Allocate(length + 1);
  if (chars == nullptr) {
    allocator_.Free(element);
    ReportOverflow();
    return nullptr;
  }
  element->text = static_cast<char*>(chars);
  std::memcpy(element->text, text.data(), length);
  element->text[length] = '\0';

  SetZones(*element, env_.TextExtent(*element, true));
  element->next = drawing_.texts;
  drawing_.texts = element;
  NoteLink(ElementKind::kText, element, textIndex_.Sequence(element));
  return element;
}

PartElement* ElementStore::AddPart(std::string_view name, std::uint32_t type, std::uint32_t layer) {
  void* block = Allocate(sizeof(PartElement));
  if (block == nullptr) {
    ReportOverflow();
    return nullptr;
  }
  try {
    liveParts_.insert(static_cast<PartElement*>(block));
  } catch (const std::bad_alloc&) {
    allocator_.Free(block);
    ReportOverflow();
    return nullptr;
  }
  auto* part = new (block) PartElement;
  const std::size_t end = std::min(name.find('\0'), name.size());
  std::memcpy(part->name, name.data(), std::min(end, static_cast<std::size_t>(kPartNameMax)));
  part->SetType(type);
  part->SetLayer(layer);
  part->next = drawing_.parts;
  drawing_.parts = part;
  if (type != 0) NoteLink(ElementKind::kPart, part, 0);
  return part;
}

HatchCache* ElementStore::SetHatch(FillingElement& filling, const Point* points,
                                   std::uint32_t count) {
  ClearHatch(filling);
  if (count > 0 && points == nullptr) return nullptr;
  void* block = Allocate(sizeof(HatchCache) + sizeof(Point) * count);
  if (block == nullptr) {
    ReportOverflow();
    return nullptr;
  }
  auto* hatch = new (block) HatchCache;
  hatch->count = count;
  hatch->points = TrailingPoints(hatch, points, static_cast<int>(count));
  filling.hatch = hatch;
  return hatch;
}

void ElementStore::ClearHatch(FillingElement& filling) {
  if (filling.hatch != nullptr) allocator_.Free(filling.hatch);
  filling.hatch = nullptr;
}

OutlineNode* ElementStore::AddOutline(const Point* points, int count) {
  if (count < 1 || points == nullptr) return nullptr;
  void* block = Allocate(sizeof(OutlineNode) + sizeof(Point) * static_cast<std::size_t>(count));
  if (block == nullptr) {
    ReportOverflow();
    return nullptr;
  }
  auto* outline = new (block) OutlineNode;
  outline->count = count;
  outline->points = TrailingPoints(outline, points, count);
  outline->next = drawing_.OutlineList;
  drawing_.OutlineList = outline;
  painter_.DrawOutline(*outline);
  return outline;
}

MarkerNode* ElementStore::AddMarker(const Point& point, char marker) {
  void* block = Allocate(sizeof(MarkerNode));
  if (block == nullptr) {
    ReportOverflow();
    return nullptr;
  }
  auto* node = new (block) MarkerNode{marker, point, drawing_.MarkerList};
  drawing_.MarkerList = node;
  painter_.DrawMarker(node->point, node->marker);
  return node;
}

template <class Element>
MemberNode<Element>* ElementStore::PushNode(MemberNode<Element>*& head, Element* element) {
  void* block = Allocate(sizeof(MemberNode<Element>));
  if (block == nullptr) {
    ReportOverflow();
    return nullptr;
  }
  auto* node = new (block) MemberNode<Element>{element, head};
  head = node;
  return node;
}

template LineNode* ElementStore::PushNode(LineNode*&, LineElement*);
template FillingNode* ElementStore::PushNode(FillingNode*&, FillingElement*);
template TextNode* ElementStore::PushNode(TextNode*&, TextElement*);
template PartNode* ElementStore::PushNode(PartNode*&, PartElement*);
template void ElementStore::SetZones(LineElement&, const Box&);
template void ElementStore::SetZones(FillingElement&, const Box&);
template void ElementStore::SetZones(TextElement&, const Box&);
template void ElementStore::SetZones(PartElement&, const Box&);

} // namespace lumora
