// What a DXF file holds once the library has read it, in the program's own terms: straight
// polylines, arcs and circles, texts, hatched areas and block inserts, grouped by block, all in
// world coordinates of the file's units. The adapter fills it completely before anything
// touches the drawing, so a file that fails half way leaves the drawing as it was.
#pragma once

#include "geometry/point.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

struct DxfCurve;

// Orders names as DXF compares them: letters of either case are the same letter.
struct DxfNameLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t k = 0; k < n; ++k) {
      const int x = Folded(a[k]);
      const int y = Folded(b[k]);
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }
  static int Folded(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'a' && u <= 'z' ? u - ('a' - 'A') : u;
  }
};

// The pattern family of a line type: the program draws these four; a "by block" line takes the
// line type of the insert that places it.
enum class LineFamily : std::uint8_t { kSolid, kDashed, kDotted, kDashDot, kByBlock };

// A resolved line type: its family and the length of one period of its pattern in the file's
// units (0 for solid lines).
struct SceneLinetype {
  LineFamily family = LineFamily::kSolid;
  double period = 0;
  bool drawsMarks = false; // its pattern's texts or shapes, which are left out
};

// The exact properties of an element this program wrote, carried beside what the entity's
// attributes map to (which loses widths, sections and the layer of a part's members).
struct OwnProperties {
  bool present = false;
  std::uint32_t layer = 0;
  std::uint32_t colour = 0;
  std::uint32_t width = 0;
  std::uint32_t style = 0;
  std::uint32_t section = 0;
};

// The attributes an entity brings, already mapped: layer name (numbered later), colour, width
// and line type.
struct SceneAttributes {
  std::string layer = "0";
  int colour = 1;
  int width = 0;
  SceneLinetype linetype;
  // A block member on layer 0 takes the layer of the insert that places it, and what it draws
  // "by layer" then follows that layer: these say which of its attributes came from the layer.
  bool colourByLayer = false;
  bool widthByLayer = false;
  bool linetypeByLayer = false;
  double linetypeScale = 1.0; // the entity's own scale of its line type's period
  OwnProperties own;
};

// What a layer gives the entities drawn "by layer" on it.
struct SceneLayer {
  int colour = 1;
  int width = 0;
  SceneLinetype linetype;
};

// How many entities of a kind were passed over or approximated: a block placed a million times
// repeats its own counts a million times.
using KindCounts = std::map<std::string, std::int64_t>;

// Coordinates as far out as this are taken for damage: read or placed, every point of the
// drawing stays within it, where boxes and zones keep their precision.
inline constexpr double kLargestDxfCoordinate = 1e11;

struct SceneLine {
  std::uint32_t shape = 1; // the line shapes of the records: open, closed, arc, circle
  std::vector<Point> points;
  SceneAttributes attr;
  // Drawn parts of a measure the program writes itself: skipped, the measure draws them.
  bool measureGraphics = false;
  // The number the program gave the line in its own file, which its fillings refer to.
  int ownId = -1;
  // The curve a block's line was cut from, cut again where the block is placed larger.
  std::shared_ptr<const DxfCurve> curve;
};

struct SceneText {
  std::vector<Point> points; // the place first, then measure points
  double height = 0;         // drawing units
  double angle = 0;          // degrees
  int positioning = 1;       // the program's positioning way 1..9
  int widthRatio = 3;        // the record code: width / height = code x 0.1 + 0.4
  int slant = 0;             // the record code: slant / height = code x 0.2
  std::string text;          // Latin-1
  SceneAttributes attr;
  // The record words of a text this program wrote, restored exactly when present.
  bool ownRecord = false;
  std::uint32_t word0 = 0;
  std::uint32_t word1 = 0;
};

struct SceneFilling {
  std::vector<SceneLine> boundary;
  double gap = 0;   // drawing units; 0 = take the smallest gap of the setup
  double angle = 0; // degrees
  bool solid = false;
  SceneLinetype pattern; // dashed hatch lines: their family and period (the boundary is solid)
  SceneAttributes attr;
  // The program's own fillings name their boundary lines by number (`SceneLine::ownId`).
  std::vector<int> ownBoundary;
};

struct SceneInsert {
  std::string block;
  std::string name; // the part's own name when the program wrote it, else the block's
  Point at{0, 0};
  double sx = 1;
  double sy = 1;
  double angle = 0;
  // A grid of placements (MINSERT): one step per column and per row, in world coordinates
  // (along the insert's turned and possibly mirrored axes).
  int cols = 1;
  int rows = 1;
  Point colStep{0, 0};
  Point rowStep{0, 0};
  SceneAttributes attr;
  // A dimension's block: its geometry joins the drawing as lines and texts, not as a part.
  bool explode = false;
  // The part's type when the program wrote it (its location is the insert's point), else -1.
  int partType = -1;
};

struct SceneBlock {
  Point base{0, 0};
  std::vector<SceneLine> lines;
  std::vector<SceneText> texts;
  std::vector<SceneFilling> fillings;
  std::vector<SceneInsert> inserts;
  // What the block's entities lost, reported for every placement of the block: a block that
  // is never placed loses nothing that shows.
  KindCounts notRead;      // entity kind -> how many were passed over
  KindCounts approximated; // what was read as something near it -> how many
};

struct DxfScene {
  SceneBlock model;
  std::map<std::string, SceneBlock> blocks;
  int insUnits = -1;   // $INSUNITS, -1 when absent
  double dimScale = 0; // $DIMSCALE, 0 when absent: the scale the program writes there
  // A file this program wrote (it registers its own application): its scale and limits hold.
  bool own = false;
  bool hasLimits = false;
  Point limMin{0, 0};
  Point limMax{0, 0};
  double gridStep = 0;      // $GRIDUNIT, 0 when absent
  double curveAccuracy = 0; // file units between a curve and the chords drawn for it
  double version = 0;       // $USERR1: the drawing's version in a file this program wrote
  std::set<std::string, DxfNameLess> hiddenLayers;       // off or frozen in the file
  std::set<std::string, DxfNameLess> unplottedLayers;    // hidden as they are not plotted
  std::map<std::string, SceneLayer, DxfNameLess> layers; // the layer table, by name
  KindCounts notRead;          // kinds the library does not know, anywhere in the file
  bool utf8 = false;           // its strings, names too, are UTF-8 (files from 2007 on)
  std::set<std::string> xrefs; // blocks that refer to other drawings, by name
};

} // namespace lumora
