// How the attributes of DXF entities meet the program's own: colour numbers (the 256 indexed
// colours and true colours against the program's sixteen), line types against line styles,
// and line weights against widths in tenths of a millimetre.
#pragma once

#include "files/dxf_scene.h"

#include <span>
#include <string>
#include <string_view>

namespace lumora {

// The indexed colour written for a colour 0..15. Every colour has its own index, so a file
// written here reads back with the same colour numbers.
int AciOfColour(int colour);
// The colour read for an indexed colour 1..255: the exact inverse of AciOfColour where it
// applies, else the nearest of the program's colours by hue and lightness.
int ColourOfAci(int aci);
// The nearest colour of a true colour 0xRRGGBB.
int ColourOfRgb(int rgb);

// The line type written for a line style.
const char* LinetypeOfStyle(int style);
// The family of a line type's pattern (positive dashes, negative gaps, 0 dots), and of a
// well-known name when a file names a line type without defining it (solid when unknown:
// `known` then says false).
LineFamily FamilyOfPattern(std::span<const double> dashes);
LineFamily FamilyOfName(std::string_view name, bool& known);
// The program's line style drawn for a family (by block: solid), and the section in
// millimetres on paper that gives a pattern period of `periodMm` on paper in that style.
int StyleOfFamily(LineFamily family);
double SectionForPeriod(LineFamily family, double periodMm);
// How many dashes (or dots) the plotter draws along one section's length in a line style: 0
// for a solid or unplotted one.
double DashesPerSection(int style);

// Millimetres per unit of a $INSUNITS code; unitless and unknown codes read as millimetres.
double MillimetresOfUnit(int insUnits);

// The standard line weight (hundredths of a millimetre) nearest to a width in tenths, and the
// width read back from a line weight (negative weights are "by layer" and the like: -1).
int LineweightOfWidth(int width);
int WidthOfLineweight(int lineweight);

} // namespace lumora
