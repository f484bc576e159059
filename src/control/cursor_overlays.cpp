#include "control/cursor_overlays.h"

#include "model/elements.h"
#include "view/render_pen.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr int kSolid = 1;
constexpr double kHairline = -1.0; // one pixel whatever the zoom
constexpr double kTenth = 0.1;     // widths are stored in tenths of a millimetre

CanvasPen InvertingPen(const OverlayScene& scene) {
  return CanvasPen(scene.canvas, scene.view, scene.paperUnit, scene.arcAccuracy, DrawMode::kInvert);
}

double ViewWidth(const View& view) {
  return BoxWidth(view.viewBox);
}

int PointCount(const InputRecord& in) {
  return std::clamp(in.pointCount, 0, kMaxRubberBandPoints);
}

bool Round(const InputRecord& in) {
  const std::uint32_t shape = in.attributes.shape();
  return shape == kShapeArc || shape == kShapeCircle;
}

bool Closed(const InputRecord& in) {
  return in.attributes.shape() == kShapeClosed;
}

void ElementPen(CanvasPen& pen, const InputRecord& in) {
  pen.SetPen(kInvertingColour, std::max(1, int(in.attributes.style())), 0,
             in.attributes.width() * kTenth);
}

void Cross(CanvasPen& pen, const Point& c, double h) {
  pen.MoveTo({c.x - h, c.y});
  pen.LineTo({c.x + h, c.y});
  pen.MoveTo({c.x, c.y - h});
  pen.LineTo({c.x, c.y + h});
}

Point Plus(const Point& a, const Point& b) {
  return {a.x + b.x, a.y + b.y};
}

// The element in the making as it would be with the cursor as its next point.
void ElementToCursor(CanvasPen& pen, const InputRecord& in) {
  const int count = PointCount(in);
  const Point* p = in.points.data();
  const Point& c = in.cursor;
  if (Round(in)) {
    if (count == 1) {
      pen.DrawCircle(p[0], c);
    } else {
      pen.DrawArc(p[0], p[1], c);
    }
    return;
  }
  if (Closed(in) && count == 1) {
    pen.MoveTo(p[0]);
    pen.LineTo({c.x, p[0].y});
    pen.LineTo(c);
    pen.LineTo({p[0].x, c.y});
    pen.LineTo(p[0]);
    return;
  }
  pen.MoveTo(p[count - 1]);
  pen.LineTo(c);
  if (Closed(in)) pen.LineTo(p[0]);
}

} // namespace

double CursorMarkHalfSize(const View& view) {
  return kCursorMarkShare * ViewWidth(view);
}

void DrawCursorMark(const OverlayScene& scene, const InputRecord& in) {
  CanvasPen pen = InvertingPen(scene);
  const double h = CursorMarkHalfSize(scene.view);
  pen.SetPen(kInvertingColour, kSolid, 0, kHairline);
  Cross(pen, in.cursor, h);
  if (in.snapMode != kSnapNone) {
    pen.DrawCircle(in.cursor, {in.cursor.x + kSnapCircleShare * h, in.cursor.y});
  }
  pen.EndPath();
}

void DrawCursorLines(const OverlayScene& scene, const InputRecord& in) {
  if (in.cursorLinesOff != 0) return;
  CanvasPen pen = InvertingPen(scene);
  const Box& v = scene.view.viewBox;
  pen.SetPen(kInvertingColour, kSolid, 0, kHairline);
  pen.MoveTo({v.xmin, in.cursor.y});
  pen.LineTo({v.xmax, in.cursor.y});
  pen.MoveTo({in.cursor.x, v.ymin});
  pen.LineTo({in.cursor.x, v.ymax});
  pen.EndPath();
}

void DrawRubberBand(const OverlayScene& scene, const InputRecord& in) {
  const int count = PointCount(in);
  if (in.previewKind != kPreviewElement || count == 0) return;
  CanvasPen pen = InvertingPen(scene);
  ElementPen(pen, in);
  if (Round(in)) {
    Cross(pen, in.points[0], kCentreMarkShare * ViewWidth(scene.view));
  } else {
    pen.MoveTo(in.points[0]);
    for (int k = 1; k < count; ++k) pen.LineTo(in.points[static_cast<std::size_t>(k)]);
  }
  pen.EndPath();
}

void DrawDragPreview(const OverlayScene& scene, const InputRecord& in) {
  const int count = PointCount(in);
  if (in.previewKind == kPreviewNone || count == 0) return;
  CanvasPen pen = InvertingPen(scene);
  ElementPen(pen, in);
  if (in.previewKind == kPreviewElement) {
    ElementToCursor(pen, in);
  } else {
    pen.MoveTo(Plus(in.cursor, in.points[0]));
    for (int k = 1; k < count; ++k)
      pen.LineTo(Plus(in.cursor, in.points[static_cast<std::size_t>(k)]));
    if (Closed(in)) pen.LineTo(Plus(in.cursor, in.points[0]));
  }
  pen.EndPath();
}

} // namespace lumora
