#include "control/app.h"
#include "control/cursor_overlays.h"
#include "control/dispatch.h"
#include "control/event_cycle.h"
#include "control/recovery_startup.h"
#include "screen/messages.h"
#include "screen/prompt_line.h"
#include "screen/text_window.h"
#include "ui/menu_bar.h"
#include "ui/status_line.h"

#include <cstring>

namespace lumora {
namespace {

// Pixels around an erased element's box that its pen may have reached: the widest pen.
constexpr int kRepairMargin = 8;
constexpr std::size_t kRepairAreas = 32;

// The erase order; drawing goes the other way round.
constexpr OverlayBit kEraseOrder[] = {kDragPreview, kCursorLines, kCursorMark, kRubberBand};
constexpr OverlayBit kDrawOrder[] = {kRubberBand, kCursorMark, kCursorLines, kDragPreview};

// Whether the view holds the whole sheet. A zoomed view that merely touches one edge of the
// sheet does not, and keeps its place when the window changes size.
bool ShowsWholeSheet(const View& view, const Box& limits) {
  const Box& v = view.viewBox;
  return v.xmin <= limits.xmin + kGeomTolerance && v.ymin <= limits.ymin + kGeomTolerance &&
         v.xmax >= limits.xmax - kGeomTolerance && v.ymax >= limits.ymax - kGeomTolerance;
}

std::size_t PictureIndex(OverlayBit which) {
  switch (which) {
  case kDragPreview:
    return kOverlayDragPreview;
  case kCursorLines:
    return kOverlayCursorLines;
  case kCursorMark:
    return kOverlayCursorMark;
  default:
    return kOverlayRubberBand;
  }
}

// One overlay drawn with the inverting pen from the picture it keeps.
void DrawOverlay(App& app, OverlayBit which) {
  if (app.canvas == nullptr) return;
  const OverlayPicture& picture = app.overlays.pictures[PictureIndex(which)];
  const OverlayScene scene{*app.canvas, picture.view, app.drawing.paperUnit, app.setup.arcAccuracy};
  switch (which) {
  case kDragPreview:
    return DrawDragPreview(scene, picture.input);
  case kCursorLines:
    return DrawCursorLines(scene, picture.input);
  case kCursorMark:
    return DrawCursorMark(scene, picture.input);
  default:
    return DrawRubberBand(scene, picture.input);
  }
}

class WindowPoll final : public RedrawPoll {
public:
  explicit WindowPoll(WindowServices& window) : window_(window) {}
  bool InputWaiting() override { return window_.InputWaiting(); }

private:
  WindowServices& window_;
};

bool SameBox(const Box& a, const Box& b) {
  return a.xmin == b.xmin && a.ymin == b.ymin && a.xmax == b.xmax && a.ymax == b.ymax;
}

// The view puts every element on the same pixels as when the redraw stopped.
bool SamePlace(const View& a, const View& b) {
  return SameBox(a.viewBox, b.viewBox) && a.windowWidth == b.windowWidth &&
         a.windowHeight == b.windowHeight && a.scaleX == b.scaleX && a.scaleY == b.scaleY &&
         a.offsetX == b.offsetX && a.offsetY == b.offsetY;
}

// Markers and outlines are drawn with the inverting pen when they come and go, and last in a
// redraw: a stopped redraw is finished only when they are as they were, or it would invert them.
std::uint64_t MarksPrint(const Drawing& drawing) {
  constexpr std::uint64_t kPrime = 1099511628211ull;
  std::uint64_t print = 14695981039346656037ull;
  const auto mix = [&](double value) {
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof value);
    std::memcpy(&bits, &value, sizeof bits);
    print = (print ^ bits) * kPrime;
  };
  for (const MarkerNode* m : Each(drawing.MarkerList)) {
    mix(double(m->marker));
    mix(m->point.x);
    mix(m->point.y);
  }
  for (const OutlineNode* o : Each(drawing.OutlineList)) {
    mix(double(o->count));
    for (int k = 0; k < o->count && o->points != nullptr; ++k) {
      mix(o->points[k].x);
      mix(o->points[k].y);
    }
  }
  return print;
}

void RedrawDrawing(App& app) {
  WindowState& w = app.window;
  WindowPoll poll(app.windowServices);
  if (Redraw(app.Scene(), false, poll, w.redraw)) return;
  w.redrawView = app.view;
  w.redrawMarks = MarksPrint(app.drawing);
}

void RepaintMessageBand(App& app) {
  Canvas& canvas = *app.canvas;
  const int w = canvas.Width();
  const int h = canvas.Height();
  canvas.FillRect({0, h - kMessageBandPixels, w, kMessageBandPixels}, WindowFill(app.screen));
  ForgetPromptLine(app.screen);
  RefreshPrompt(app.control);
  RedrawMenuBar(app.control);
  RefreshStatusLine(app.control, true);
}

} // namespace

void EraseOverlays(App& app, unsigned mask) {
  for (const OverlayBit which : kEraseOrder) {
    if ((mask & which) == 0 || (app.overlays.drawn & which) == 0) continue;
    DrawOverlay(app, which);
    app.overlays.drawn &= ~unsigned{which};
  }
}

void DrawOverlays(App& app, unsigned mask) {
  for (const OverlayBit which : kDrawOrder) {
    if ((mask & which) == 0 || (app.overlays.drawn & which) != 0) continue;
    OverlayPicture& picture = app.overlays.pictures[PictureIndex(which)];
    picture.input = app.input;
    picture.view = app.view;
    DrawOverlay(app, which);
    app.overlays.drawn |= which;
  }
}

void RepaintWindow(App& app) {
  if (app.canvas == nullptr) return;
  Canvas& canvas = *app.canvas;
  const int w = canvas.Width();
  const int h = canvas.Height();
  if (app.screen.widthPixels != w || app.screen.heightPixels != h) ResizeGrid(app.screen, w, h);
  FitView(app.view, w, h);
  canvas.SetClip(DrawingAreaRect(app.view));
  RepaintMessageBand(app);
  RedrawDrawing(app);
  app.window.erased.clear(); // drawn whole, or finished whole when the redraw stopped
  app.overlays.drawn = 0;    // the repaint has wiped them
  if (app.control.state.cursorShown) {
    DrawOverlays(app, kAllOverlays);
    app.window.motionPhase = 0;
  }
  RedrawWindows(app.screen);
  RewriteNotice(app.screen);
  app.commandState.windowRedrawCounter = OpenWindowCount(app.screen);
}

void RepairErased(App& app) {
  std::vector<Box>& erased = app.window.erased;
  if (erased.empty() || app.canvas == nullptr) return;
  if (OpenWindowCount(app.screen) > 0 || !app.window.redraw.Finished()) return;
  // Many small areas cost more one by one than their common box at once.
  if (erased.size() > kRepairAreas) {
    Box all = erased.front();
    for (const Box& box : erased) {
      ExtendBox(box.xmin, box.ymin, all);
      ExtendBox(box.xmax, box.ymax, all);
    }
    erased.assign(1, all);
  }
  // Overlays still standing are inverted pixels: off before, on again after.
  const unsigned standing = app.overlays.drawn;
  if (standing != 0) EraseOverlays(app, standing);
  const RenderScene scene = app.Scene();
  for (const Box& box : erased) RedrawArea(scene, box, kRepairMargin);
  erased.clear();
  if (standing != 0) DrawOverlays(app, standing);
  app.canvas->Flush();
}

bool RedrawLeft(const App& app) {
  return !app.window.redraw.Finished() && OpenWindowCount(app.screen) == 0;
}

void FinishStoppedRedraw(App& app) {
  WindowState& w = app.window;
  if (!RedrawLeft(app)) return;
  if (app.canvas == nullptr) {
    w.redraw = {};
    return;
  }
  if (!SamePlace(w.redrawView, app.view) || w.redrawMarks != MarksPrint(app.drawing)) {
    RepaintWindow(app);
    return;
  }
  const unsigned drawn = app.overlays.drawn;
  EraseOverlays(app, kAllOverlays);
  app.canvas->SetClip(DrawingAreaRect(app.view));
  WindowPoll poll(app.windowServices);
  FinishRedraw(app.Scene(), poll, w.redraw);
  DrawOverlays(app, drawn);
  app.canvas->Flush();
}

void DisplayWindow(App& app, int windowWidth, int windowHeight) {
  WindowState& w = app.window;
  const bool sameSize =
      windowWidth == app.view.windowWidth && windowHeight == app.view.windowHeight;
  if (!w.firstDisplay && sameSize) {
    if (w.redrawOff) return;
    RepaintWindow(app);
    RewriteOpenWindows(app.control);
    return;
  }
  // A view of the whole sheet is fitted anew to the new shape; a zoomed view keeps its centre.
  if (ShowsWholeSheet(app.view, app.drawing.limits)) app.view.viewBox = app.drawing.limits;
  RepaintWindow(app);
  RewriteOpenWindows(app.control);
  w.firstDisplay = false;
  // A drawing a dead program left is offered once the window shows what it is asked over.
  if (app.offerRecovery && !app.recoveryStarted) {
    app.recoveryStarted = true;
    StartRecovery(app, app.recoveryJournal.codec());
  }
}

} // namespace lumora
