// The attribute set a record is built from and unpacked into: by the add operations of the
// store, the property dialogs and the file reader.
#pragma once

#include "geometry/primitives.h"
#include "model/record_field.h"

#include <array>
#include <cstdint>

namespace lumora {

struct PropertySet {
  std::array<std::uint32_t, 4> words{};
  double gap = 0.0;            // filling: distance between hatch lines, drawing units
  std::int16_t hatchAngle = 0; // filling: the `angle` of the hatch direction, whole degrees
  double angle = 0.0;          // text: rotation in degrees
  double partAngle = 0.0;      // part dialog: rotation to apply, degrees
  double partSx = 1.0;         // part dialog: scale in x, negative mirrors about the y axis
  double partSy = 1.0;         // part dialog: scale in y, negative mirrors about the x axis
  Box partBox;                 // part dialog: the part's box

  LUMORA_RECORD_FIELD(layer, SetLayer, 0, 0, 7)
  LUMORA_RECORD_FIELD(width, SetWidth, 0, 7, 4)
  LUMORA_RECORD_FIELD(colour, SetColour, 0, 11, 4)
  LUMORA_RECORD_FIELD(hidden, SetHidden, 0, 15, 1)
  LUMORA_RECORD_FIELD(inPart, SetInPart, 0, 16, 1)
  LUMORA_RECORD_FIELD(spareFlags, SetSpareFlags, 0, 17, 3)
  LUMORA_RECORD_FIELD(zoneX, SetZoneX, 1, 0, 16)
  LUMORA_RECORD_FIELD(zoneY, SetZoneY, 1, 16, 16)
  LUMORA_RECORD_FIELD(section, SetSection, 2, 0, 4)
  LUMORA_RECORD_FIELD(shape, SetShape, 2, 4, 3)
  LUMORA_RECORD_FIELD(style, SetStyle, 2, 7, 4)
  LUMORA_RECORD_FIELD(boundary, SetBoundary, 2, 11, 1)
  LUMORA_RECORD_FIELD(mitta, SetMitta, 2, 12, 3)
  LUMORA_RECORD_FIELD(positioning, SetPositioning, 2, 15, 4)
  LUMORA_RECORD_FIELD(height, SetHeight, 2, 19, 9)
  LUMORA_RECORD_FIELD(font, SetFont, 2, 28, 2)
  LUMORA_RECORD_FIELD(widthRatio, SetWidthRatio, 3, 0, 3)
  LUMORA_RECORD_FIELD(slant, SetSlant, 3, 3, 2)
  LUMORA_RECORD_FIELD(textSpare, SetTextSpare, 3, 5, 2)
};

// Which fields a conversion carries: all of them (records created, copied or read from files),
// or only the plain attributes (a property dialog applied to an existing element).
enum class PackFields { kPlain, kAll };

struct LineElement;
struct FillingElement;
struct TextElement;

void PackLine(const PropertySet& set, LineElement& line, PackFields fields);
void UnpackLine(const LineElement& line, PropertySet& set, PackFields fields);
void PackFilling(const PropertySet& set, FillingElement& filling, PackFields fields);
void UnpackFilling(const FillingElement& filling, PropertySet& set, PackFields fields);
void PackText(const PropertySet& set, TextElement& text, PackFields fields);
void UnpackText(const TextElement& text, PropertySet& set, PackFields fields);

} // namespace lumora
