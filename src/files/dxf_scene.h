// What a DXF file holds once the library has read it, in the program's own terms: straight
// polylines, arcs and circles, texts, hatched areas and block inserts, grouped by block. The
// adapter fills it completely before anything touches the drawing, so a file that fails half
// way leaves the drawing as it was.
#pragma once

#include "geometry/point.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace lumora {

// The attributes an entity brings, already mapped: layer name (numbered later), colour, width
// and line style.
struct SceneAttributes {
  std::string layer = "0";
  int colour = 1;
  int width = 0;
  int style = 0;
};

struct SceneLine {
  std::uint32_t shape = 1; // the line shapes of the records: open, closed, arc, circle
  std::vector<Point> points;
  SceneAttributes attr;
  // Drawn parts of a measure the program writes itself: skipped, the measure draws them.
  bool measureGraphics = false;
};

struct SceneText {
  std::vector<Point> points; // the place first, then measure points
  double height = 0;         // drawing units
  double angle = 0;          // degrees
  std::string text;          // Latin-1
  SceneAttributes attr;
  // The record words of a text this program wrote, restored exactly when present.
  bool ownRecord = false;
  std::uint32_t word0 = 0;
  std::uint32_t word1 = 0;
};

struct SceneFilling {
  std::vector<SceneLine> boundary;
  double gap = 0;   // drawing units; 0 = take the solid fill's gap
  double angle = 0; // degrees
  bool solid = false;
  SceneAttributes attr;
};

struct SceneInsert {
  std::string block;
  std::string name; // the part's own name when the program wrote it, else the block's
  Point at{0, 0};
  double sx = 1;
  double sy = 1;
  double angle = 0;
  SceneAttributes attr;
  // A dimension's block: its geometry joins the drawing as lines and texts, not as a part.
  bool explode = false;
};

struct SceneBlock {
  Point base{0, 0};
  std::vector<SceneLine> lines;
  std::vector<SceneText> texts;
  std::vector<SceneFilling> fillings;
  std::vector<SceneInsert> inserts;
};

struct DxfScene {
  SceneBlock model;
  std::map<std::string, SceneBlock> blocks;
  int insUnits = -1;   // $INSUNITS, -1 when absent
  double dimScale = 0; // $DIMSCALE, 0 when absent: the scale the program writes there
  std::map<std::string, int> notRead; // entity kind -> how many were passed over
};

} // namespace lumora
