// What a step taken back or done again shows: the lines, fillings and texts it put on or took
// off their lists or changed in place, and the fillings those lines bound (their hatch follows
// the boundary), are erased as they were and drawn as they are, through the painter every
// command draws with. An erase breaks what crossed the element, and the painter keeps the box
// for the repair that paints it again as a full redraw does.
#include "model/store_journal_screen.h"

#include "model/element_store.h"

#include <type_traits>
#include <unordered_set>
#include <variant>
#include <vector>

namespace lumora {
namespace {

template <class Element> bool Shown(const Drawing& drawing, const Element& element) {
  return element.hidden() == 0 && drawing.layerVisible[element.layer()] != 0;
}

template <class Element> constexpr ElementKind KindOf() {
  if constexpr (std::is_same_v<Element, LineElement>) return ElementKind::kLine;
  if constexpr (std::is_same_v<Element, FillingElement>) return ElementKind::kFilling;
  if constexpr (std::is_same_v<Element, TextElement>) return ElementKind::kText;
  return ElementKind::kPart;
}

// The elements with a look of their own that a step touches, each once.
struct Looks {
  std::unordered_set<const void*> seen;
  std::vector<FillingElement*> fillings;
  std::vector<LineElement*> lines;
  std::vector<TextElement*> texts;

  template <class Element> void Note(Element* element, std::vector<Element*>& list) {
    if (seen.insert(element).second) list.push_back(element);
  }
};

Looks LooksOf(const ElementStore& store, const JournalStep& step) {
  Looks looks;
  const auto& retired = store.Journal().retired;
  // A part has no look of its own: placing or dissolving one shows through its members' links.
  const auto note = [&](void* element, ElementKind kind) {
    if (retired.contains(element)) return;
    switch (kind) {
    case ElementKind::kLine: {
      auto* line = static_cast<LineElement*>(element);
      looks.Note(line, looks.lines);
      for (FillingElement* filling : store.FillingsBoundedBy(line))
        looks.Note(filling, looks.fillings);
      return;
    }
    case ElementKind::kFilling:
      looks.Note(static_cast<FillingElement*>(element), looks.fillings);
      return;
    case ElementKind::kText:
      looks.Note(static_cast<TextElement*>(element), looks.texts);
      return;
    case ElementKind::kPart:
      return;
    }
  };
  for (const JournalLink& link : step.links) note(link.element, link.kind);
  for (const JournalChange& change : step.changes) {
    std::visit(
        [&note](const auto& c) {
          using Element = std::remove_pointer_t<decltype(c.element)>;
          if constexpr (!std::is_same_v<Element, Drawing>) note(c.element, KindOf<Element>());
        },
        change);
  }
  return looks;
}

} // namespace

void ShowStep(ElementStore& store, const JournalStep& step, DrawMode mode) {
  const Looks looks = LooksOf(store, step);
  const Drawing& drawing = store.drawing();
  Painter& painter = store.painter();
  // Drawn where nothing was erased, an element would lie over older ones that a full redraw
  // draws over it: it is erased first, which has the painter keep its box for the repair.
  const auto show = [&](auto& element) {
    if (!Shown(drawing, element)) return;
    painter.Draw(element, DrawMode::kErase);
    if (mode != DrawMode::kErase) painter.Draw(element, mode);
  };
  // In the order of a full redraw.
  for (FillingElement* filling : looks.fillings) show(*filling);
  for (LineElement* line : looks.lines) show(*line);
  for (TextElement* text : looks.texts) show(*text);
}

} // namespace lumora
