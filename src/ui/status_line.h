// The status line on message row 2 (the fields after the menu labels): the cursor's X and Y
// from the global origin and Dx and Dy from the local origin, the cursor moving angle and the
// pending snap; and at the right end of row 1 the layer and angle of the element in the making.
#pragma once

#include "geometry/point.h"
#include "model/property_set.h"
#include "util/text_pair.h"

#include <string>

namespace lumora {

struct Control;

// Which coordinate fields ShowCoordinates writes.
enum class CoordinateField { kAll = 0, kX = 1, kY = 2, kDx = 3, kDy = 4 };

inline constexpr double kCoordinatePrecision = 0.001;
inline constexpr int kLayerNotSet = 127;

// A label and a value cut to the room of a field: a value that does not fit is shown as
// overflowing rather than cut into another number.
std::string FieldText(std::string_view label, double value, double precision, int room);

// The coordinate fields for an absolute drawing point, dimmed.
void ShowCoordinates(Control& control, Point point, CoordinateField which = CoordinateField::kAll);
// The angle field while the direction is shown and the snap field while a snap is pending;
// each is cleared otherwise.
void ShowAngleAndSnap(Control& control);

// The element status text: layer (or "*"), for texts and parts the angle, for parts the
// mirrored axes; empty for no element type.
std::string ElementStatusText(int elementType, const PropertySet& attributes, Language language);
// Writes it in the element's colour at the right end of row 1 while the main function makes an
// element.
void ShowElementStatus(Control& control);

// After every dispatch pass: when the layout or the element type changed (or always), the row
// starts empty with the labels of its layout; then the angle and snap fields, and while the
// cursor is shown its coordinates, and the element status.
void RefreshStatusLine(Control& control, bool always = false);

} // namespace lumora
