// Everything the setup file configures: switches, window, sheet defaults and the value lists
// that the property dialogs offer. One instance, owned by the App; filled by ReadSetup.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace lumora {

// A selection list of the setup: its rows, the longest text (the width of the list window)
// and the row marked with "<".
template <typename Row> struct SetupList {
  std::vector<Row> rows;
  std::size_t longest = 0;
  int defaultRow = -1;

  bool Empty() const { return rows.empty(); }
};

struct ValueRow { // a text and a number (scales, grids, angles, gaps)
  std::string text;
  double value = 0;
};

struct CodeRow { // a text and an integer code (colours, styles, widths in tenths of a mm)
  std::string text;
  int value = 0;
};

struct AreaRow { // a plotting area in paper millimetres
  std::string text;
  double width = 0;
  double height = 0;
};

struct NameRow { // a layer name
  std::string text;
};

struct FontRow { // a font: display name and file name (without ".txt")
  std::string text;
  std::string file;
};

// Attributes of a line preset, already masked to their record field widths.
struct LinePreset {
  std::string text;
  int layer = 0;
  int width = 0; // tenths of a millimetre
  int colour = 0;
  int style = 0;
  int section = 0;
};

// A filling preset: the line attributes of its outline and its hatching.
struct FillingPreset : LinePreset {
  double gap = 0; // millimetres on paper
  int angle = 0;  // whole degrees
};

struct TextPreset { // texts and measures
  std::string text;
  int layer = 0;
  int width = 0; // tenths of a millimetre
  int colour = 0;
  int positioning = 0;
  int positioning2 = 0; // the second positioning value, kept as read
  int font = 0;
  int height = 0;     // tenths of a millimetre
  int widthRatio = 0; // (proportion - 0.4) * 10
  int slant = 0;      // proportion * 5
  double angle = 0;
};

struct Setup {
  // Single values, with the defaults of a setup that does not mention them.
  float version = 2.0f;                         // format version of the next save
  double arcAccuracy = 0.04;                    // arc drawing accuracy
  double scale = 1.0;                           // from the default scale row
  std::array<double, 4> limits{0, 0, 198, 281}; // sheet limits from the default area row
  double step = 1.0;                            // grid step from the default grid row
  int measureLineWidth = 2;                     // tenths of a millimetre
  int measureLineColour = 1;
  double measureGap = 0; // in text heights
  int partStretch = 0;
  std::array<int, 3> timeSetting{8, 0, 0}; // h m s as written in the setup
  long clockCorrection = 0;                // seconds added to the local time
  int windowWidth = 1000;
  int windowHeight = 800;
  int windowX = 0;
  int windowY = 0;
  int whiteBackground = 0;
  int textWindowLines = 1;
  int textWindowColumns = 60;
  int windowingFix = 0;
  int noWaitingSound = 0;
  double searchGrid = 0;
  int english = 0;
  int noDatingOfScreen = 0;
  int measureSnap = 0;
  int closeDirHandle = 0;

  SetupList<ValueRow> scales;
  SetupList<AreaRow> plottingAreas;
  SetupList<ValueRow> cursorGrids;
  SetupList<ValueRow> cursorAngles;
  SetupList<NameRow> layers;
  SetupList<CodeRow> lineWidths;
  SetupList<CodeRow> colours;
  SetupList<LinePreset> lineSelections;
  SetupList<CodeRow> lineStyles;
  SetupList<CodeRow> lineStyleSections;
  SetupList<FillingPreset> fillingSelections;
  SetupList<ValueRow> fillingDistances;
  SetupList<ValueRow> fillingAngles;
  SetupList<TextPreset> textSelections;
  SetupList<TextPreset> measureSelections;
  SetupList<ValueRow> textAngles;
  SetupList<CodeRow> textPositionings;
  SetupList<FontRow> fonts;
  SetupList<CodeRow> textHeights;
  SetupList<CodeRow> textWidths;
  SetupList<CodeRow> textSlants;
  SetupList<ValueRow> partAngles;
};

} // namespace lumora
