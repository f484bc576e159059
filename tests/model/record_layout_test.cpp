// Bit layouts of the packed record words: known positions, and no field ever disturbs another.
#include "model/elements.h"
#include "model/property_set.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lumora {
namespace {

template <class Record> struct Field {
  std::string name;
  std::function<std::uint32_t(const Record&)> get;
  std::function<void(Record&, std::uint32_t)> set;
  std::uint32_t max;
};
template <class Record> using Fields = std::vector<Field<Record>>;

#define F(R, get, set, bits)                                                                       \
  Field<R> {                                                                                       \
#get, [](const R& r) { return r.get(); }, [](R & r,                                            \
                                                 std::uint32_t v) { r.set(v); },                   \
                                                                              (1u << (bits)) - 1u  \
  }

// clang-format off
using L = LineElement; using Fi = FillingElement; using T = TextElement; using P = PartElement;
using S = PropertySet;
const Fields<L> kLine{F(L, ps0, SetPs0, 16), F(L, shape, SetShape, 3), F(L, layer, SetLayer, 7),
  F(L, hidden, SetHidden, 1), F(L, boundary, SetBoundary, 1), F(L, inPart, SetInPart, 1),
  F(L, spareFlags, SetSpareFlags, 3), F(L, width, SetWidth, 4), F(L, colour, SetColour, 4),
  F(L, style, SetStyle, 4), F(L, section, SetSection, 4), F(L, zoneX, SetZoneX, 16),
  F(L, zoneY, SetZoneY, 16)};
const Fields<Fi> kFilling{F(Fi, ls0, SetLs0, 16), F(Fi, layer, SetLayer, 7),
  F(Fi, hidden, SetHidden, 1), F(Fi, inPart, SetInPart, 1), F(Fi, spareFlags, SetSpareFlags, 3),
  F(Fi, width, SetWidth, 4), F(Fi, colour, SetColour, 4), F(Fi, style, SetStyle, 4),
  F(Fi, ldista, SetLdista, 4), F(Fi, reserved1, SetReserved1, 20),
  F(Fi, reserved3, SetReserved3, 16), F(Fi, zoneX, SetZoneX, 16), F(Fi, zoneY, SetZoneY, 16)};
const Fields<T> kText{F(T, pointCount, SetPointCount, 3), F(T, mitta, SetMitta, 3),
  F(T, layer, SetLayer, 7), F(T, font, SetFont, 2), F(T, hidden, SetHidden, 1),
  F(T, inPart, SetInPart, 1), F(T, spareFlags, SetSpareFlags, 3), F(T, width, SetWidth, 4),
  F(T, colour, SetColour, 4), F(T, positioning, SetPositioning, 4), F(T, height, SetHeight, 9),
  F(T, widthRatio, SetWidthRatio, 3), F(T, slant, SetSlant, 2), F(T, spare, SetSpare, 2),
  F(T, reserved1, SetReserved1, 16), F(T, zoneX, SetZoneX, 16), F(T, zoneY, SetZoneY, 16)};
const Fields<P> kPart{F(P, type, SetType, 4), F(P, layer, SetLayer, 7), F(P, hidden, SetHidden, 1),
  F(P, nested, SetNested, 1), F(P, spareFlags, SetSpareFlags, 3), F(P, zoneX, SetZoneX, 16),
  F(P, zoneY, SetZoneY, 16), F(P, reserved13, SetReserved13, 16)};
const Fields<S> kSet{F(S, layer, SetLayer, 7), F(S, width, SetWidth, 4), F(S, colour, SetColour, 4),
  F(S, hidden, SetHidden, 1), F(S, inPart, SetInPart, 1), F(S, spareFlags, SetSpareFlags, 3),
  F(S, zoneX, SetZoneX, 16), F(S, zoneY, SetZoneY, 16), F(S, section, SetSection, 4),
  F(S, shape, SetShape, 3), F(S, style, SetStyle, 4), F(S, boundary, SetBoundary, 1),
  F(S, mitta, SetMitta, 3), F(S, positioning, SetPositioning, 4), F(S, height, SetHeight, 9),
  F(S, font, SetFont, 2), F(S, widthRatio, SetWidthRatio, 3), F(S, slant, SetSlant, 2),
  F(S, textSpare, SetTextSpare, 2)};
// clang-format on

// Each field set to its maximum in a cleared record, to zero in a record of all ones, and one
// past its maximum: no other field may change, and the value is cut to the field's width.
template <class Record> void ExpectIsolated(const Fields<Record>& fields) {
  for (const auto& field : fields) {
    for (const std::uint32_t fill : {0u, 0xFFFFFFFFu}) {
      Record record;
      record.words.fill(fill);
      field.set(record, fill == 0 ? field.max : 0);
      EXPECT_EQ(field.get(record), fill == 0 ? field.max : 0) << field.name;
      for (const auto& other : fields) {
        if (other.name != field.name) {
          EXPECT_EQ(other.get(record), fill & other.max) << field.name << " moved " << other.name;
        }
      }
    }
    Record record;
    field.set(record, field.max + 1);
    for (const std::uint32_t word : record.words) EXPECT_EQ(word, 0u) << field.name;
  }
}

TEST(RecordLayout, EveryFieldStaysInsideItsBits) {
  ExpectIsolated(kLine);
  ExpectIsolated(kFilling);
  ExpectIsolated(kText);
  ExpectIsolated(kPart);
  ExpectIsolated(kSet);
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
  EXPECT_EQ(line.words, (std::array<std::uint32_t, 3>{0x13FB0005u, 0x800100A0u, 0xFFu}));

  TextElement text;
  text.SetPointCount(7);
  text.SetFont(3);
  text.SetPositioning(9);
  text.SetHeight(511);
  text.SetSlant(2);
  text.SetAngle(1e300); // beyond the float range: held at its end, never undefined
  EXPECT_EQ(text.words[0], 0x90006007u);
  EXPECT_EQ(text.words[1], 0x21FFu);
  EXPECT_EQ(text.angle(), std::numeric_limits<float>::max());
}

} // namespace
} // namespace lumora
