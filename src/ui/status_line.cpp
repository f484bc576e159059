#include "ui/status_line.h"

#include "protocol/command_state.h"
#include "screen/text_screen.h"
#include "screen/text_window.h"
#include "screen/write_text.h"
#include "ui/ask_state.h"
#include "ui/menu_bar.h"
#include "util/number_text.h"
#include "view/view.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr double kAnglePrecision = 0.1;
constexpr double kStatusAnglePrecision = 1.0;
constexpr int kPartDefaultColour = 8;
constexpr int kStatusFromEnd = 2; // the element status ends this many columns before the edge

constexpr TextPair kXLabel{"X= "_l1, "X= "_l1};
constexpr TextPair kYLabel{" Y= "_l1, " Y= "_l1};
constexpr TextPair kDxLabel{"Dx= "_l1, "Dx= "_l1};
constexpr TextPair kDyLabel{" Dy= "_l1, " Dy= "_l1};
constexpr TextPair kAngleLabel{"An= ^"_l1, "Ku= ^"_l1};
constexpr TextPair kLayerLabel{"layer:"_l1, "taso:"_l1};
constexpr TextPair kAngleStatusLabel{" angle:"_l1, " kulma:"_l1};
constexpr TextPair kSnapLineField{"Snap= ^Li"_l1, "Imu= ^Vi"_l1};
constexpr TextPair kSnapPointField{"Snap= ^Po"_l1, "Imu= ^Pi"_l1};
constexpr TextPair kSnapCrossingField{"Snap= ^In"_l1, "Imu= ^Le"_l1};
constexpr TextPair kSnapMidpointField{"Snap= ^Mi"_l1, "Imu= ^Kk"_l1};
constexpr TextPair kSnapCentreField{"Snap= ^Ce"_l1, "Imu= ^Kp"_l1};
constexpr TextPair kSnapPerpendicularField{"Snap= ^Pe"_l1, "Imu= ^Ks"_l1};
constexpr TextPair kSnapTangentField{"Snap= ^Ta"_l1, "Imu= ^Ta"_l1};
constexpr TextPair kSnapQuadrantField{"Snap= ^Qu"_l1, "Imu= ^Nj"_l1};

int Length(std::string_view text) {
  return static_cast<int>(text.size());
}

// An entry typed on the status row owns it until it closes.
bool RowTaken(const Control& control) {
  const EntryState& entry = control.prompts.entry;
  return control.screen.consoleOutput || (entry.open && entry.row == kMenuBarRow);
}

void WriteField(Control& control, int column, int room, std::string_view text, int style) {
  if (column < 1 || room <= 0) return;
  WriteText(control.screen, kMenuBarRow, column, room, text, style);
}

const TextPair* SnapText(int snapMode) {
  switch (snapMode) {
  case kSnapLine:
    return &kSnapLineField;
  case kSnapPoint:
    return &kSnapPointField;
  case kSnapIntersection:
    return &kSnapCrossingField;
  case kSnapMidpoint:
    return &kSnapMidpointField;
  case kSnapCentre:
    return &kSnapCentreField;
  case kSnapPerpendicular:
    return &kSnapPerpendicularField;
  case kSnapTangent:
    return &kSnapTangentField;
  case kSnapQuadrant:
    return &kSnapQuadrantField;
  default:
    return nullptr;
  }
}

std::string MirrorMark(const PropertySet& a) {
  const bool x = !(a.partSx > 0.0);
  const bool y = !(a.partSy > 0.0);
  if (x && y) return "xy";
  if (y) return "x"; // mirrored about the x axis
  if (x) return "y";
  return {};
}

int StatusStyle(int elementType, const PropertySet& a) {
  const int colour = static_cast<int>(a.colour());
  if (colour == 0) return elementType == kElementPart ? kPartDefaultColour : kStyleNormal;
  return colour;
}

} // namespace

std::string FieldText(std::string_view label, double value, double precision, int room) {
  const int width = std::max(room - Length(label), 1);
  std::string text(label);
  text += NumberToText(value, precision, static_cast<std::size_t>(width));
  return text;
}

void ShowCoordinates(Control& control, Point point, CoordinateField which) {
  if (RowTaken(control)) return;
  const MenuBarLayout b = CurrentMenuBar(control);
  const View& v = control.view;
  const auto show = [&](CoordinateField field, int column, int room, const TextPair& label,
                        double value) {
    if (which != CoordinateField::kAll && which != field) return;
    const std::string_view text = control.Tr(label);
    WriteField(control, column, room, FieldText(text, value, kCoordinatePrecision, room),
               kStyleDimmed);
  };
  show(CoordinateField::kX, b.x, b.xWidth, kXLabel, point.x - v.globalOrigin.x);
  show(CoordinateField::kY, b.y, b.yWidth, kYLabel, point.y - v.globalOrigin.y);
  show(CoordinateField::kDx, b.dx, b.dxWidth, kDxLabel, point.x - v.localOrigin.x);
  show(CoordinateField::kDy, b.dy, b.dyWidth, kDyLabel, point.y - v.localOrigin.y);
}

void ShowAngleAndSnap(Control& control) {
  if (RowTaken(control)) return;
  const MenuBarLayout b = CurrentMenuBar(control);
  const int angleRoom = b.snap - b.angle;
  std::string angle;
  if (control.view.directionShown) {
    angle = FieldText(control.Tr(kAngleLabel), control.view.cursorAngle, kAnglePrecision,
                      angleRoom + 1); // the "^" takes no column
  }
  WriteField(control, b.angle, angleRoom, angle, kStyleNormal);
  const TextPair* snap = SnapText(control.In().snapMode);
  WriteField(control, b.snap, b.end - b.snap + 1, snap != nullptr ? control.Tr(*snap) : "",
             kStyleNormal);
}

std::string ElementStatusText(int elementType, const PropertySet& a, Language language) {
  if (elementType == kElementNone) return {};
  std::string text(kLayerLabel.In(language));
  const int layer = static_cast<int>(a.layer());
  text += layer == kLayerNotSet ? std::string("*") : std::to_string(layer);
  if (elementType == kElementText || elementType == kElementPart) {
    const double angle = elementType == kElementText ? a.angle : a.partAngle;
    text += kAngleStatusLabel.In(language);
    text += NumberToText(angle, kStatusAnglePrecision, kMaxTextBytes);
    if (elementType == kElementPart) text += MirrorMark(a);
  }
  return text;
}

void ShowElementStatus(Control& control) {
  if (control.screen.consoleOutput) return;
  const int type = control.state.elementType;
  const std::string text = ElementStatusText(type, control.In().attributes, control.Lang());
  if (text.empty()) return;
  const int column = control.screen.columns - kStatusFromEnd - Length(text) + 1;
  if (column < 1) return;
  WriteText(control.screen, kInformationRow, column, Length(text), text,
            StatusStyle(type, control.In().attributes));
}

void RefreshStatusLine(Control& control, bool always) {
  // An open text window may reach over the message rows; it owns its cells until it closes,
  // and gives back what they showed. A full repaint writes the line before the windows.
  if (RowTaken(control) || (!always && OpenWindowCount(control.screen) > 0)) return;
  StatusLineMemory& memory = control.state.statusLine;
  const MenuBarLayout b = CurrentMenuBar(control);
  const bool layout2 = b.properties > 0;
  if (always || !memory.valid || memory.layout2 != layout2 ||
      memory.elementType != control.state.elementType) {
    DrawMenuBar(control.screen, b, true);
    memory = {true, layout2, control.state.elementType};
  }
  ShowAngleAndSnap(control);
  // While a prompt or window hides the cursor its last coordinates stay, also over a repaint.
  if (control.state.cursorShown || always) ShowCoordinates(control, control.In().cursor);
  ShowElementStatus(control);
}

} // namespace lumora
