#include "util/clock.h"
#include "view/render.h"

namespace lumora {
namespace {

constexpr double kTenth = 0.1;        // widths are stored in tenths of a millimetre
constexpr double kHairline = -1.0;    // one pixel whatever the zoom
constexpr double kMarkerSize = 0.005; // half a marker, as a share of the view width
constexpr double kOutlineDash = 10.0; // dash period of outlines, millimetres on paper
constexpr double kFlashSeconds = 1.0; // how long part boxes stay up
constexpr int kFlashPasses = 2;       // the first pass shows the boxes, the second removes them
constexpr int kStyleSolid = 1;
constexpr int kStyleDashed = 2;
// Parts nest only as deep as their files did; a deeper chain can only be a loop in damaged data.
constexpr int kMaxPartDepth = 64;

void DrawPartMembers(const RenderScene& scene, const PartElement& part, DrawMode mode, int depth) {
  if (depth > kMaxPartDepth) return;
  for (const LineNode* n : Each(part.lines)) {
    if (n->element != nullptr) DrawLine(scene, *n->element, mode);
  }
  for (const FillingNode* n : Each(part.fillings)) {
    if (n->element != nullptr) DrawFilling(scene, *n->element, mode);
  }
  for (const TextNode* n : Each(part.texts)) {
    if (n->element != nullptr) DrawTextElement(scene, *n->element, mode);
  }
  for (const PartNode* n : Each(part.parts)) {
    if (n->element != nullptr) DrawPartMembers(scene, *n->element, mode, depth + 1);
  }
}

bool AnyMemberVisible(const Drawing& drawing, const PartElement& part, int depth) {
  if (depth > kMaxPartDepth) return false;
  const auto& visible = drawing.layerVisible;
  for (const LineNode* n : Each(part.lines)) {
    if (n->element != nullptr && visible[n->element->layer()] != 0) return true;
  }
  for (const FillingNode* n : Each(part.fillings)) {
    if (n->element != nullptr && visible[n->element->layer()] != 0) return true;
  }
  for (const TextNode* n : Each(part.texts)) {
    if (n->element != nullptr && visible[n->element->layer()] != 0) return true;
  }
  for (const PartNode* n : Each(part.parts)) {
    if (n->element == nullptr) continue;
    const PartElement& member = *n->element;
    if (member.layer() != kMixedLayer ? visible[member.layer()] != 0
                                      : AnyMemberVisible(drawing, member, depth + 1)) {
      return true;
    }
  }
  return false;
}

} // namespace

void DrawLine(const RenderScene& scene, const LineElement& line, DrawMode mode) {
  const int count = line.points != nullptr ? int(line.ps0()) : 0;
  if (count == 0) return;
  CanvasPen pen = scene.Pen(mode);
  pen.SetPen(ColourValue(int(line.colour()), mode), int(line.style()), int(line.section()),
             line.width() * kTenth);
  const Point* p = line.points;
  if (line.shape() == kShapeArc && count >= 3) {
    pen.ArcFigure(p[0], p[1], p[2]);
  } else if (line.shape() == kShapeCircle && count >= 2) {
    pen.CircleFigure(p[0], p[1]);
  } else {
    pen.PolylineFigure(p, count, line.shape() == kShapeClosed);
  }
  pen.EndPath();
}

void DrawFilling(const RenderScene& scene, const FillingElement& filling, DrawMode mode) {
  const HatchCache* hatch = filling.hatch;
  if (hatch == nullptr || hatch->points == nullptr || hatch->count < 2) return;
  CanvasPen pen = scene.Pen(mode);
  pen.SetPen(ColourValue(int(filling.colour()), mode), int(filling.style()), int(filling.ldista()),
             filling.width() * kTenth);
  for (std::uint32_t k = 0; k + 1 < hatch->count; k += 2) {
    pen.MoveTo(hatch->points[k]);
    pen.LineTo(hatch->points[k + 1]);
  }
  pen.EndPath();
}

void DrawTextElement(const RenderScene& scene, const TextElement& text, DrawMode mode) {
  CanvasPen pen = scene.Pen(mode);
  TextScene textScene{scene.fonts, scene.drawing.paperUnit, scene.measure};
  DrawText(textScene, pen, text, mode);
}

void DrawPart(const RenderScene& scene, const PartElement& part, DrawMode mode) {
  DrawPartMembers(scene, part, mode, 0);
}

void DrawBox(CanvasPen& pen, const Box& box) {
  pen.MoveTo({box.xmin, box.ymin});
  pen.LineTo({box.xmax, box.ymin});
  pen.LineTo({box.xmax, box.ymax});
  pen.LineTo({box.xmin, box.ymax});
  pen.LineTo({box.xmin, box.ymin});
  pen.EndPath();
}

void DrawMarker(const RenderScene& scene, const Point& point, char marker) {
  const double h = kMarkerSize * BoxWidth(scene.view.viewBox);
  const double x = point.x;
  const double y = point.y;
  CanvasPen pen = scene.Pen();
  switch (marker) {
  case '+':
    pen.SetPen(kInvertingColour, kStyleSolid, 0, kHairline);
    pen.MoveTo({x - h, y});
    pen.LineTo({x + h, y});
    pen.MoveTo({x, y + h});
    pen.LineTo({x, y - h});
    pen.EndPath();
    break;
  case 'O':
    pen.SetPen(kInvertingColour, kStyleSolid, 0, kHairline);
    DrawBox(pen, Box{x - h, y - h, x + h, y + h});
    break;
  case 'X':
    pen.SetPen(kInvertingColour, kStyleSolid, 0, kHairline);
    pen.MoveTo({x - h, y - h});
    pen.LineTo({x + h, y + h});
    pen.MoveTo({x - h, y + h});
    pen.LineTo({x + h, y - h});
    pen.EndPath();
    break;
  default:
    break;
  }
}

void DrawOutline(const RenderScene& scene, const OutlineNode& outline) {
  if (outline.points == nullptr || outline.count < 1) return;
  CanvasPen pen = scene.Pen();
  pen.SetPen(kInvertingColour, kStyleDashed, int(scene.drawing.paperUnit * kOutlineDash),
             kHairline);
  pen.MoveTo(outline.points[0]);
  for (int k = 1; k < outline.count; ++k) pen.LineTo(outline.points[k]);
  pen.LineTo(outline.points[0]);
  pen.EndPath();
}

bool PartShown(const Drawing& drawing, const PartElement& part) {
  if (part.hidden() != 0) return false;
  if (part.layer() != kMixedLayer) return drawing.layerVisible[part.layer()] != 0;
  return AnyMemberVisible(drawing, part, 0);
}

void FlashPartBoxes(const RenderScene& scene, Clock& clock, bool includeNested) {
  for (int pass = 0; pass < kFlashPasses; ++pass) {
    for (const PartElement* part : Each(scene.drawing.parts)) {
      if (!PartShown(scene.drawing, *part) || (part->nested() != 0 && !includeNested)) continue;
      if (part->box.xmin > part->box.xmax) continue; // a part with nothing in it has no box
      CanvasPen pen = scene.Pen();
      pen.SetPen(kInvertingColour, kStyleDashed, int(scene.drawing.paperUnit * kOutlineDash),
                 kHairline);
      DrawBox(pen, part->box);
    }
    scene.canvas.Flush();
    clock.Wait(kFlashSeconds);
  }
}

} // namespace lumora
