// Paper sizes: the whole sheet and the printable area on it.
#pragma once

#include <string_view>

namespace lumora {

struct Paper {
  double width = 210.0; // the whole sheet, millimetres
  double height = 297.0;
  double left = 5.0; // where the printable area begins
  double top = 5.0;
  int printableWidth = 200; // whole millimetres
  int printableHeight = 287;
};

inline constexpr double kPaperMargin = 5.0;

// A sheet with the printable area centred on it, margin millimetres from the nearest edges.
Paper CentredPaper(double width, double height, double margin = kPaperMargin);

// A4, A3, A2, A1, A0 or Letter (any letter case), portrait, with 5 mm margins; false for
// another name.
bool NamedPaper(std::string_view name, Paper& paper);

} // namespace lumora
