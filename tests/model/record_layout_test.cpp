// Bit layouts of the packed record words: known positions, and no field ever disturbs another.
#include "model/elements.h"
#include "model/field_table.h"
#include "model/property_set.h"

#include <gtest/gtest.h>
#include <limits>

namespace lumora {
namespace {

using test::FieldRef;

std::vector<FieldRef<LineElement>> LineFields() {
  return {LUMORA_FIELD_REF(LineElement, ps0, SetPs0, 16),
          LUMORA_FIELD_REF(LineElement, shape, SetShape, 3),
          LUMORA_FIELD_REF(LineElement, layer, SetLayer, 7),
          LUMORA_FIELD_REF(LineElement, hidden, SetHidden, 1),
          LUMORA_FIELD_REF(LineElement, boundary, SetBoundary, 1),
          LUMORA_FIELD_REF(LineElement, inPart, SetInPart, 1),
          LUMORA_FIELD_REF(LineElement, spareFlags, SetSpareFlags, 3),
          LUMORA_FIELD_REF(LineElement, width, SetWidth, 4),
          LUMORA_FIELD_REF(LineElement, colour, SetColour, 4),
          LUMORA_FIELD_REF(LineElement, style, SetStyle, 4),
          LUMORA_FIELD_REF(LineElement, section, SetSection, 4),
          LUMORA_FIELD_REF(LineElement, zoneX, SetZoneX, 16),
          LUMORA_FIELD_REF(LineElement, zoneY, SetZoneY, 16)};
}

std::vector<FieldRef<FillingElement>> FillingFields() {
  return {LUMORA_FIELD_REF(FillingElement, ls0, SetLs0, 16),
          LUMORA_FIELD_REF(FillingElement, layer, SetLayer, 7),
          LUMORA_FIELD_REF(FillingElement, hidden, SetHidden, 1),
          LUMORA_FIELD_REF(FillingElement, inPart, SetInPart, 1),
          LUMORA_FIELD_REF(FillingElement, spareFlags, SetSpareFlags, 3),
          LUMORA_FIELD_REF(FillingElement, width, SetWidth, 4),
          LUMORA_FIELD_REF(FillingElement, colour, SetColour, 4),
          LUMORA_FIELD_REF(FillingElement, style, SetStyle, 4),
          LUMORA_FIELD_REF(FillingElement, ldista, SetLdista, 4),
          LUMORA_FIELD_REF(FillingElement, reserved1, SetReserved1, 20),
          LUMORA_FIELD_REF(FillingElement, reserved3, SetReserved3, 16),
          LUMORA_FIELD_REF(FillingElement, zoneX, SetZoneX, 16),
          LUMORA_FIELD_REF(FillingElement, zoneY, SetZoneY, 16)};
}

std::vector<FieldRef<TextElement>> TextFields() {
  return {LUMORA_FIELD_REF(TextElement, pointCount, SetPointCount, 3),
          LUMORA_FIELD_REF(TextElement, mitta, SetMitta, 3),
          LUMORA_FIELD_REF(TextElement, layer, SetLayer, 7),
          LUMORA_FIELD_REF(TextElement, font, SetFont, 2),
          LUMORA_FIELD_REF(TextElement, hidden, SetHidden, 1),
          LUMORA_FIELD_REF(TextElement, inPart, SetInPart, 1),
          LUMORA_FIELD_REF(TextElement, spareFlags, SetSpareFlags, 3),
          LUMORA_FIELD_REF(TextElement, width, SetWidth, 4),
          LUMORA_FIELD_REF(TextElement, colour, SetColour, 4),
          LUMORA_FIELD_REF(TextElement, positioning, SetPositioning, 4),
          LUMORA_FIELD_REF(TextElement, height, SetHeight, 9),
          LUMORA_FIELD_REF(TextElement, widthRatio, SetWidthRatio, 3),
          LUMORA_FIELD_REF(TextElement, slant, SetSlant, 2),
          LUMORA_FIELD_REF(TextElement, spare, SetSpare, 2),
          LUMORA_FIELD_REF(TextElement, reserved1, SetReserved1, 16),
          LUMORA_FIELD_REF(TextElement, zoneX, SetZoneX, 16),
          LUMORA_FIELD_REF(TextElement, zoneY, SetZoneY, 16)};
}

std::vector<FieldRef<PartElement>> PartFields() {
  return {LUMORA_FIELD_REF(PartElement, type, SetType, 4),
          LUMORA_FIELD_REF(PartElement, layer, SetLayer, 7),
          LUMORA_FIELD_REF(PartElement, hidden, SetHidden, 1),
          LUMORA_FIELD_REF(PartElement, nested, SetNested, 1),
          LUMORA_FIELD_REF(PartElement, spareFlags, SetSpareFlags, 3),
          LUMORA_FIELD_REF(PartElement, zoneX, SetZoneX, 16),
          LUMORA_FIELD_REF(PartElement, zoneY, SetZoneY, 16),
          LUMORA_FIELD_REF(PartElement, reserved13, SetReserved13, 16)};
}

std::vector<FieldRef<PropertySet>> SetFields() {
  return {LUMORA_FIELD_REF(PropertySet, layer, SetLayer, 7),
          LUMORA_FIELD_REF(PropertySet, width, SetWidth, 4),
          LUMORA_FIELD_REF(PropertySet, colour, SetColour, 4),
          LUMORA_FIELD_REF(PropertySet, hidden, SetHidden, 1),
          LUMORA_FIELD_REF(PropertySet, inPart, SetInPart, 1),
          LUMORA_FIELD_REF(PropertySet, spareFlags, SetSpareFlags, 3),
          LUMORA_FIELD_REF(PropertySet, zoneX, SetZoneX, 16),
          LUMORA_FIELD_REF(PropertySet, zoneY, SetZoneY, 16),
          LUMORA_FIELD_REF(PropertySet, section, SetSection, 4),
          LUMORA_FIELD_REF(PropertySet, shape, SetShape, 3),
          LUMORA_FIELD_REF(PropertySet, style, SetStyle, 4),
          LUMORA_FIELD_REF(PropertySet, boundary, SetBoundary, 1),
          LUMORA_FIELD_REF(PropertySet, mitta, SetMitta, 3),
          LUMORA_FIELD_REF(PropertySet, positioning, SetPositioning, 4),
          LUMORA_FIELD_REF(PropertySet, height, SetHeight, 9),
          LUMORA_FIELD_REF(PropertySet, font, SetFont, 2),
          LUMORA_FIELD_REF(PropertySet, widthRatio, SetWidthRatio, 3),
          LUMORA_FIELD_REF(PropertySet, slant, SetSlant, 2),
          LUMORA_FIELD_REF(PropertySet, textSpare, SetTextSpare, 2)};
}

// Sets each field to its maximum in a cleared record and to zero in a record of all ones, and
// one past its maximum; no other field may change and the value must be cut to the field.
template <class Record> void ExpectFieldsIsolated(const std::vector<FieldRef<Record>>& fields) {
  for (const auto& field : fields) {
    for (const std::uint32_t fill : {0u, 0xFFFFFFFFu}) {
      Record record;
      record.words.fill(fill);
      const std::uint32_t value = fill == 0 ? field.max : 0;
      field.set(record, value);
      EXPECT_EQ(field.get(record), value) << field.name;
      for (const auto& other : fields) {
        if (other.name == field.name) continue;
        EXPECT_EQ(other.get(record), fill == 0 ? 0u : other.max)
            << "setting " << field.name << " changed " << other.name;
      }
    }
    Record record;
    field.set(record, field.max + 1);
    EXPECT_EQ(field.get(record), 0u) << field.name;
    for (const std::uint32_t word : record.words) EXPECT_EQ(word, 0u) << field.name;
  }
}

TEST(RecordLayout, EveryFieldStaysInsideItsBits) {
  ExpectFieldsIsolated(LineFields());
  ExpectFieldsIsolated(FillingFields());
  ExpectFieldsIsolated(TextFields());
  ExpectFieldsIsolated(PartFields());
  ExpectFieldsIsolated(SetFields());
}

TEST(RecordLayout, FieldsSitAtTheirStoredBitPositions) {
  LineElement line;
  line.SetPs0(5);
  line.SetShape(kShapeArc);
  line.SetLayer(127);
  line.SetInPart(1);
  line.SetColour(0xA);
  line.SetZoneX(0x8001);
  line.SetZoneY(0x00FF);
  EXPECT_EQ(line.words[0], 0x5u | (3u << 16) | (127u << 19) | (1u << 28));
  EXPECT_EQ(line.words[1], 0x800100A0u);
  EXPECT_EQ(line.words[2], 0x00FFu);

  FillingElement filling;
  filling.SetLs0(2);
  filling.SetWidth(15);
  filling.SetLdista(3);
  filling.SetAngle(-45);
  filling.SetZoneY(1);
  EXPECT_EQ(filling.words[0], 0xF0000002u);
  EXPECT_EQ(filling.words[1], 0x300u);
  EXPECT_EQ(filling.words[3], 0xFFD3u);
  EXPECT_EQ(filling.words[4], 0x10000u);
  EXPECT_EQ(filling.angle(), -45);

  TextElement text;
  text.SetPointCount(7);
  text.SetFont(3);
  text.SetPositioning(9);
  text.SetHeight(511);
  text.SetSlant(2);
  EXPECT_EQ(text.words[0], 0x7u | (3u << 13) | (9u << 28));
  EXPECT_EQ(text.words[1], 0x1FFu | (2u << 12));

  PartElement part;
  part.SetType(1);
  part.SetLayer(126);
  part.SetNested(1);
  part.SetZoneX(0xFFFF);
  EXPECT_EQ(part.words[0], 0xFFFF0000u | (1u << 12) | (126u << 4) | 1u);
}

TEST(RecordLayout, FloatWordsHoldFloatsAndClampBeyondTheirRange) {
  FillingElement filling;
  filling.SetGap(2.5);
  EXPECT_EQ(filling.gap(), 2.5f);
  filling.SetGap(1e300);
  EXPECT_EQ(filling.gap(), std::numeric_limits<float>::max());
  TextElement text;
  text.SetAngle(-1e300);
  EXPECT_EQ(text.angle(), -std::numeric_limits<float>::max());
  text.SetAngle(0.1);
  EXPECT_EQ(text.angle(), 0.1f);
}

} // namespace
} // namespace lumora
