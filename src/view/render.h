// Drawing the elements of the drawing on the screen: one element at a time in a drawing mode
// (normal, highlight, erase, inversion), markers and outlines, the flash of part boxes, and the
// full redraw that repaints the drawing area from the element lists.
#pragma once

#include "model/drawing.h"
#include "text/font.h"
#include "text/text_drawing.h"
#include "view/canvas.h"
#include "view/render_pen.h"
#include "view/view.h"

#include <variant>

namespace lumora {

class Clock;
class ElementStore;

// Makes the hatch cache of a filling that has none; the owner of the element geometry answers.
class HatchSource {
public:
  virtual ~HatchSource() = default;
  virtual void MakeHatch(FillingElement& filling) = 0;
};

// Everything drawing on the screen needs; not owned.
struct RenderScene {
  Canvas& canvas;
  const View& view;
  Drawing& drawing;
  Fonts& fonts;
  double arcAccuracy = 0.04; // millimetres on paper between an arc and its chords
  MeasureStyle measure;
  // Asked for the hatch of a filling drawn normally without one; none leaves it undrawn.
  HatchSource* hatches = nullptr;
  // Finds the elements of a small area without walking the lists; none walks them.
  const ElementStore* store = nullptr;

  // A pen for one figure drawn in the given mode.
  CanvasPen Pen(DrawMode mode = DrawMode::kInvert) const {
    return CanvasPen(canvas, view, drawing.paperUnit, arcAccuracy, mode);
  }
};

void DrawLine(const RenderScene& scene, const LineElement& line, DrawMode mode);
// Draws the cached hatch segments; a filling without them draws nothing.
void DrawFilling(const RenderScene& scene, const FillingElement& filling, DrawMode mode);
void DrawTextElement(const RenderScene& scene, const TextElement& text, DrawMode mode);
// Every member line, filling, text and, nested, part.
void DrawPart(const RenderScene& scene, const PartElement& part, DrawMode mode);

// The closed rectangle through the four corners, with the pen as it is.
void DrawBox(CanvasPen& pen, const Box& box);
// '+', 'O' or 'X' around the point with the inverting pen; other characters draw nothing.
void DrawMarker(const RenderScene& scene, const Point& point, char marker);
void DrawOutline(const RenderScene& scene, const OutlineNode& outline);

// Shows the boxes of the visible parts for one second and takes them away again.
void FlashPartBoxes(const RenderScene& scene, Clock& clock, bool includeNested);

// The drawing area in canvas pixels: the window below the message band.
PixelRect DrawingAreaRect(const View& view);
void ClearDrawingArea(const RenderScene& scene);

// Clears the drawing area and repaints the sheet frame and every visible element that lies in
// the view; with recompute, every element's zone masks are first taken anew against the limits.
void Redraw(const RenderScene& scene, bool recompute);

// Repaints the pixels of the box (drawing units), widened by `margin` pixels, exactly as a full
// redraw would paint them: cleared, the sheet frame, the elements there in list order, then the
// selections, outlines and markers, all clipped to it. What an erase with the background pen
// broke of the elements around it is whole again.
void RedrawArea(const RenderScene& scene, const Box& box, int margin);

// Asked every few thousand elements of a redraw whether a key or a click waits: the redraw stops
// for it and is finished after it has been handled.
class RedrawPoll {
public:
  virtual ~RedrawPoll() = default;
  virtual bool InputWaiting() = 0;
};

// Where a stopped redraw stands: the list it was in and the first element of it not drawn. That
// element is only looked for among the list's members, never followed, so deleting it in the
// meantime is harmless: the list is then drawn from its head.
enum class RedrawStage { kFillings, kLines, kTexts, kFinished };
using RedrawResume =
    std::variant<std::monostate, const FillingElement*, const LineElement*, const TextElement*>;
struct RedrawProgress {
  RedrawStage stage = RedrawStage::kFinished;
  RedrawResume next; // none: the head of the stage's list
  bool Finished() const { return stage == RedrawStage::kFinished; }
};

// Redraw as above, stopping when the poll says input waits. Returns true when finished; false
// when stopped, with progress telling where.
bool Redraw(const RenderScene& scene, bool recompute, RedrawPoll& poll, RedrawProgress& progress);
// Draws what a stopped redraw left, in the same view: the rest of the elements, then the
// selections, outlines and markers. It may stop again; true once the redraw is finished.
bool FinishRedraw(const RenderScene& scene, RedrawPoll& poll, RedrawProgress& progress);

// Whether a part counts as shown: not hidden, and on a visible layer (a part of mixed layers
// when any member is).
bool PartShown(const Drawing& drawing, const PartElement& part);

} // namespace lumora
