#include "commands/element_snapshot.h"

#include "element_geometry/element_geometry.h"
#include "model/drawing.h"
#include "model/elements.h"
#include "text/place_text.h"
#include "text/text_layout.h"

#include <algorithm>

namespace lumora {
namespace {

std::vector<Point> Copied(const Point* points, std::size_t count) {
  if (points == nullptr) return {};
  return {points, points + count};
}

// Old points go back into the record's own storage; the count the record was made with is
// its allocation's and is kept whatever the snapshot says.
void CopyBack(const std::vector<Point>& from, Point* to, std::size_t count) {
  if (to == nullptr) return;
  std::copy_n(from.begin(), std::min(count, from.size()), to);
}

template <class Element> bool Holds(const MemberNode<Element>* node, const void* element) {
  for (; node != nullptr; node = node->next) {
    if (node->element == element) return true;
  }
  return false;
}

bool Lists(const PartElement& part, const void* element) {
  return Holds(part.lines, element) || Holds(part.fillings, element) ||
         Holds(part.texts, element) || Holds(part.parts, element);
}

} // namespace

void DrawBoundary(ElementGeometry& geometry, const FillingElement& filling) {
  if (filling.hidden() != 0 || filling.lines == nullptr) return;
  for (std::uint32_t i = 0; i < filling.ls0(); ++i) {
    LineElement* line = filling.lines[i];
    if (line != nullptr && line->hidden() == 0)
      geometry.Store().painter().Draw(*line, DrawMode::kNormal);
  }
}

void ElementSnapshot::Clear() {
  lines_.clear();
  fillings_.clear();
  texts_.clear();
  parts_.clear();
}

bool ElementSnapshot::Empty() const {
  return lines_.empty() && fillings_.empty() && texts_.empty() && parts_.empty();
}

void ElementSnapshot::Take(const LineElement& line) {
  lines_.push_back({const_cast<LineElement*>(&line), line.words, Copied(line.points, line.ps0())});
}

void ElementSnapshot::Take(const FillingElement& filling) {
  fillings_.push_back({const_cast<FillingElement*>(&filling), filling.words});
}

void ElementSnapshot::Take(const TextElement& text) {
  texts_.push_back({const_cast<TextElement*>(&text), text.words,
                    Copied(text.points, text.pointCount()), std::string(TextOf(text))});
}

void ElementSnapshot::Take(const PartElement& part) {
  // Nested parts are walked with a work list: nesting depth is the drawing's, not the stack's.
  std::vector<const PartElement*> work{&part};
  while (!work.empty()) {
    const PartElement* p = work.back();
    work.pop_back();
    parts_.push_back({const_cast<PartElement*>(p), p->words, p->location, p->box});
    for (const LineNode* n : Each(p->lines)) {
      if (n->element != nullptr) Take(*n->element);
    }
    for (const FillingNode* n : Each(p->fillings)) {
      if (n->element != nullptr) Take(*n->element);
    }
    for (const TextNode* n : Each(p->texts)) {
      if (n->element != nullptr) Take(*n->element);
    }
    for (const PartNode* n : Each(p->parts)) {
      if (n->element != nullptr) work.push_back(n->element);
    }
  }
}

void ElementSnapshot::TakeHolders(const Drawing& drawing, const void* element) {
  std::vector<const void*> work{element};
  while (!work.empty()) {
    const void* held = work.back();
    work.pop_back();
    for (const PartElement* p : Each(drawing.parts)) {
      if (!Lists(*p, held)) continue;
      const bool known = std::any_of(parts_.begin(), parts_.end(),
                                     [p](const PartState& s) { return s.part == p; });
      if (known) continue;
      parts_.push_back({const_cast<PartElement*>(p), p->words, p->location, p->box});
      work.push_back(p);
    }
  }
}

bool ElementSnapshot::Restore(ElementGeometry& geometry) {
  Painter& painter = geometry.Store().painter();
  ElementStore& store = geometry.Store();
  bool whole = true;
  // Taking a step back is itself a change the undo journal keeps.
  for (LineState& s : lines_) store.Keep(*s.line);
  for (TextState& s : texts_) store.Keep(*s.text);
  for (FillingState& s : fillings_) store.Keep(*s.filling);
  for (PartState& s : parts_) store.Keep(*s.part);
  for (LineState& s : lines_) {
    LineElement& line = *s.line;
    if (line.hidden() == 0) painter.Draw(line, DrawMode::kErase);
    const std::uint32_t count = line.ps0();
    line.words = s.words;
    line.SetPs0(count);
    CopyBack(s.points, line.points, count);
  }
  for (TextState& s : texts_) {
    TextElement& text = *s.text;
    if (text.hidden() == 0) painter.Draw(text, DrawMode::kErase);
    const std::uint32_t count = text.pointCount();
    text.words = s.words;
    text.SetPointCount(count);
    CopyBack(s.points, text.points, count);
    if (TextOf(text) != s.value && ReplaceString(store.drawing(), store.allocator(),
                                                 geometry.Environment(), text, s.value) == 0) {
      whole = false;
    }
  }
  // A filling's hatch is erased with the gap and angle it was drawn with.
  for (FillingState& s : fillings_) {
    if (s.filling->hidden() == 0) painter.Draw(*s.filling, DrawMode::kErase);
    store.ClearHatch(*s.filling);
    s.filling->words = s.words;
  }
  // Zone masks, the parts holding each element and the fillings a line bounds follow.
  for (LineState& s : lines_) geometry.ElementChanged(*s.line);
  for (TextState& s : texts_) geometry.ElementChanged(*s.text);
  for (FillingState& s : fillings_) geometry.ElementChanged(*s.filling);
  for (FillingState& s : fillings_) DrawBoundary(geometry, *s.filling);
  // The parts take their own location and box back, exactly as they were.
  for (PartState& s : parts_) {
    PartElement& part = *s.part;
    part.words = s.words;
    part.location = s.location;
    part.box = s.box;
    store.SetZones(part, s.box);
  }
  for (LineState& s : lines_) {
    if (s.line->hidden() == 0) painter.Draw(*s.line, DrawMode::kNormal);
  }
  for (TextState& s : texts_) {
    if (s.text->hidden() == 0) painter.Draw(*s.text, DrawMode::kNormal);
  }
  Clear();
  return whole;
}

} // namespace lumora
