// Selecting what lies in an area into a group.
#include "element_geometry/element_geometry.h"
#include "model/store_internal.h"

#include <new>
#include <unordered_set>

namespace lumora {

namespace {

template <class Element> bool InList(const MemberNode<Element>* n, const void* element) {
  for (; n != nullptr; n = n->next) {
    if (n->element == element) return true;
  }
  return false;
}

bool Crosses(const Segment& edge, Area area) {
  const std::size_t n = area.size();
  for (std::size_t i = 0; i < n; ++i) {
    double x = 0.0;
    double y = 0.0;
    if (IntersectSegments(edge, {area[i], area[(i + 1) % n]}, x, y) == 1) return true;
  }
  return false;
}

void HighlightMembers(const PartElement& part, ElementStore& store) {
  for (const LineNode* n : Each(part.lines)) store.Select(n->element);
  for (const FillingNode* n : Each(part.fillings)) store.Select(n->element);
  for (const TextNode* n : Each(part.texts)) store.Select(n->element);
  for (const PartNode* n : Each(part.parts)) HighlightMembers(*n->element, store);
}

} // namespace

bool ElementGeometry::GroupHolds(const PartElement& group, const void* element, ElementKind kind) {
  switch (kind) {
  case ElementKind::kLine:
    if (InList(group.lines, element)) return true;
    break;
  case ElementKind::kFilling:
    if (InList(group.fillings, element)) return true;
    break;
  case ElementKind::kText:
    if (InList(group.texts, element)) return true;
    break;
  case ElementKind::kPart:
    if (InList(group.parts, element)) return true;
    break;
  }
  for (const PartNode* n : Each(group.parts)) {
    if (n->element != nullptr && GroupHolds(*n->element, element, kind)) return true;
  }
  return false;
}

namespace {

// The lines of the part and of the parts it holds; a part met twice is gathered once.
void GatherLines(const PartElement& part, std::unordered_set<const LineElement*>& lines,
                 std::unordered_set<const PartElement*>& parts) {
  if (!parts.insert(&part).second) return;
  for (const LineNode* n : Each(part.lines)) lines.insert(n->element);
  for (const PartNode* n : Each(part.parts)) {
    if (n->element != nullptr) GatherLines(*n->element, lines, parts);
  }
}

template <class Holds> int BoundaryHeld(const FillingElement& filling, bool all, Holds holds) {
  bool any = false;
  for (std::uint32_t i = 0; i < filling.ls0() && filling.lines != nullptr; ++i) {
    const LineElement* line = filling.lines[i];
    if (line == nullptr) continue;
    const bool held = holds(line);
    if (all && !held) return 0;
    any = any || held;
  }
  return all || any ? 1 : 0;
}

} // namespace

HeldLines::HeldLines(const PartElement& group) : group_(group) {
  try {
    std::unordered_set<const PartElement*> parts;
    GatherLines(group_, lines_, parts);
  } catch (const std::bad_alloc&) {
    lines_.clear();
    walk_ = true;
  }
}

bool HeldLines::Holds(const LineElement* line) const {
  if (walk_) return ElementGeometry::GroupHolds(group_, line, ElementKind::kLine);
  return lines_.contains(line);
}

int ElementGeometry::FillingInGroup(const FillingElement& filling, const PartElement& group,
                                    bool all) {
  return BoundaryHeld(filling, all, [&](const LineElement* line) {
    return GroupHolds(group, line, ElementKind::kLine);
  });
}

int ElementGeometry::FillingInGroup(const FillingElement& filling, const HeldLines& held,
                                    bool all) {
  return BoundaryHeld(filling, all, [&](const LineElement* line) { return held.Holds(line); });
}

int ElementGeometry::PartInsidePolygon(const PartElement& part, Area area, bool all) const {
  if (area.empty()) return 0;
  const Box& b = part.box;
  const Point corners[] = {{b.xmin, b.ymin}, {b.xmax, b.ymin}, {b.xmax, b.ymax}, {b.xmin, b.ymax}};
  bool crossing = false;
  for (int i = 0; i < 4 && !crossing; ++i)
    crossing = Crosses({corners[i], corners[(i + 1) % 4]}, area);
  const bool cornerInside = PointInPolygon(b.xmin, b.ymin, area) != 0;
  if (!all && settings.partStretch) {
    return cornerInside || InBox(area[0].x, area[0].y, b) != 0 || crossing ? 1 : 0;
  }
  return cornerInside && !crossing ? 1 : 0;
}

int ElementGeometry::TextInsidePolygon(const TextElement& text, Area area, bool all) const {
  const std::size_t count = text.points == nullptr ? 0 : text.pointCount();
  const auto inside = [area](const Point& p) { return PointInPolygon(p.x, p.y, area) != 0; };
  if (all) {
    for (std::size_t i = 0; i < count; ++i) {
      if (!inside(text.points[i])) return 0;
    }
    return count > 0 ? 1 : 0;
  }
  if (text.mitta() != 0 && count >= 2) {
    for (std::size_t i = 1; i < count; ++i) {
      if (inside(text.points[i])) return 1;
    }
  }
  const Box b = env_.TextExtent(text, false);
  return inside({b.xmin, b.ymin}) && inside({b.xmax, b.ymax}) ? 1 : 0;
}

bool ElementGeometry::PartVisible(const PartElement& part) const {
  if (part.hidden() != 0) return false;
  if (part.layer() != kMixedLayer) return drawing_.layerVisible[part.layer()] != 0;
  for (const LineNode* n : Each(part.lines)) {
    if (drawing_.layerVisible[n->element->layer()] != 0) return true;
  }
  for (const FillingNode* n : Each(part.fillings)) {
    if (drawing_.layerVisible[n->element->layer()] != 0) return true;
  }
  for (const TextNode* n : Each(part.texts)) {
    if (drawing_.layerVisible[n->element->layer()] != 0) return true;
  }
  for (const PartNode* n : Each(part.parts)) {
    if (PartVisible(*n->element)) return true;
  }
  return false;
}

bool ElementGeometry::SelectArea(PartElement& group, Area area, bool all, bool mark) {
  Box box;
  BoxOfPoints(area, box);
  const Box& limits = drawing_.limits;
  const std::uint16_t qx = ZoneMask(box.xmin, box.xmax, limits.xmin, limits.xmax);
  const std::uint16_t qy = ZoneMask(box.ymin, box.ymax, limits.ymin, limits.ymax);
  for (LineElement* line : Each(drawing_.lines)) {
    if (!Candidate(*line, qx, qy) || line->inPart() != 0) continue;
    if (ElementInsidePolygon(*line, area, all) == 0) continue;
    if (store_.AddMember(&group, line) != nullptr && mark) {
      store_.Select(line);
    }
  }
  for (TextElement* text : Each(drawing_.texts)) {
    if (!Candidate(*text, qx, qy) || text->inPart() != 0) continue;
    if (TextInsidePolygon(*text, area, all) == 0) continue;
    if (store_.AddMember(&group, text) != nullptr && mark) {
      store_.Select(text);
    }
  }
  for (PartElement* part : Each(drawing_.parts)) {
    if (part == &group || part->nested() != 0 || !PartVisible(*part)) continue;
    if (ZonesOverlap(static_cast<std::uint16_t>(part->zoneX()),
                     static_cast<std::uint16_t>(part->zoneY()), qx, qy) == 0) {
      continue;
    }
    if (PartInsidePolygon(*part, area, all) != 0 && store_.AddMember(&group, part) != nullptr &&
        mark) {
      HighlightMembers(*part, store_);
    }
  }
  // The group gains no more lines from here on.
  const HeldLines held(group);
  for (FillingElement* f : Each(drawing_.fillings)) {
    if (!Candidate(*f, qx, qy) || f->inPart() != 0) continue;
    if (FillingInGroup(*f, held, all) == 0) continue;
    if (store_.AddMember(&group, f) != nullptr && mark) store_.Select(f);
  }
  return ElementStore::PartIsEmpty(&group);
}

} // namespace lumora
