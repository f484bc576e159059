// Conversions between a PropertySet and each record carry every field both ways, and the plain
// variant leaves flags, masks and reserved bits of the record alone.
#include "model/elements.h"
#include "model/property_set.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

// A set whose fields all differ from their defaults and from each other where they can.
PropertySet DistinctSet() {
  PropertySet set;
  set.SetLayer(93);
  set.SetWidth(11);
  set.SetColour(6);
  set.SetHidden(1);
  set.SetInPart(1);
  set.SetSpareFlags(5);
  set.SetZoneX(0x1234);
  set.SetZoneY(0xF00D);
  set.SetSection(9);
  set.SetShape(4);
  set.SetStyle(13);
  set.SetBoundary(1);
  set.SetMitta(2);
  set.SetPositioning(14);
  set.SetHeight(300);
  set.SetFont(3);
  set.SetWidthRatio(7);
  set.SetSlant(3);
  set.SetTextSpare(2);
  set.gap = 12.75;
  set.hatchAngle = -135;
  set.angle = 33.5;
  return set;
}

TEST(Pack, LineCarriesEveryFieldBothWays) {
  const PropertySet in = DistinctSet();
  LineElement line;
  PackLine(in, line, PackFields::kAll);
  EXPECT_EQ(line.hidden(), 1u);
  EXPECT_EQ(line.inPart(), 1u);
  EXPECT_EQ(line.boundary(), 1u);
  EXPECT_EQ(line.spareFlags(), 5u);
  EXPECT_EQ(line.section(), 9u);
  PropertySet out;
  UnpackLine(line, out, PackFields::kAll);
  for (auto get :
       {&PropertySet::layer, &PropertySet::width, &PropertySet::colour, &PropertySet::hidden,
        &PropertySet::inPart, &PropertySet::spareFlags, &PropertySet::zoneX, &PropertySet::zoneY,
        &PropertySet::section, &PropertySet::shape, &PropertySet::style, &PropertySet::boundary}) {
    EXPECT_EQ((out.*get)(), (in.*get)());
  }
}

TEST(Pack, FillingCarriesEveryFieldBothWays) {
  const PropertySet in = DistinctSet();
  FillingElement filling;
  PackFilling(in, filling, PackFields::kAll);
  EXPECT_EQ(filling.ldista(), 9u);
  EXPECT_EQ(filling.angle(), -135);
  EXPECT_EQ(filling.gap(), 12.75f);
  EXPECT_EQ(filling.spareFlags(), 5u);
  PropertySet out;
  UnpackFilling(filling, out, PackFields::kAll);
  for (auto get :
       {&PropertySet::layer, &PropertySet::width, &PropertySet::colour, &PropertySet::hidden,
        &PropertySet::inPart, &PropertySet::spareFlags, &PropertySet::zoneX, &PropertySet::zoneY,
        &PropertySet::section, &PropertySet::style}) {
    EXPECT_EQ((out.*get)(), (in.*get)());
  }
  EXPECT_EQ(out.hatchAngle, -135);
  EXPECT_EQ(out.gap, 12.75);
}

TEST(Pack, TextCarriesEveryFieldAndTheSpareBitsBothWays) {
  const PropertySet in = DistinctSet();
  TextElement text;
  PackText(in, text, PackFields::kAll);
  EXPECT_EQ(text.spare(), 2u);
  EXPECT_EQ(text.height(), 300u);
  EXPECT_EQ(text.angle(), 33.5f);
  PropertySet out;
  UnpackText(text, out, PackFields::kAll);
  for (auto get :
       {&PropertySet::layer, &PropertySet::width, &PropertySet::colour, &PropertySet::hidden,
        &PropertySet::inPart, &PropertySet::spareFlags, &PropertySet::zoneX, &PropertySet::zoneY,
        &PropertySet::font, &PropertySet::mitta, &PropertySet::positioning, &PropertySet::height,
        &PropertySet::widthRatio, &PropertySet::slant, &PropertySet::textSpare}) {
    EXPECT_EQ((out.*get)(), (in.*get)());
  }
  EXPECT_EQ(out.angle, 33.5);
}

TEST(Pack, PlainVariantLeavesFlagsMasksAndReservedBitsOfTheRecord) {
  const PropertySet in = DistinctSet();

  LineElement line;
  line.SetPs0(3);
  line.SetZoneX(0x00F0);
  PackLine(in, line, PackFields::kPlain);
  EXPECT_EQ(line.layer(), 93u);
  EXPECT_EQ(line.shape(), 4u);
  EXPECT_EQ(line.ps0(), 3u);
  EXPECT_EQ(line.hidden() | line.inPart() | line.boundary() | line.spareFlags(), 0u);
  EXPECT_EQ(line.zoneX(), 0x00F0u);

  FillingElement filling;
  filling.SetReserved1(0xABCDE);
  filling.SetReserved3(0x7777);
  PackFilling(in, filling, PackFields::kAll);
  EXPECT_EQ(filling.reserved1(), 0xABCDEu);
  EXPECT_EQ(filling.reserved3(), 0x7777u);

  TextElement text;
  text.SetReserved1(0x4321);
  text.SetPointCount(2);
  PackText(in, text, PackFields::kPlain);
  EXPECT_EQ(text.reserved1(), 0x4321u);
  EXPECT_EQ(text.pointCount(), 2u);
  EXPECT_EQ(text.hidden() | text.inPart() | text.spareFlags(), 0u);
  EXPECT_EQ(text.zoneY(), 0u);

  // Unpacking plain keeps what the set already held for flags and masks.
  PropertySet out = DistinctSet();
  LineElement bare;
  UnpackLine(bare, out, PackFields::kPlain);
  EXPECT_EQ(out.layer(), 0u);
  EXPECT_EQ(out.spareFlags(), 5u);
  EXPECT_EQ(out.zoneY(), 0xF00Du);
}

} // namespace
} // namespace lumora
