#include "view/screen_painter.h"

#include "model/element_store.h"
#include "text/text_layout.h"

namespace lumora {

RenderScene ScreenPainter::Scene() const {
  const MeasureStyle measure{setup_.measureLineWidth, setup_.measureLineColour, setup_.measureGap};
  return RenderScene{*canvas_,           view_,   drawing_,  fonts_,
                     setup_.arcAccuracy, measure, &hatches_, &store_};
}

void ScreenPainter::Draw(const LineElement& line, DrawMode mode) {
  if (canvas_ == nullptr) return;
  DrawLine(Scene(), line, mode);
  if (mode == DrawMode::kErase) erased_.push_back(LineBox(line));
}

// The hatch is built at the first normal drawing; a change of the filling or its lines drops it.
void ScreenPainter::Draw(FillingElement& filling, DrawMode mode) {
  if (canvas_ == nullptr) return;
  if (mode == DrawMode::kNormal && filling.hatch == nullptr) hatches_.MakeHatch(filling);
  DrawFilling(Scene(), filling, mode);
  if (mode == DrawMode::kErase) erased_.push_back(FillingBox(filling));
}

void ScreenPainter::Draw(const TextElement& text, DrawMode mode) {
  if (canvas_ == nullptr) return;
  DrawTextElement(Scene(), text, mode);
  if (mode == DrawMode::kErase) {
    erased_.push_back(TextExtent(fonts_, drawing_.paperUnit, text, true));
  }
}

void ScreenPainter::DrawMarker(const Point& point, char marker) {
  if (canvas_ != nullptr) lumora::DrawMarker(Scene(), point, marker);
}

void ScreenPainter::DrawOutline(const OutlineNode& outline) {
  if (canvas_ != nullptr) lumora::DrawOutline(Scene(), outline);
}

} // namespace lumora
