// The plain variant of the conversions between a PropertySet and a record leaves flags, masks
// and reserved bits of the record alone.
#include "model/elements.h"
#include "model/property_set.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

// Every field at a value unlike its default and unlike its neighbours.
PropertySet DistinctSet() {
  PropertySet set;
  set.words = {0x000BB5DDu, 0xF00D1234u, 0x36F5CCA5u, 0x0000005Fu};
  set.gap = 12.75;
  set.hatchAngle = -135;
  set.angle = 33.5;
  return set;
}

TEST(Pack, PlainVariantLeavesFlagsMasksAndReservedBits) {
  const PropertySet in = DistinctSet();
  LineElement line;
  line.SetPs0(3);
  line.SetZoneX(0x00F0);
  PackLine(in, line, PackFields::kPlain);
  EXPECT_EQ(line.layer(), in.layer());
  EXPECT_EQ(line.shape(), in.shape());
  EXPECT_EQ(line.ps0(), 3u);
  EXPECT_EQ(line.words[0] >> 26, 0u);
  EXPECT_EQ(line.zoneX(), 0x00F0u);

  FillingElement filling;
  filling.SetReserved1(0xABCDE);
  filling.SetReserved3(0x7777);
  PackFilling(in, filling, PackFields::kAll);
  EXPECT_EQ(filling.reserved1(), 0xABCDEu);
  EXPECT_EQ(filling.reserved3(), 0x7777u);

  TextElement text;
  text.SetReserved1(0x4321);
  PackText(in, text, PackFields::kPlain);
  EXPECT_EQ(text.reserved1(), 0x4321u);
  EXPECT_EQ(text.hidden() | text.inPart() | text.spareFlags() | text.zoneY(), 0u);

  PropertySet out = in;
  UnpackLine(LineElement{}, out, PackFields::kPlain);
  EXPECT_EQ(out.layer(), 0u);
  EXPECT_EQ(out.spareFlags(), in.spareFlags());
  EXPECT_EQ(out.zoneY(), in.zoneY());
}

} // namespace
} // namespace lumora
