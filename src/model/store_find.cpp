// Finding the text or part under a point. Among equally near candidates a repeated pick steps
// to the next one, so the user can reach each of several overlapping elements in turn.
#include "model/element_store.h"

#include <cmath>
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

bool AnyMemberOnVisibleLayer(const PartElement& part, const Drawing& drawing) {
  const auto& visible = drawing.layerVisible;
  for (const LineNode* n = part.lines; n != nullptr; n = n->next) {
    if (visible[n->element->layer()] != 0) return true;
  }
  for (const FillingNode* n = part.fillings; n != nullptr; n = n->next) {
    if (visible[n->element->layer()] != 0) return true;
  }
  for (const TextNode* n = part.texts; n != nullptr; n = n->next) {
    if (visible[n->element->layer()] != 0) return true;
  }
  for (const PartNode* n = part.parts; n != nullptr; n = n->next) {
    const PartElement& member = *n->element;
    if (member.layer() != kMixedLayer ? visible[member.layer()] != 0
                                      : AnyMemberOnVisibleLayer(member, drawing)) {
      return true;
    }
  }
  return false;
}

} // namespace

bool ElementStore::PartVisible(const PartElement* part) const {
  if (part->hidden() != 0) return false;
  if (part->layer() != kMixedLayer) return drawing_.layerVisible[part->layer()] != 0;
  return AnyMemberOnVisibleLayer(*part, drawing_);
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
    for (TextElement* text = drawing_.texts; text != nullptr; text = text->next) offer(text);
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
  for (PartElement* part = drawing_.parts; part != nullptr; part = part->next) {
    if (part->type() == 0 || (skipNested && part->nested() != 0)) continue;
    if (ZonesOverlap(static_cast<std::uint16_t>(part->zoneX()),
                     static_cast<std::uint16_t>(part->zoneY()), qx, qy) == 0) {
      continue;
    }
    if (!PartVisible(part) || InBox(point.x, point.y, part->box) == 0) continue;
    const Box& box = part->box;
    stepper.Offer(part, (box.xmax - box.xmin) + (box.ymax - box.ymin));
  }
  lastPart_ = stepper.best();
  return stepper.best();
}

} // namespace lumora
