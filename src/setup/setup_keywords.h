// The keyword sections of the setup file, in both languages.
#pragma once

#include <string_view>

namespace lumora {

enum SetupSection : int {
  kNoSection = 0,
  kAccurateSaving = 1,
  kArcDrawingAccuracy = 6,
  kScales = 9,
  kPlottingAreas = 10,
  kCursorGrids = 11,
  kCursorAngles = 12,
  kLayers = 13,
  kLineWidths = 14,
  kColours = 15,
  kLineSelections = 16,
  kLineStyles = 17,
  kLineStyleSections = 18,
  kFillingSelections = 19,
  kFillingDistances = 20,
  kFillingAngles = 21,
  kTextSelections = 22,
  kMeasureSelections = 23,
  kMeasureLines = 24,
  kMeasureGap = 25,
  kTextAngles = 26,
  kTextPositionings = 27,
  kTextFont = 28,
  kTextHeights = 29,
  kTextWidths = 30,
  kTextSlants = 31,
  kPartStretch = 36,
  kTimeSetting = 39,
  kBasicWindowSize = 40,
  kBasicWindowLocation = 42,
  kWhiteBackground = 43,
  kTextWindowSize = 44,
  kWindowingFix = 45,
  kNoWaitingSound = 46,
  kSearchGrid = 47,
  kPartAngles = 48,
  kEnglish = 49,
  kNoDatingOfScreen = 51,
  kMeasureSnap = 52,
  kCloseDirHandle = 53,
};

// The section whose keyword occurs somewhere in the line: every Finnish keyword is tried
// before the English ones, in table order; kNoSection when none occurs.
SetupSection FindSetupSection(std::string_view line);

} // namespace lumora
