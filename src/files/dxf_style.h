// How the attributes of DXF entities meet the program's own: colour numbers (the 256 indexed
// colours and true colours against the program's sixteen), line types against line styles,
// and line weights against widths in tenths of a millimetre.
#pragma once

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

// The line type written for a line style, and the style read for a line type name.
const char* LinetypeOfStyle(int style);
int StyleOfLinetype(std::string_view name);

// The standard line weight (hundredths of a millimetre) nearest to a width in tenths, and the
// width read back from a line weight (negative weights are "by layer" and the like: -1).
int LineweightOfWidth(int width);
int WidthOfLineweight(int lineweight);

} // namespace lumora
