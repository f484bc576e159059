// A store on a fresh drawing, with an environment that records what the store asks of the
// screen and an allocator that counts live blocks and can be told to fail.
#pragma once

#include "model/element_store.h"

#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace lumora::test {

struct DrawCall {
  const void* element; // null for markers and outlines
  int mode;            // the marker character, or minus the outline's point count
};

// The store's environment and painter in one, recording both.
class RecordingEnvironment : public StoreEnvironment, public Painter {
public:
  void ShowError(const TextPair& message) override { errors.emplace_back(message.en); }
  void Draw(const LineElement& e, DrawMode mode) override { Record(&e, mode); }
  void Draw(FillingElement& e, DrawMode mode) override { Record(&e, mode); }
  void Draw(const TextElement& e, DrawMode mode) override { Record(&e, mode); }
  void DrawMarker(const Point&, char marker) override { draws.push_back({nullptr, marker}); }
  void DrawOutline(const OutlineNode& o) override { draws.push_back({nullptr, -o.count}); }
  void RedrawAll() override { ++fullRedraws; }
  void RedrawMenuBar() override { ++menuRedraws; }
  double ViewBoxWidth() const override { return 100.0; }
  void SetViewBoxes(const Box& box) override { viewBoxes.push_back(box); }
  int LoadedFontCount() const override { return 2; }
  // Texts cover 10 x 2 from their first point.
  Box TextExtent(const TextElement& text, bool includePoints) const override {
    Box box = StoreEnvironment::TextExtent(text, includePoints);
    ExtendBox(text.points[0].x + 10, text.points[0].y + 2, box);
    return box;
  }

  // How often the element was drawn in the mode.
  int Count(DrawMode mode, const void* element) const {
    int n = 0;
    for (const DrawCall& c : draws) n += c.element == element && c.mode == int(mode) ? 1 : 0;
    return n;
  }

  std::vector<std::string> errors;
  std::vector<DrawCall> draws;
  std::vector<Box> viewBoxes;
  int fullRedraws = 0;
  int menuRedraws = 0;

private:
  void Record(const void* element, DrawMode mode) {
    draws.push_back({element, static_cast<int>(mode)});
  }
};

class CountingAllocator : public StoreAllocator {
public:
  void* Allocate(std::size_t bytes) override {
    if (++calls == failAt) return nullptr;
    void* block = heap_.Allocate(bytes);
    live.insert(block);
    return block;
  }
  void Free(void* block) override {
    if (block == nullptr) return;
    EXPECT_EQ(live.erase(block), 1u) << "freed a block that was not allocated";
    heap_.Free(block);
  }

  int calls = 0;
  int failAt = 0; // number of the allocation that fails; 0 = none
  std::set<void*> live;

private:
  HeapAllocator heap_;
};

template <class Element> int StoreTestCount(const Element* head) {
  int n = 0;
  for (; head != nullptr; head = head->next) ++n;
  return n;
}

// Limits of 160 x 160 make every zone strip 10 units wide.
inline constexpr double kLimit = 160.0;

class StoreTest : public ::testing::Test {
protected:
  StoreTest() { drawing.limits = Box{0.0, 0.0, kLimit, kLimit}; }
  // Whatever a test leaves, the store's end frees all of it.
  void TearDown() override {
    holder.reset();
    EXPECT_TRUE(allocator.live.empty());
  }

  LineElement* Line(std::vector<Point> points, std::uint32_t shape = kShapeOpen,
                    std::uint32_t layer = 0) {
    PropertySet set;
    set.SetShape(shape);
    set.SetLayer(layer);
    return store.AddLine(set, points.data(), static_cast<int>(points.size()));
  }
  TextElement* Text(Point at) { return store.AddText({}, &at, 1, "A"); }
  FillingElement* Filling(std::vector<LineElement*> lines) {
    return store.AddFilling({}, lines.data(), static_cast<int>(lines.size()));
  }
  PartElement* Part(std::uint32_t type, std::uint32_t layer = 0) {
    return store.AddPart("p", type, layer);
  }
  template <class Element> static int Count(const Element* head) { return StoreTestCount(head); }

  Drawing drawing;
  RecordingEnvironment env;
  CountingAllocator allocator;
  std::optional<ElementStore> holder;
  ElementStore& store = holder.emplace(drawing, env, env, allocator);
};

} // namespace lumora::test
