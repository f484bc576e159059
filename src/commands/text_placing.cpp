#include "commands/text_placing.h"

#include "element_geometry/element_geometry.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "properties/current_properties.h"
#include "text/font.h"
#include "text/stroke_text.h"
#include "text/text_layout.h"

#include <algorithm>
#include <array>

namespace lumora {
namespace {

constexpr std::string_view kEllipsis = "...";
constexpr int kOutlinePoints = 5; // the four corners and back to the first

} // namespace

std::string Shortened(std::string_view text, std::size_t limit) {
  if (text.size() < limit || limit < kEllipsis.size() + 1) return std::string(text);
  return std::string(text.substr(0, limit - kEllipsis.size() - 1)) + std::string(kEllipsis);
}

void TakeTextAttributes(Control& control) {
  control.In().attributes = control.properties.text;
}

void CarryTextOutline(Control& control, std::string_view text) {
  const PropertySet& set = control.properties.text;
  const double paperUnit = control.drawing.paperUnit;
  const TextBoxOffsets o =
      TextBox(control.fonts, DisplayString(text), int(set.height()), int(set.widthRatio()),
              int(set.positioning()), int(set.font()), paperUnit);
  const TextMetrics m =
      MetricsOf(int(set.height()), int(set.widthRatio()), int(set.slant()), paperUnit);
  // Slanted letters lean right: so does the top of their box.
  const double lean = m.s * (o.dy1 - o.dy0);
  const std::array<Point, kOutlinePoints> corners{Point{o.dx0, o.dy0}, Point{o.dx1, o.dy0},
                                                  Point{o.dx1 + lean, o.dy1},
                                                  Point{o.dx0 + lean, o.dy1}, Point{o.dx0, o.dy0}};
  const Transform turn = RotationTo(0.0, 0.0, set.angle);
  InputRecord& in = control.In();
  for (std::size_t i = 0; i < corners.size(); ++i) {
    in.points[i] = Apply(turn, corners[i].x, corners[i].y);
  }
  in.pointCount = kOutlinePoints;
  in.previewKind = kPreviewShape;
}

void DropPreview(Control& control) {
  control.In().pointCount = 0;
  control.In().previewKind = kPreviewElement;
}

void RubberLineFrom(Control& control, const Point& from) {
  InputRecord& in = control.In();
  in.points[0] = from;
  in.pointCount = 1;
  in.previewKind = kPreviewElement;
  // A line, whatever shape the attributes last carried.
  in.attributes.SetShape(kShapeOpen);
}

TextElement* PlaceText(Control& control, std::span<const Point> points, std::string_view text) {
  TextElement* made = control.store.AddText(control.properties.text, points.data(),
                                            static_cast<int>(points.size()), text);
  if (made != nullptr) control.store.painter().Draw(*made, DrawMode::kNormal);
  return made;
}

bool InDrawing(const Control& control, const TextElement* text) {
  if (text == nullptr) return false;
  for (const TextElement* t : Each(control.drawing.texts)) {
    if (t == text) return true;
  }
  return false;
}

bool TakeBackText(Control& control, TextElement*& text, std::string& string, Point* points,
                  int count) {
  // A text deleted meanwhile (a drawing read in its place) is not touched.
  if (!InDrawing(control, text)) {
    text = nullptr;
    return false;
  }
  string = std::string(TextOf(*text));
  const int held = std::min(count, static_cast<int>(text->pointCount()));
  for (int i = 0; i < held; ++i) points[i] = text->points[i];
  control.store.painter().Draw(*text, DrawMode::kErase);
  control.store.DeleteText(text);
  text = nullptr;
  return true;
}

void MarkPoint(Control& control, const Point& point) {
  control.store.AddMarker(point, '+');
}

void UnmarkPoint(Control& control, const Point& point) {
  control.store.RemoveMarker(point);
}

void UnmarkAll(Control& control) {
  while (const MarkerNode* marker = control.drawing.MarkerList) {
    const Point point = marker->point;
    if (control.store.RemoveMarker(point) == 0) break;
  }
}

} // namespace lumora
