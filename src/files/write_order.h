// The order in which a drawing or a part is written, which is also what the indices stored in
// fillings and part member lists count.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace lumora {

struct Drawing;
struct LineElement;
struct FillingElement;
struct TextElement;
struct PartElement;

template <class Element> class Sequence {
public:
  // Adds an element once; a second add of the same element is ignored.
  void Add(const Element* element) {
    if (element == nullptr || index_.contains(element)) return;
    index_.emplace(element, static_cast<std::int32_t>(items_.size()));
    items_.push_back(element);
  }
  // The element's position, or the count when it is not in the sequence.
  std::int32_t IndexOf(const Element* element) const {
    const auto it = index_.find(element);
    return it == index_.end() ? Count() : it->second;
  }
  std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
  const std::vector<const Element*>& Items() const { return items_; }

private:
  std::vector<const Element*> items_;
  std::unordered_map<const Element*, std::int32_t> index_;
};

struct WriteOrder {
  Sequence<LineElement> lines;
  Sequence<FillingElement> fillings;
  Sequence<TextElement> texts;
  Sequence<PartElement> parts;
};

// The whole drawing: every list from its head; each part that is not nested after the parts
// it holds (child first, recursively).
WriteOrder WholeDrawingOrder(const Drawing& drawing);
// One part: the members of its nested parts (child first) followed by its own, and the part
// itself as the last part.
WriteOrder PartOrder(const PartElement& part);

} // namespace lumora
