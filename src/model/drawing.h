// The one drawing in memory: its header, the four element lists, the selection and
// presentation lists and the layer visibility flags.
#pragma once

#include "geometry/primitives.h"
#include "model/elements.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace lumora {

inline constexpr int kDrawingNameSize = 40;
inline constexpr int kLayerCount = 128;
inline constexpr float kNewDrawingVersion = 2.0f;
inline constexpr float kAccurateVersion = 3.0f;

struct Drawing {
  char name[kDrawingNameSize] = {}; // file name without directory; empty for a new drawing
  // Counts every add and delete of an element record; nonzero means unsaved changes.
  std::uint32_t changes = 0;
  float version = kNewDrawingVersion; // decides the precision of the next save
  double scale = 1.0;                 // 1:scale
  double paperUnit = 1.0;             // drawing units per millimetre of paper
  std::uint32_t unitsChosen = 0;      // 1 = paperUnit equals scale
  double step = 1.0;                  // grid step
  Box limits{0.0, 0.0, 0.0, 0.0};     // the drawing area; every zone mask is taken against it

  // Element lists, newest first.
  LineElement* lines = nullptr;
  FillingElement* fillings = nullptr;
  TextElement* texts = nullptr;
  PartElement* parts = nullptr;

  // Presentation lists, newest first.
  LineNode* SelectedLines = nullptr;
  FillingNode* SelectedFillings = nullptr;
  TextNode* SelectedTexts = nullptr;
  MarkerNode* MarkerList = nullptr;
  OutlineNode* OutlineList = nullptr;

  std::array<std::uint32_t, kLayerCount> layerVisible = MakeAllVisible();

  Drawing() = default;
  // The store owns the records; a drawing is never copied.
  Drawing(const Drawing&) = delete;
  Drawing& operator=(const Drawing&) = delete;

  static constexpr std::array<std::uint32_t, kLayerCount> MakeAllVisible() {
    std::array<std::uint32_t, kLayerCount> flags{};
    flags.fill(1);
    return flags;
  }
};

// Sets the drawing's name, cut to what its field holds.
void SetDrawingName(Drawing& drawing, std::string_view name);
std::string_view DrawingName(const Drawing& drawing);
// The name a drawing read from `path` goes by, as the file list shows it: without directory
// and without the ".drw" of the program's own files (a DXF drawing keeps its extension).
std::string_view DrawingNameOfPath(std::string_view path);

} // namespace lumora
