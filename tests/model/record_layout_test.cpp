// Bit layouts of the packed record words: fields sit at their stored positions.
#include "model/elements.h"
#include "model/property_set.h"

#include <gtest/gtest.h>
#include <limits>

namespace lumora {
namespace {

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
