#include "properties/property_names.h"

#include "setup/setup.h"
#include "text/font.h"
#include "util/number_text.h"

#include <cmath>

namespace lumora {
namespace {

constexpr std::size_t kNumberWidth = 20;
constexpr double kTenth = 0.1;
constexpr double kSlantStep = 0.2;
constexpr double kLowestProportion = 0.4;
constexpr double kAnglePrecision = 0.001;

std::string Quoted(int value) {
  std::string quoted = "'";
  quoted += std::to_string(value);
  quoted += '\'';
  return quoted;
}

// The name of the first row with the value, the typing row left out; empty when none.
std::string NameOf(const std::vector<CodeRow>& rows, int value) {
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    if (rows[i].value == value) return rows[i].text;
  }
  return {};
}

} // namespace

std::string LayerName(const Setup& setup, int layer) {
  const std::vector<NameRow>& rows = setup.layers.rows;
  if (layer >= 1 && static_cast<std::size_t>(layer) <= rows.size()) {
    return rows[static_cast<std::size_t>(layer - 1)].text;
  }
  return Quoted(layer);
}

std::string FontName(const Fonts& fonts, int font) {
  if (font >= 0 && font < fonts.count && static_cast<std::size_t>(font) < fonts.slots.size()) {
    return fonts.slots[static_cast<std::size_t>(font)].name;
  }
  return Quoted(font);
}

std::string ColourName(const Setup& setup, int colour) {
  std::string name = NameOf(setup.colours.rows, colour);
  return name.empty() ? Quoted(colour) : name;
}

std::string StyleName(const Setup& setup, int style) {
  std::string name = NameOf(setup.lineStyles.rows, style);
  return name.empty() ? Quoted(style) : name;
}

std::string PositioningName(const Setup& setup, int positioning) {
  std::string name = NameOf(setup.textPositionings.rows, positioning);
  return name.empty() ? std::to_string(positioning) : name;
}

std::string NumberText(double value, double step) {
  return NumberToText(value, step, kNumberWidth);
}

std::string MillimetreText(int tenths) {
  return NumberText(tenths * kTenth, kTenth / 10) + "mm";
}

std::string ProportionText(int widthRatio) {
  return NumberText(widthRatio * kTenth + kLowestProportion, kTenth / 10);
}

std::string SlantText(int slant) {
  return NumberText(slant * kSlantStep, kTenth / 10);
}

std::string AngleText(double degrees) {
  return NumberText(degrees, kAnglePrecision) + "`";
}

int Mirroring(const PropertySet& part) {
  return (part.partSx < 0 ? 1 : 0) + (part.partSy < 0 ? 2 : 0);
}

void SetMirroring(PropertySet& part, int mirroring) {
  part.partSx = std::abs(part.partSx) * ((mirroring & 1) != 0 ? -1 : 1);
  part.partSy = std::abs(part.partSy) * ((mirroring & 2) != 0 ? -1 : 1);
}

} // namespace lumora
