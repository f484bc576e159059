// How attribute values are shown in the dialogs and selector headers: by the name the setup
// gives them, or as a number.
#pragma once

#include "model/property_set.h"

#include <string>

namespace lumora {

struct Fonts;
struct Setup;

// A layer and a font by their names; one without a row shows as its number between single
// quotes. Layer n is row n of the layer list counted from 1.
std::string LayerName(const Setup& setup, int layer);
std::string FontName(const Fonts& fonts, int font);
// A colour or a style by the first row of its list with that value, else '3'; a positioning
// way the same, else as its bare number. The last row of a list is the typing row, no name.
std::string ColourName(const Setup& setup, int colour);
std::string StyleName(const Setup& setup, int style);
std::string PositioningName(const Setup& setup, int positioning);

// Values in their units: "0.5mm" for a width or height code, "0.7" for a width/height code,
// "0.2" for a slant code, "30.5`" for an angle.
std::string MillimetreText(int tenths);
std::string ProportionText(int widthRatio);
std::string SlantText(int slant);
std::string AngleText(double degrees);
std::string NumberText(double value, double step);

// The four mirrorings of a part and the sign pattern of its scale factors: 0 none, 1 around
// the y axis (sx < 0), 2 around the x axis (sy < 0), 3 both.
inline constexpr int kMirroringCount = 4;
int Mirroring(const PropertySet& part);
void SetMirroring(PropertySet& part, int mirroring);

} // namespace lumora
