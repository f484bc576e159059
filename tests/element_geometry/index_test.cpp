// The spatial index must give exactly what walking the lists gives: two identical drawings, one
// searched through the index and one by the plain walk, go through the same random adds,
// deletes, moves and stretches, and every search and repeated pick must agree. The drawings
// are built element by element, or read from a file, which lays the index out in one pass.
#include "files/drawing_format.h"
#include "files/drawing_reader.h"
#include "files/drawing_writer.h"
#include "files/headless_environment.h"
#include "geometry_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <unistd.h>

namespace lumora::test {
namespace {

struct World {
  explicit World(bool indexed) {
    drawing.limits = Box{0.0, 0.0, kLimit, kLimit};
    store.UseIndex(indexed);
  }
  Drawing drawing;
  RecordingEnvironment env;
  ElementStore store{drawing, env, env};
  ElementGeometry geo{store, env, MakeGeometrySettings(kSheetViewWidth, kLimit, 0.04, false)};
};

// Where an element sits in its list, -1 for none: the two drawings hold different records.
template <class Element> int Position(const Element* head, const Element* element) {
  if (element == nullptr) return -1;
  int i = 0;
  for (; head != nullptr && head != element; head = head->next) ++i;
  return head == nullptr ? -2 : i;
}

template <class Element> Element* At(Element* head, std::size_t i) {
  while (i-- > 0 && head != nullptr) head = head->next;
  return head;
}

// An indexed drawing and its twin searched by walking, edited alike.
struct Twins {
  World a{true};
  World b{false};
  std::mt19937 random{17};
  std::uniform_real_distribution<double> coord{-20, kLimit + 20};
  std::uniform_real_distribution<double> size{0.2, 12};
  std::uniform_int_distribution<int> pick{0, 1 << 20};

  // Both drawings get the same element; now and then a copy of an existing line, so that
  // repeated picks have ties to step through.
  void AddLines(int count) {
    const std::size_t lines = static_cast<std::size_t>(StoreTestCount(a.drawing.lines));
    for (int n = 0; n < count; ++n) {
      const Point p{coord(random), coord(random)};
      const double s = size(random);
      const auto shape = static_cast<std::uint32_t>(1 + pick(random) % 4);
      std::vector<Point> pts{p, {p.x + s, p.y + s / 3}, {p.x + s / 2, p.y - s}};
      if (shape == kShapeArc) pts = {p, {p.x + s, p.y}, {p.x, p.y + s}};
      if (shape == kShapeCircle) pts = {p, {p.x + s, p.y}};
      if (pick(random) % 64 == 0) pts = {p, {kLimit - p.x, kLimit - p.y}}; // across the sheet
      const LineElement* copy =
          lines > 0 && pick(random) % 8 == 0 ? At(a.drawing.lines, pick(random) % lines) : nullptr;
      const bool text = pick(random) % 6 == 0;
      for (World* w : {&a, &b}) {
        PropertySet set;
        set.SetShape(copy != nullptr ? copy->shape() : shape);
        if (copy != nullptr)
          w->store.AddLine(set, copy->points, static_cast<int>(copy->ps0()));
        else
          w->store.AddLine(set, pts.data(), static_cast<int>(pts.size()));
        if (text) {
          const Point at{p.x + 1, p.y + 1};
          w->store.AddText({}, &at, 1, "A");
        }
      }
    }
  }

  void AddFillings() {
    for (World* w : {&a, &b}) {
      for (int i = 0; i < 40; ++i) {
        LineElement* line = At(w->drawing.lines, static_cast<std::size_t>(i * 97));
        if (line->shape() == kShapeClosed) w->store.AddFilling({}, &line, 1);
      }
    }
  }

  // Both drawings replaced by what the file holds.
  void Read(const std::string& file) {
    HeadlessFileEnvironment env;
    for (World* w : {&a, &b}) {
      DrawingFileState state;
      ASSERT_EQ(ReadDrawingFile(w->store, env, state, file, nullptr, {}, false), 1);
    }
  }

  void Edit(int round) {
    const std::size_t lines = static_cast<std::size_t>(StoreTestCount(a.drawing.lines));
    const std::size_t texts = static_cast<std::size_t>(StoreTestCount(a.drawing.texts));
    const std::size_t fillings = static_cast<std::size_t>(StoreTestCount(a.drawing.fillings));
    const std::size_t which = static_cast<std::size_t>(pick(random));
    const Point to{coord(random), coord(random)};
    const double dx = size(random) - 6;
    const std::vector<Point> area{{to.x - 30, to.y - 30},
                                  {to.x + 30, to.y - 30},
                                  {to.x + 30, to.y + 30},
                                  {to.x - 30, to.y + 30}};
    const int edit = round % 8;
    for (World* w : {&a, &b}) {
      LineElement* line = At(w->drawing.lines, which % lines);
      if (edit == 0) {
        w->store.DeleteLine(line);
      } else if (edit == 1 && line->ps0() > 1) {
        w->geo.MoveVertex(*line, 1, to);
      } else if (edit == 2) {
        w->geo.TransformLine(*line, area, Transform{}, {dx, -dx}, 1, 1);
      } else if (edit == 3 && texts > 0) {
        TextElement* text = At(w->drawing.texts, which % texts);
        if (which % 2 == 0) w->geo.TransformText(*text, area, Transform{}, {dx, dx}, 1, 1, 0);
        if (which % 2 == 1) w->store.DeleteText(text);
      } else if (edit == 4 && fillings > 0 && which % 3 == 0) {
        FillingElement* filling = At(w->drawing.fillings, which % fillings);
        w->store.DeleteFilling(filling);
      } else if (edit == 5 && round % 40 == 5) {
        w->drawing.limits = Box{-10.0, 0.0, kLimit + dx, kLimit};
        w->store.RecomputeZones();
        // Deleted and added before the grid is laid out over the new limits.
        w->store.DeleteLine(line);
        const Point pts[] = {to, {to.x + dx, to.y + 1}};
        w->store.AddLine({}, pts, 2);
      } else if (edit == 7) {
        // A move taken back: the line goes far away and returns to its place.
        w->geo.TransformLine(*line, {}, Transform{1, 0, 5 * kLimit, 0, 1, dx}, {}, 1, 1);
        w->geo.TransformLine(*line, {}, Transform{1, 0, -5 * kLimit, 0, 1, -dx}, {}, 1, 1);
      }
    }
    if (edit == 6) AddLines(3);
  }

  void Compare(int round) {
    const std::size_t lines = static_cast<std::size_t>(StoreTestCount(a.drawing.lines));
    const std::size_t which = static_cast<std::size_t>(pick(random));
    // The same point three times: repeated picks step through equally near elements.
    const Point p{coord(random), coord(random)};
    const double k = static_cast<double>(round % 4 == 0 ? 0 : round % 7);
    const bool direction = round % 5 == 0;
    for (int repeat = 0; repeat < 3; ++repeat) {
      Point na{};
      Point nb{};
      EXPECT_EQ(Position(a.drawing.lines, a.geo.NearestLine(p, na, k, direction, 30)),
                Position(b.drawing.lines, b.geo.NearestLine(p, nb, k, direction, 30)));
      EXPECT_TRUE(na.x == nb.x && na.y == nb.y);
      EXPECT_EQ(Position(a.drawing.lines, a.geo.NearestLinePoint(p, na, k)),
                Position(b.drawing.lines, b.geo.NearestLinePoint(p, nb, k)));
      EXPECT_TRUE(na.x == nb.x && na.y == nb.y);
      const Picked pa = a.geo.PickElement(p, k, repeat == 1);
      const Picked pb = b.geo.PickElement(p, k, repeat == 1);
      EXPECT_EQ(pa.index(), pb.index());
      EXPECT_EQ(Position(a.drawing.texts, PickedAs<TextElement>(pa)),
                Position(b.drawing.texts, PickedAs<TextElement>(pb)));
      EXPECT_EQ(Position(a.drawing.fillings, PickedAs<FillingElement>(pa)),
                Position(b.drawing.fillings, PickedAs<FillingElement>(pb)));
      EXPECT_EQ(Position(a.drawing.lines, PickedAs<LineElement>(pa)),
                Position(b.drawing.lines, PickedAs<LineElement>(pb)));
    }
    if (lines > 0) {
      const LineElement* end = At(a.drawing.lines, which % lines);
      const Point at = end->points[end->ps0() - 1];
      Point oa{};
      Point ob{};
      EXPECT_EQ(Position(a.drawing.lines, a.geo.LineEndingAt(nullptr, at, oa, 0.01)),
                Position(b.drawing.lines, b.geo.LineEndingAt(nullptr, at, ob, 0.01)));
    }
  }

  void EditAndCompare(int rounds) {
    for (int round = 0; round < rounds; ++round) {
      SCOPED_TRACE(testing::Message() << "round " << round);
      Edit(round);
      Compare(round);
    }
  }
};

TEST(SpatialIndexTest, IndexedSearchesMatchTheListWalkThroughEdits) {
  Twins twins;
  twins.AddLines(4500); // enough for the grid to grow
  twins.AddFillings();
  twins.EditAndCompare(240);
}

TEST(SpatialIndexTest, AnIndexLaidOutWhileReadingMatchesTheWalkThroughEdits) {
  const std::string file = (std::filesystem::temp_directory_path() /
                            ("lumora-index-" + std::to_string(::getpid()) + ".drw"))
                               .string();
  Twins twins;
  twins.AddLines(4500);
  twins.AddFillings();
  twins.a.drawing.version = kWideVersion;
  HeadlessFileEnvironment env;
  ASSERT_EQ(WriteDrawingFile(twins.a.drawing, env, file, nullptr, {0, 0}, twins.a.drawing.limits),
            1);
  // Searched before and after a second read over the first, then edited.
  twins.Read(file);
  twins.Compare(1);
  twins.Read(file);
  std::filesystem::remove(file);
  ASSERT_EQ(StoreTestCount(twins.a.drawing.lines), StoreTestCount(twins.b.drawing.lines));
  ASSERT_GT(StoreTestCount(twins.a.drawing.fillings), 0);
  twins.EditAndCompare(240);
}

} // namespace
} // namespace lumora::test
