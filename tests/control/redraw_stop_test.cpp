// A whole redraw stopped by a waiting key: the key is handled first, the redraw is finished
// afterwards, and the window ends as an uninterrupted redraw leaves it.
#include "control/headless_app.h"
#include "control/startup_headless.h"
#include "model/property_set.h"
#include "screen/text_window.h"
#include "support/shipped_home.h"
#include "util/codes.h"

#include <gtest/gtest.h>
#include <random>

namespace lumora {
namespace {

const std::string kShippedHome = testing::ShippedHomeCopy();
constexpr int kElements = 20000; // several polls' worth

struct Window {
  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas{1, 1};

  // The same drawing every time: lines and circles of several colours well inside the sheet.
  Window() {
    std::string problem;
    EXPECT_TRUE(StartHeadless(app, {kShippedHome, "Perus_SET", 640, 512}, canvas, problem))
        << problem;
    const Box& s = app.drawing.limits;
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(s.xmin + 20, s.xmax - 40);
    std::uniform_real_distribution<double> y(s.ymin + 20, s.ymax - 40);
    for (int k = 0; k < kElements; ++k) {
      PropertySet set;
      set.SetColour(std::uint32_t(1 + k % 7));
      set.SetStyle(1);
      const Point p{x(random), y(random)};
      if (k % 3 == 0) {
        set.SetShape(kShapeCircle);
        const Point pts[] = {p, {p.x + 4, p.y}};
        app.store.AddLine(set, pts, 2);
      } else {
        set.SetShape(kShapeOpen);
        const Point pts[] = {p, {p.x + 15, p.y + 7 * (k % 3)}};
        app.store.AddLine(set, pts, 2);
      }
    }
  }

  // The stop comes at the given look into the queue (0: the first).
  void StopAt(int poll) { headless.window.inputAfterPolls = poll; }
  bool Stopped() const { return !app.window.redraw.Finished(); }
  void Right() { HandleInput(app, {KeyInput{true, kKeyRight, {}}, {320, 256}}); }
};

int Differing(const SoftCanvas& a, const SoftCanvas& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  int differing = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) differing += a.Pixel(x, y) == b.Pixel(x, y) ? 0 : 1;
  return differing;
}

TEST(RedrawStop, KeyIsHandledFirstAndTheRedrawFinishesAsIfUninterrupted) {
  Window plain;
  RepaintWindow(plain.app);
  plain.Right();

  // Stopped once, and stopped again while being finished: it goes on from where it stood.
  for (int again : {-1, 0}) {
    Window w;
    w.StopAt(2);
    RepaintWindow(w.app);
    ASSERT_TRUE(w.Stopped());
    EXPECT_NE(Differing(w.canvas, plain.canvas), 0);
    const Point before = w.app.input.cursor;
    w.Right();
    EXPECT_NE(w.app.input.cursor.x, before.x) << "the key waited for the redraw";
    ASSERT_TRUE(RedrawLeft(w.app));
    w.StopAt(again);
    FinishStoppedRedraw(w.app);
    if (again >= 0) {
      ASSERT_TRUE(w.Stopped());
      FinishStoppedRedraw(w.app);
    }
    EXPECT_FALSE(w.Stopped());
    EXPECT_EQ(Differing(w.canvas, plain.canvas), 0);
  }
}

// The element the redraw stopped at may be deleted meanwhile: its list is drawn from the head,
// so the window still ends with every element left.
TEST(RedrawStop, ElementDeletedAtTheStopLeavesNoGap) {
  Window w;
  w.StopAt(1);
  RepaintWindow(w.app);
  ASSERT_TRUE(w.Stopped());
  ASSERT_EQ(w.app.window.redraw.stage, RedrawStage::kLines);
  LineElement* at = w.app.drawing.lines;
  int index = 0;
  const auto* stopped = std::get_if<const LineElement*>(&w.app.window.redraw.next);
  ASSERT_NE(stopped, nullptr);
  while (at != nullptr && at != *stopped) at = at->next, ++index;
  ASSERT_NE(at, nullptr);
  w.app.store.DeleteLine(at);
  FinishStoppedRedraw(w.app);
  EXPECT_FALSE(w.Stopped());

  Window fresh;
  LineElement* same = fresh.app.drawing.lines;
  for (int k = 0; k < index; ++k) same = same->next;
  fresh.app.store.DeleteLine(same);
  RepaintWindow(fresh.app);
  EXPECT_EQ(Differing(w.canvas, fresh.canvas), 0);
}

// A marker comes and goes with the inverting pen and a redraw draws it last: one added while a
// redraw stood stopped must not be inverted away by the finishing.
TEST(RedrawStop, MarkerAddedMeanwhileStaysShown) {
  Window plain;
  RepaintWindow(plain.app);
  plain.app.store.AddMarker({100, 100}, 'X');

  Window w;
  w.StopAt(0);
  RepaintWindow(w.app);
  ASSERT_TRUE(w.Stopped());
  w.app.store.AddMarker({100, 100}, 'X');
  FinishStoppedRedraw(w.app);
  EXPECT_FALSE(w.Stopped());
  EXPECT_EQ(Differing(w.canvas, plain.canvas), 0);
}

// A text window keeps the pixels beneath it as they were when it opened: the redraw waits until
// it is closed again, then finishes over what it gives back.
TEST(RedrawStop, WaitsForOpenTextWindows) {
  Window plain;
  RepaintWindow(plain.app);

  Window w;
  w.StopAt(0);
  RepaintWindow(w.app);
  ASSERT_TRUE(OpenWindow(w.app.screen, 5, 5, 3, 20));
  EXPECT_FALSE(RedrawLeft(w.app));
  FinishStoppedRedraw(w.app);
  EXPECT_TRUE(w.Stopped());
  CloseWindow(w.app.screen);
  ASSERT_TRUE(RedrawLeft(w.app));
  FinishStoppedRedraw(w.app);
  EXPECT_FALSE(w.Stopped());
  EXPECT_EQ(Differing(w.canvas, plain.canvas), 0);
}

} // namespace
} // namespace lumora
