#include "model/element_store.h"
#include "text/text_layout.h"
#include "view/render.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace lumora {
namespace {

constexpr int kFrameColour = 2; // blue
constexpr int kFrameStyle = 3;  // dotted
constexpr double kHairline = -1.0;

struct Zones {
  std::uint16_t x = 0;
  std::uint16_t y = 0;
};

Zones ZonesOf(const Box& box, const Box& limits) {
  return {ZoneMask(box.xmin, box.xmax, limits.xmin, limits.xmax),
          ZoneMask(box.ymin, box.ymax, limits.ymin, limits.ymax)};
}

template <class Element> void SetZones(Element& element, const Zones& zones) {
  element.SetZoneX(zones.x);
  element.SetZoneY(zones.y);
}

template <class Element> bool InView(const Element& element, const Zones& view) {
  return ZonesOverlap(std::uint16_t(element.zoneX()), std::uint16_t(element.zoneY()), view.x,
                      view.y) != 0;
}

template <class Element> bool Shown(const Drawing& drawing, const Element& element) {
  return element.hidden() == 0 && drawing.layerVisible[element.layer()] != 0;
}

void RecomputeZones(const RenderScene& scene) {
  Drawing& d = scene.drawing;
  for (FillingElement* f : Each(d.fillings)) SetZones(*f, ZonesOf(FillingBox(*f), d.limits));
  for (LineElement* l : Each(d.lines)) SetZones(*l, ZonesOf(LineBox(*l), d.limits));
  for (TextElement* t : Each(d.texts))
    SetZones(*t, ZonesOf(TextExtent(scene.fonts, d.paperUnit, *t, true), d.limits));
  for (PartElement* p : Each(d.parts)) SetZones(*p, ZonesOf(p->box, d.limits));
}

constexpr int kPollEvery = 4096; // elements drawn or skipped between two questions to the poll

class NeverStop final : public RedrawPoll {
public:
  bool InputWaiting() override { return false; }
};

// Counts the elements and asks the poll now and then.
class Stopper {
public:
  explicit Stopper(RedrawPoll& poll) : poll_(poll) {}
  bool Due() {
    if (++count_ < kPollEvery) return false;
    count_ = 0;
    return poll_.InputWaiting();
  }

private:
  RedrawPoll& poll_;
  int count_ = 0;
};

// Draws one list from where the progress stands; false when stopped, the progress at the first
// element not drawn.
template <class Element, class Draw>
bool DrawList(Element* head, RedrawProgress& progress, Stopper& stop, Draw draw) {
  Element* e = head;
  if (const auto* next = std::get_if<const Element*>(&progress.next)) {
    Element* at = head;
    while (at != nullptr && at != *next) at = at->next;
    if (at != nullptr) e = at;
  }
  for (; e != nullptr; e = e->next) {
    if (stop.Due()) {
      progress.next = static_cast<const Element*>(e);
      return false;
    }
    draw(*e);
  }
  progress.next = std::monostate{};
  progress.stage = RedrawStage(int(progress.stage) + 1);
  return true;
}

// The masks are compared before anything else: most of a large drawing is skipped here.
bool DrawVisibleElements(const RenderScene& scene, const Zones& view, RedrawProgress& progress,
                         Stopper& stop) {
  const Drawing& d = scene.drawing;
  if (progress.stage == RedrawStage::kFillings &&
      !DrawList(d.fillings, progress, stop, [&](FillingElement& f) {
        if (!InView(f, view) || !Shown(d, f)) return;
        if (f.hatch == nullptr && scene.hatches != nullptr) scene.hatches->MakeHatch(f);
        DrawFilling(scene, f, DrawMode::kNormal);
      })) {
    return false;
  }
  if (progress.stage == RedrawStage::kLines &&
      !DrawList(d.lines, progress, stop, [&](const LineElement& l) {
        if (InView(l, view) && Shown(d, l)) DrawLine(scene, l, DrawMode::kNormal);
      })) {
    return false;
  }
  return progress.stage != RedrawStage::kTexts ||
         DrawList(d.texts, progress, stop, [&](const TextElement& t) {
           if (InView(t, view) && Shown(d, t)) DrawTextElement(scene, t, DrawMode::kNormal);
         });
}

void DrawSelections(const RenderScene& scene, const Zones& view) {
  const Drawing& d = scene.drawing;
  for (const LineNode* n : Each(d.SelectedLines)) {
    if (n->element != nullptr && InView(*n->element, view))
      DrawLine(scene, *n->element, DrawMode::kHighlight);
  }
  for (const FillingNode* n : Each(d.SelectedFillings)) {
    if (n->element != nullptr && InView(*n->element, view))
      DrawFilling(scene, *n->element, DrawMode::kHighlight);
  }
  for (const TextNode* n : Each(d.SelectedTexts)) {
    if (n->element != nullptr && InView(*n->element, view))
      DrawTextElement(scene, *n->element, DrawMode::kHighlight);
  }
}

// The candidates of one list inside the area, in list order: from the index when it can
// answer, else by a walk over the list with the zone masks.
template <class Element, class Index, class Draw>
void DrawCandidates(Element* head, const Index* index, const Box& area, const Zones& zones,
                    Draw draw) {
  std::vector<typename Index::Entry> entries;
  if (index != nullptr && index->Collect(area, entries)) {
    // Newest first, the order of the list.
    for (const auto& entry : entries) {
      if (InView(*entry.element, zones)) draw(*entry.element);
    }
    return;
  }
  for (Element* e : Each(head)) {
    if (InView(*e, zones)) draw(*e);
  }
}

// The canvas pixels the box covers, widened by the margin and kept inside the drawing area.
PixelRect PixelsOf(const View& view, const Box& box, int margin) {
  const Point a = DrawingToCanvas(view, {box.xmin, box.ymin});
  const Point b = DrawingToCanvas(view, {box.xmax, box.ymax});
  const PixelRect area = DrawingAreaRect(view);
  const double left = std::max(std::min(a.x, b.x) - margin, double(area.x));
  const double bottom = std::max(std::min(a.y, b.y) - margin, double(area.y));
  const double right = std::min(std::max(a.x, b.x) + margin, double(area.x + area.width));
  const double top = std::min(std::max(a.y, b.y) + margin, double(area.y + area.height));
  if (!(left < right && bottom < top)) return {};
  const int x0 = static_cast<int>(std::floor(left));
  const int y0 = static_cast<int>(std::floor(bottom));
  return {x0, y0, static_cast<int>(std::ceil(right)) - x0, static_cast<int>(std::ceil(top)) - y0};
}

} // namespace

void RedrawArea(const RenderScene& scene, const Box& box, int margin) {
  const PixelRect rect = PixelsOf(scene.view, box, margin);
  if (rect.width <= 0 || rect.height <= 0) return;
  Canvas& canvas = scene.canvas;
  const PixelRect before = canvas.Clip();
  canvas.SetClip(rect);
  canvas.FillRect(rect, BackgroundColour(canvas.GetBackground()));
  const Drawing& d = scene.drawing;
  CanvasPen frame = scene.Pen();
  frame.SetPen(kFrameColour, kFrameStyle, 0, kHairline);
  DrawBox(frame, d.limits);

  // The area in drawing units, a pixel wider on each side, picks the candidates.
  const Point low = CanvasToDrawing(scene.view, {double(rect.x) - 1, double(rect.y) - 1});
  const Point high = CanvasToDrawing(
      scene.view, {double(rect.x + rect.width) + 1, double(rect.y + rect.height) + 1});
  const Box area{std::min(low.x, high.x), std::min(low.y, high.y), std::max(low.x, high.x),
                 std::max(low.y, high.y)};
  const Zones zones = ZonesOf(area, d.limits);
  const ElementStore* store = scene.store;
  DrawCandidates(d.fillings, store != nullptr ? store->FillingIndex() : nullptr, area, zones,
                 [&](FillingElement& f) {
                   if (!Shown(d, f)) return;
                   if (f.hatch == nullptr && scene.hatches != nullptr) scene.hatches->MakeHatch(f);
                   DrawFilling(scene, f, DrawMode::kNormal);
                 });
  DrawCandidates(d.lines, store != nullptr ? store->LineIndex() : nullptr, area, zones,
                 [&](const LineElement& l) {
                   if (Shown(d, l)) DrawLine(scene, l, DrawMode::kNormal);
                 });
  DrawCandidates(d.texts, store != nullptr ? store->TextIndex() : nullptr, area, zones,
                 [&](const TextElement& t) {
                   if (Shown(d, t)) DrawTextElement(scene, t, DrawMode::kNormal);
                 });
  DrawSelections(scene, zones);
  for (const OutlineNode* o : Each(d.OutlineList)) DrawOutline(scene, *o);
  for (const MarkerNode* m : Each(d.MarkerList)) DrawMarker(scene, m->point, m->marker);
  canvas.SetClip(before);
}

PixelRect DrawingAreaRect(const View& view) {
  return {0, 0, DrawingAreaWidth(view), DrawingAreaHeight(view)};
}

void ClearDrawingArea(const RenderScene& scene) {
  scene.canvas.FillRect(DrawingAreaRect(scene.view),
                        BackgroundColour(scene.canvas.GetBackground()));
}

void Redraw(const RenderScene& scene, bool recompute) {
  NeverStop never;
  RedrawProgress progress;
  Redraw(scene, recompute, never, progress);
}

bool Redraw(const RenderScene& scene, bool recompute, RedrawPoll& poll, RedrawProgress& progress) {
  ClearDrawingArea(scene);
  const Drawing& d = scene.drawing;
  CanvasPen frame = scene.Pen();
  frame.SetPen(kFrameColour, kFrameStyle, 0, kHairline);
  DrawBox(frame, d.limits);

  if (recompute) RecomputeZones(scene);
  progress = {RedrawStage::kFillings, {}};
  return FinishRedraw(scene, poll, progress);
}

bool FinishRedraw(const RenderScene& scene, RedrawPoll& poll, RedrawProgress& progress) {
  if (progress.Finished()) return true;
  const Drawing& d = scene.drawing;
  const Zones view = ZonesOf(scene.view.viewBox, d.limits);
  Stopper stop(poll);
  if (!DrawVisibleElements(scene, view, progress, stop)) {
    scene.canvas.Flush(); // what is drawn so far shows while the input is handled
    return false;
  }
  DrawSelections(scene, view);
  for (const OutlineNode* o : Each(d.OutlineList)) DrawOutline(scene, *o);
  for (const MarkerNode* m : Each(d.MarkerList)) DrawMarker(scene, m->point, m->marker);
  scene.canvas.Flush();
  return true;
}

} // namespace lumora
