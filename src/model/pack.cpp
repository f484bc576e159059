// Conversions between a PropertySet and the packed words of each record. Both directions only
// touch the fields they name, so reserved bits of a record survive every conversion.
#include "model/elements.h"
#include "model/property_set.h"

namespace lumora {

void PackLine(const PropertySet& set, LineElement& line, PackFields fields) {
  line.SetLayer(set.layer());
  line.SetWidth(set.width());
  line.SetColour(set.colour());
  line.SetStyle(set.style());
  line.SetSection(set.section());
  line.SetShape(set.shape());
  if (fields == PackFields::kPlain) return;
  line.SetHidden(set.hidden());
  line.SetBoundary(set.boundary());
  line.SetInPart(set.inPart());
  line.SetSpareFlags(set.spareFlags());
  line.SetZoneX(set.zoneX());
  line.SetZoneY(set.zoneY());
}

void UnpackLine(const LineElement& line, PropertySet& set, PackFields fields) {
  set.SetLayer(line.layer());
  set.SetWidth(line.width());
  set.SetColour(line.colour());
  set.SetStyle(line.style());
  set.SetSection(line.section());
  set.SetShape(line.shape());
  if (fields == PackFields::kPlain) return;
  set.SetHidden(line.hidden());
  set.SetBoundary(line.boundary());
  set.SetInPart(line.inPart());
  set.SetSpareFlags(line.spareFlags());
  set.SetZoneX(line.zoneX());
  set.SetZoneY(line.zoneY());
}

void PackFilling(const PropertySet& set, FillingElement& filling, PackFields fields) {
  filling.SetLayer(set.layer());
  filling.SetWidth(set.width());
  filling.SetColour(set.colour());
  filling.SetStyle(set.style());
  filling.SetLdista(set.section());
  filling.SetAngle(set.hatchAngle);
  filling.SetGap(set.gap);
  if (fields == PackFields::kPlain) return;
  filling.SetHidden(set.hidden());
  filling.SetInPart(set.inPart());
  filling.SetSpareFlags(set.spareFlags());
  filling.SetZoneX(set.zoneX());
  filling.SetZoneY(set.zoneY());
}

void UnpackFilling(const FillingElement& filling, PropertySet& set, PackFields fields) {
  set.SetLayer(filling.layer());
  set.SetWidth(filling.width());
  set.SetColour(filling.colour());
  set.SetStyle(filling.style());
  set.SetSection(filling.ldista());
  set.hatchAngle = filling.angle();
  set.gap = filling.gap();
  if (fields == PackFields::kPlain) return;
  set.SetHidden(filling.hidden());
  set.SetInPart(filling.inPart());
  set.SetSpareFlags(filling.spareFlags());
  set.SetZoneX(filling.zoneX());
  set.SetZoneY(filling.zoneY());
}

void PackText(const PropertySet& set, TextElement& text, PackFields fields) {
  text.SetLayer(set.layer());
  text.SetWidth(set.width());
  text.SetColour(set.colour());
  text.SetFont(set.font());
  text.SetMitta(set.mitta());
  text.SetPositioning(set.positioning());
  text.SetHeight(set.height());
  text.SetWidthRatio(set.widthRatio());
  text.SetSlant(set.slant());
  text.SetSpare(set.textSpare());
  text.SetAngle(set.angle);
  if (fields == PackFields::kPlain) return;
  text.SetHidden(set.hidden());
  text.SetInPart(set.inPart());
  text.SetSpareFlags(set.spareFlags());
  text.SetZoneX(set.zoneX());
  text.SetZoneY(set.zoneY());
}

void UnpackText(const TextElement& text, PropertySet& set, PackFields fields) {
  set.SetLayer(text.layer());
  set.SetWidth(text.width());
  set.SetColour(text.colour());
  set.SetFont(text.font());
  set.SetMitta(text.mitta());
  set.SetPositioning(text.positioning());
  set.SetHeight(text.height());
  set.SetWidthRatio(text.widthRatio());
  set.SetSlant(text.slant());
  set.SetTextSpare(text.spare());
  set.angle = text.angle();
  if (fields == PackFields::kPlain) return;
  set.SetHidden(text.hidden());
  set.SetInPart(text.inPart());
  set.SetSpareFlags(text.spareFlags());
  set.SetZoneX(text.zoneX());
  set.SetZoneY(text.zoneY());
}

} // namespace lumora
