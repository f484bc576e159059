// Finding the text or part under a point. Among equally near candidates a repeated pick steps
// to the next one, so the user can reach each of several overlapping elements in turn.
#include "model/element_store.h"

#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace lumora {

namespace {

// Pick radii are counted in search units of this share of the view box width.
constexpr double kSearchUnit = 0.008;

// Keeps the nearest candidate offered. A candidate within the tolerance of the best counts as
// equally near: the first one after the previous result (in list order) is taken then, so
// repeated picks cycle through all of them.
template <class Element> class TieStepper {
public:
  explicit TieStepper(const Element* previous) : previous_(previous) {}

  void Offer(Element* element, double distance) {
    if (best_ == nullptr || distance < bestDistance_ - kGeomTolerance) {
      best_ = element;
      bestDistance_ = distance;
      seenPrevious_ = element == previous_;
      stepped_ = false;
      return;
    }
    if (distance > bestDistance_ + kGeomTolerance) return;
    if (seenPrevious_ && !stepped_) {
      best_ = element;
      bestDistance_ = distance;
      stepped_ = true;
    }
    if (element == previous_) seenPrevious_ = true;
  }

  Element* best() const { return best_; }

private:
  const Element* previous_;
  Element* best_ = nullptr;
  double bestDistance_ = 0.0;
  bool seenPrevious_ = false; // the previous result is among the current equally near ones
  bool stepped_ = false;      // the best was taken after the previous result
};

// Whether a part of mixed layer counts as visible: some member at any depth is on a visible
// layer (a member part of its own layer counts by that layer). The walk goes through mixed
// member parts with a work list; known holds the answers found so far, so a pick among many
// nested parts looks at each part once.
bool AnyMemberOnVisibleLayer(const PartElement& root, const Drawing& drawing,
                             std::unordered_map<const PartElement*, bool>& known) {
  const auto& visible = drawing.layerVisible;
  const auto ownVisible = [&visible](const PartElement& part) {
    for (const LineNode* n : Each(part.lines))
      if (visible[n->element->layer()] != 0) return true;
    for (const FillingNode* n : Each(part.fillings))
      if (visible[n->element->layer()] != 0) return true;
    for (const TextNode* n : Each(part.texts))
      if (visible[n->element->layer()] != 0) return true;
    for (const PartNode* n : Each(part.parts)) {
      const std::uint32_t layer = n->element->layer();
      if (layer != kMixedLayer && visible[layer] != 0) return true;
    }
    return false;
  };
  if (const auto answer = known.find(&root); answer != known.end()) return answer->second;
  // Each part reached, with the part it was reached from.
  std::unordered_map<const PartElement*, const PartElement*> from{{&root, nullptr}};
  std::vector<const PartElement*> work{&root};
  const PartElement* finder = nullptr;
  while (!work.empty() && finder == nullptr) {
    const PartElement* part = work.back();
    work.pop_back();
    const auto answer = known.find(part);
    if (answer != known.end()) {
      if (answer->second) finder = part;
      continue;
    }
    if (ownVisible(*part)) {
      finder = part;
      break;
    }
    for (const PartNode* n : Each(part->parts))
      if (n->element->layer() == kMixedLayer && from.emplace(n->element, part).second)
        work.push_back(n->element);
  }
  if (finder == nullptr) {
    // Nothing the walk reached has a visible member either.
    for (const auto& entry : from) known[entry.first] = false;
    return false;
  }
  // Every part on the way down to the one with a visible member is visible too.
  for (const PartElement* part = finder; part != nullptr; part = from[part]) known[part] = true;
  return true;
}

} // namespace

bool ElementStore::PartVisible(const PartElement* part,
                               std::unordered_map<const PartElement*, bool>& known) const {
  if (part->hidden() != 0) return false;
  if (part->layer() != kMixedLayer) return drawing_.layerVisible[part->layer()] != 0;
  return AnyMemberOnVisibleLayer(*part, drawing_, known);
}

TextElement* ElementStore::FindText(const Point& point, double pickFactor) {
  const double viewWidth = env_.ViewBoxWidth();
  const double r = pickFactor == 0.0 ? viewWidth : pickFactor * kSearchUnit * viewWidth;
  const Box& limits = drawing_.limits;
  const std::uint16_t qx = ZoneMask(point.x - r, point.x + r, limits.xmin, limits.xmax);
  const std::uint16_t qy = ZoneMask(point.y - r, point.y + r, limits.ymin, limits.ymax);
  TieStepper<TextElement> stepper(lastText_);
  const auto offer = [&](TextElement* text) {
    if (ZonesOverlap(static_cast<std::uint16_t>(text->zoneX()),
                     static_cast<std::uint16_t>(text->zoneY()), qx, qy) == 0) {
      return;
    }
    if (text->hidden() != 0 || drawing_.layerVisible[text->layer()] == 0) return;
    if (InBox(point.x, point.y, env_.TextExtent(*text, false)) == 0) return;
    stepper.Offer(text, Distance(point, text->points[0], 0));
  };
  // Only texts whose extent holds the point count; the index hands them on in list order.
  std::vector<SpatialIndex<TextElement>::Entry> candidates;
  if (indexed_ && textIndex_.Collect(Box{point.x, point.y, point.x, point.y}, candidates)) {
    for (const auto& entry : candidates) offer(entry.element);
  } else {
    for (TextElement* text : Each(drawing_.texts)) offer(text);
  }
  lastText_ = stepper.best();
  return stepper.best();
}

PartElement* ElementStore::FindPart(const Point& point, bool skipNested) {
  const Box& limits = drawing_.limits;
  const std::uint16_t qx =
      ZoneMask(point.x - kGeomTolerance, point.x + kGeomTolerance, limits.xmin, limits.xmax);
  const std::uint16_t qy =
      ZoneMask(point.y - kGeomTolerance, point.y + kGeomTolerance, limits.ymin, limits.ymax);
  TieStepper<PartElement> stepper(lastPart_);
  std::unordered_map<const PartElement*, bool> known;
  for (PartElement* part : Each(drawing_.parts)) {
    if (part->type() == 0 || (skipNested && part->nested() != 0)) continue;
    if (ZonesOverlap(static_cast<std::uint16_t>(part->zoneX()),
                     static_cast<std::uint16_t>(part->zoneY()), qx, qy) == 0) {
      continue;
    }
    if (InBox(point.x, point.y, part->box) == 0 || !PartVisible(part, known)) continue;
    const Box& box = part->box;
    stepper.Offer(part, (box.xmax - box.xmin) + (box.ymax - box.ymin));
  }
  lastPart_ = stepper.best();
  return stepper.best();
}

} // namespace lumora
