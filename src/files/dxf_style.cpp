#include "files/dxf_style.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace lumora {
namespace {

constexpr int kColourCount = 16;
constexpr int kForeground = 1;
constexpr int kGrey = 8;
// Colours 0 and 9..15 show as the foreground but keep their numbers through greys and the
// light indices nobody uses for meaning.
constexpr std::array<int, kColourCount> kAciOfColour{250, 7,   5,   3,   4,   1,   6, 2,
                                                     8,   251, 252, 253, 254, 255, 9, 249};
// The program's hued colours by hue in degrees: red, yellow, green, cyan, blue, magenta.
constexpr std::array<int, 6> kColourOfHue{5, 7, 3, 4, 2, 6};
constexpr double kHueSector = 60.0;
constexpr double kGreySaturation = 0.25;
constexpr double kLightValue = 0.75;

constexpr std::array<int, 24> kLineweights{0,  5,  9,  13, 15, 18,  20,  25,  30,  35,  40,  50,
                                           53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
constexpr int kMaxWidth = 15;

struct Hsv {
  double h = 0; // degrees
  double s = 0;
  double v = 0;
};

Hsv HsvOf(double r, double g, double b) {
  const double hi = std::max({r, g, b});
  const double lo = std::min({r, g, b});
  Hsv out;
  out.v = hi;
  out.s = hi > 0 ? (hi - lo) / hi : 0;
  if (hi - lo <= 0) return out;
  if (hi == r)
    out.h = 60.0 * std::fmod((g - b) / (hi - lo) + 6.0, 6.0);
  else if (hi == g)
    out.h = 60.0 * ((b - r) / (hi - lo) + 2.0);
  else
    out.h = 60.0 * ((r - g) / (hi - lo) + 4.0);
  return out;
}

int ColourOfHsv(const Hsv& c) {
  if (c.s < kGreySaturation) return c.v >= kLightValue ? kForeground : kGrey;
  const int sector = static_cast<int>(std::floor((c.h + kHueSector / 2) / kHueSector)) % 6;
  return kColourOfHue[static_cast<std::size_t>(sector)];
}

// The indexed colours as hue, saturation and value: 1..9 named, 10..249 a wheel of 24 hues in
// five shades each at full and half saturation, 250..255 greys.
Hsv HsvOfAci(int aci) {
  constexpr std::array<Hsv, 10> kNamed{
      Hsv{0, 0, 0},   Hsv{0, 1, 1},   Hsv{60, 1, 1}, Hsv{120, 1, 1}, Hsv{180, 1, 1},
      Hsv{240, 1, 1}, Hsv{300, 1, 1}, Hsv{0, 0, 1},  Hsv{0, 0, 0.5}, Hsv{0, 0, 0.75}};
  constexpr std::array<double, 5> kShade{1.0, 0.65, 0.5, 0.3, 0.15};
  if (aci < 10) return kNamed[static_cast<std::size_t>(aci)];
  if (aci >= 250) return Hsv{0, 0, 0.2 + 0.16 * (aci - 250)};
  const int shade = (aci % 10) / 2;
  return Hsv{15.0 * (aci / 10 - 1), aci % 2 == 0 ? 1.0 : 0.5,
             kShade[static_cast<std::size_t>(shade)]};
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

} // namespace

int AciOfColour(int colour) {
  return colour >= 0 && colour < kColourCount ? kAciOfColour[static_cast<std::size_t>(colour)]
                                              : kAciOfColour[kForeground];
}

int ColourOfAci(int aci) {
  if (aci < 1 || aci > 255) return kForeground;
  const auto exact = std::find(kAciOfColour.begin(), kAciOfColour.end(), aci);
  if (exact != kAciOfColour.end()) return static_cast<int>(exact - kAciOfColour.begin());
  return ColourOfHsv(HsvOfAci(aci));
}

int ColourOfRgb(int rgb) {
  constexpr double kFull = 255.0;
  return ColourOfHsv(
      HsvOf(((rgb >> 16) & 0xFF) / kFull, ((rgb >> 8) & 0xFF) / kFull, (rgb & 0xFF) / kFull));
}

const char* LinetypeOfStyle(int style) {
  switch (style) {
  case 2:
    return "DASHED";
  case 3:
    return "DOT";
  case 4:
    return "DASHDOT";
  default:
    return "CONTINUOUS";
  }
}

LineFamily FamilyOfPattern(std::span<const double> dashes) {
  double period = 0;
  for (double d : dashes) period += std::fabs(d);
  bool gaps = false;
  bool dots = false;
  bool longDashes = false;
  // A piece of a fifth of the period or less reads as a dot: CENTER's short dash is one.
  constexpr double kDotShare = 0.2;
  for (double d : dashes) {
    if (!std::isfinite(d)) return LineFamily::kSolid;
    if (d < 0)
      gaps = true;
    else if (d <= kDotShare * period)
      dots = true;
    else
      longDashes = true;
  }
  if (!gaps || !(period > 0)) return LineFamily::kSolid;
  if (longDashes && dots) return LineFamily::kDashDot;
  return dots ? LineFamily::kDotted : LineFamily::kDashed;
}

LineFamily FamilyOfName(std::string_view name, bool& known) {
  const std::string upper = Upper(name);
  known = true;
  if (upper.empty() || upper == "CONTINUOUS" || upper == "BYLAYER") return LineFamily::kSolid;
  if (upper == "BYBLOCK") return LineFamily::kByBlock;
  if (upper.find("DASHDOT") != std::string::npos || upper.find("CENTER") != std::string::npos ||
      upper.find("PHANTOM") != std::string::npos || upper.find("DIVIDE") != std::string::npos)
    return LineFamily::kDashDot;
  if (upper.find("DOT") != std::string::npos) return LineFamily::kDotted;
  if (upper.find("DASH") != std::string::npos || upper.find("HIDDEN") != std::string::npos)
    return LineFamily::kDashed;
  known = false;
  return LineFamily::kSolid;
}

int StyleOfFamily(LineFamily family) {
  switch (family) {
  case LineFamily::kDashed:
    return 2;
  case LineFamily::kDotted:
    return 3;
  case LineFamily::kDashDot:
    return 4;
  default:
    return 1;
  }
}

double SectionForPeriod(LineFamily family, double periodMm) {
  // The plotter repeats a dash every half section, a dot every quarter, a dash-dot every section.
  switch (family) {
  case LineFamily::kDashed:
    return 2 * periodMm;
  case LineFamily::kDotted:
    return 4 * periodMm;
  default:
    return periodMm;
  }
}

double DashesPerSection(int style) {
  // A dash every half section, a dot every quarter, a dash and a dot every section.
  constexpr int kDashed = 2, kDotted = 3, kDashDot = 4;
  switch (style) {
  case kDashed:
    return 2;
  case kDotted:
    return 4;
  case kDashDot:
    return 2;
  default:
    return 0;
  }
}

double MillimetresOfUnit(int insUnits) {
  // The $INSUNITS list: inches, feet, miles, millimetres, centimetres, metres, kilometres,
  // microinches, mils, yards, angstroms, nanometres, microns, decimetres, decametres,
  // hectometres, gigametres, astronomical units, light years, parsecs and the US survey units.
  constexpr std::array<double, 25> kMillimetres{1.0,
                                                25.4,
                                                304.8,
                                                1609344.0,
                                                1.0,
                                                10.0,
                                                1000.0,
                                                1e6,
                                                25.4e-6,
                                                0.0254,
                                                914.4,
                                                1e-7,
                                                1e-6,
                                                1e-3,
                                                100.0,
                                                1e4,
                                                1e5,
                                                1e12,
                                                1.495978707e14,
                                                9.4607304725808e18,
                                                3.0856775814914e19,
                                                1200.0 / 3937.0 * 1000.0,
                                                100.0 / 3937.0 * 1000.0,
                                                3600.0 / 3937.0 * 1000.0,
                                                6336000.0 / 3937.0 * 1000.0};
  if (insUnits < 0 || insUnits >= static_cast<int>(kMillimetres.size())) return 1.0;
  return kMillimetres[static_cast<std::size_t>(insUnits)];
}

int LineweightOfWidth(int width) {
  const int wanted = std::clamp(width, 0, kMaxWidth) * 10;
  return *std::min_element(kLineweights.begin(), kLineweights.end(), [wanted](int a, int b) {
    return std::abs(a - wanted) < std::abs(b - wanted);
  });
}

int WidthOfLineweight(int lineweight) {
  if (lineweight < 0) return -1;
  return std::min(kMaxWidth, static_cast<int>(std::lround(lineweight / 10.0)));
}

} // namespace lumora
