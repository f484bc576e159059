#include "files/write_order.h"

#include "model/drawing.h"

#include <unordered_set>

namespace lumora {

namespace {

// Appends the parts under `root` and then `root`, each child before its holder. Iterative, so
// a long chain of nested parts cannot exhaust the stack; a part already placed is skipped, so
// a part held twice (or a cycle) is written once.
void AddChildFirst(const PartElement* root, Sequence<PartElement>& parts,
                   std::unordered_set<const PartElement*>& entered) {
  struct Frame {
    const PartElement* part;
    const PartNode* child;
  };
  if (root == nullptr || !entered.insert(root).second) return;
  std::vector<Frame> stack{{root, root->parts}};
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.child == nullptr) {
      parts.Add(top.part);
      stack.pop_back();
      continue;
    }
    const PartElement* child = top.child->element;
    top.child = top.child->next;
    if (child != nullptr && entered.insert(child).second) stack.push_back({child, child->parts});
  }
}

} // namespace

WriteOrder WholeDrawingOrder(const Drawing& drawing) {
  WriteOrder order;
  for (const LineElement* l = drawing.lines; l != nullptr; l = l->next) order.lines.Add(l);
  for (const FillingElement* f = drawing.fillings; f != nullptr; f = f->next) order.fillings.Add(f);
  for (const TextElement* t = drawing.texts; t != nullptr; t = t->next) order.texts.Add(t);
  std::unordered_set<const PartElement*> entered;
  for (const PartElement* p = drawing.parts; p != nullptr; p = p->next)
    if (p->nested() == 0) AddChildFirst(p, order.parts, entered);
  // Nested parts whose holder is gone are still part of the drawing.
  for (const PartElement* p = drawing.parts; p != nullptr; p = p->next)
    AddChildFirst(p, order.parts, entered);
  return order;
}

WriteOrder PartOrder(const PartElement& part) {
  WriteOrder order;
  std::unordered_set<const PartElement*> entered;
  AddChildFirst(&part, order.parts, entered);
  for (const PartElement* p : order.parts.Items()) {
    for (const LineNode* n = p->lines; n != nullptr; n = n->next) order.lines.Add(n->element);
    for (const FillingNode* n = p->fillings; n != nullptr; n = n->next)
      order.fillings.Add(n->element);
    for (const TextNode* n = p->texts; n != nullptr; n = n->next) order.texts.Add(n->element);
  }
  return order;
}

} // namespace lumora
