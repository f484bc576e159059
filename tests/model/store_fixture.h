// A store on a fresh drawing, with an environment that records what the store asks of the
// screen and an allocator that counts blocks and can be told to fail.
#pragma once

#include "model/element_store.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace lumora::test {

struct DrawCall {
  const void* element;
  int mode;
};

class RecordingEnvironment : public StoreEnvironment {
public:
  void ShowError(const TextPair& message) override { errors.emplace_back(message.en); }
  void DrawLine(const LineElement& line, int mode) override { draws.push_back({&line, mode}); }
  void DrawFilling(FillingElement& filling, int mode) override {
    draws.push_back({&filling, mode});
  }
  void DrawText(const TextElement& text, int mode) override { draws.push_back({&text, mode}); }
  void DrawMarker(const Point& point, char marker) override {
    draws.push_back({nullptr, marker});
    markerDraws.push_back(point);
  }
  void DrawOutline(const OutlineNode& outline) override {
    draws.push_back({nullptr, -outline.count});
  }
  void RedrawAll() override { ++fullRedraws; }
  void RedrawMenuBar() override { ++menuRedraws; }
  double ViewBoxWidth() const override { return viewWidth; }
  void SetViewBoxes(const Box& box) override { viewBoxes.push_back(box); }
  int LoadedFontCount() const override { return fonts; }
  // Texts cover a box of textWidth x textHeight from their first point.
  Box TextExtent(const TextElement& text, bool includePoints) const override {
    Box box = StoreEnvironment::TextExtent(text, includePoints);
    ExtendBox(text.points[0].x + textWidth, text.points[0].y + textHeight, box);
    return box;
  }

  std::vector<std::string> errors;
  std::vector<DrawCall> draws;
  std::vector<Point> markerDraws;
  std::vector<Box> viewBoxes;
  int fullRedraws = 0;
  int menuRedraws = 0;
  double viewWidth = 100.0;
  int fonts = 2;
  double textWidth = 10.0;
  double textHeight = 2.0;
};

class CountingAllocator : public StoreAllocator {
public:
  void* Allocate(std::size_t bytes) override {
    ++calls;
    if (failAt != 0 && calls == failAt) return nullptr;
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
  int failAt = 0; // 1-based number of the allocation that fails; 0 = none
  std::set<void*> live;

private:
  HeapAllocator heap_;
};

// Limits of 160 x 160 make every zone strip 10 units wide.
inline constexpr double kLimit = 160.0;

class StoreTest : public ::testing::Test {
protected:
  StoreTest() { drawing.limits = Box{0.0, 0.0, kLimit, kLimit}; }

  LineElement* Line(std::vector<Point> points, std::uint32_t shape = kShapeOpen,
                    std::uint32_t layer = 0) {
    PropertySet set;
    set.SetShape(shape);
    set.SetLayer(layer);
    return store.AddLine(set, points.data(), static_cast<int>(points.size()));
  }
  TextElement* Text(Point at, const char* string = "A", std::uint32_t layer = 0) {
    PropertySet set;
    set.SetLayer(layer);
    return store.AddText(set, &at, 1, string);
  }
  FillingElement* Filling(std::vector<LineElement*> lines) {
    PropertySet set;
    return store.AddFilling(set, lines.data(), static_cast<int>(lines.size()));
  }
  template <class Element> static int Count(const Element* head) {
    int n = 0;
    for (; head != nullptr; head = head->next) ++n;
    return n;
  }

  Drawing drawing;
  RecordingEnvironment env;
  CountingAllocator allocator;
  ElementStore store{drawing, env, allocator};
};

} // namespace lumora::test
