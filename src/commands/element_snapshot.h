// The state a change of elements touches, kept so that taking the change back writes the old
// state back instead of applying an inverse: an inverse turn or scale is not exact (arcs keep
// their shape under unequal scales, a zero scale has none), and a stretch taken back by the
// opposite stretch moves points that were never moved.
//
// A snapshot holds, by record, the packed words, the points, a text's string, and a part's
// location and box (with everything its members and nested parts hold). Restoring writes them
// back, renews zone masks, part boxes and bounded fillings, and redraws what changed.
#pragma once

#include "geometry/point.h"
#include "geometry/primitives.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

class ElementGeometry;
struct Drawing;
struct FillingElement;
struct LineElement;
struct PartElement;
struct TextElement;

// A hatch meets its boundary: erasing it takes pixels of the boundary lines, which are drawn
// again after the filling.
void DrawBoundary(ElementGeometry& geometry, const FillingElement& filling);

class ElementSnapshot {
public:
  void Clear();
  bool Empty() const;

  // Remembers the element as it is now. A part brings its members and nested parts along.
  void Take(const LineElement& line);
  void Take(const FillingElement& filling);
  void Take(const TextElement& text);
  void Take(const PartElement& part);
  // Remembers the location and box of every part holding the element, however deep: a change
  // of a member renews them.
  void TakeHolders(const Drawing& drawing, const void* element);

  // Writes every remembered state back and passes the change on. The records must still be
  // the drawing's; the snapshot is empty afterwards. False when a text's old string could not
  // be given back (memory ran out; the user has been told).
  bool Restore(ElementGeometry& geometry);

private:
  struct LineState {
    LineElement* line = nullptr;
    std::array<std::uint32_t, 3> words{};
    std::vector<Point> points;
  };
  struct FillingState {
    FillingElement* filling = nullptr;
    std::array<std::uint32_t, 5> words{};
  };
  struct TextState {
    TextElement* text = nullptr;
    std::array<std::uint32_t, 4> words{};
    std::vector<Point> points;
    std::string value;
  };
  struct PartState {
    PartElement* part = nullptr;
    std::array<std::uint32_t, 2> words{};
    Point location{0.0, 0.0};
    Box box;
  };

  std::vector<LineState> lines_;
  std::vector<FillingState> fillings_;
  std::vector<TextState> texts_;
  std::vector<PartState> parts_; // outer parts before the parts they hold
};

} // namespace lumora
