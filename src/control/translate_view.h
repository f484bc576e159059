// The cursor geometry of the program: the view's pixel mapping and origins, the drawing's grid
// step and sheet.
#pragma once

#include "control/translate.h"

namespace lumora {

struct View;
struct Drawing;

class ViewCursorGeometry final : public CursorGeometry {
public:
  ViewCursorGeometry(View& view, const Drawing& drawing) : view_(view), drawing_(drawing) {}

  Point PixelToDrawing(int x, int y) const override;
  Point GlobalOrigin() const override;
  double GridStep() const override;
  double PixelSize() const override;
  bool InsideSheet(Point point) const override;
  Point ApplyCursorAngle(const InputRecord& in, Point point) const override;
  void SetLocalOrigin(Point point) override;

private:
  View& view_;
  const Drawing& drawing_;
};

} // namespace lumora
