#include "ui/menu_bar.h"

#include "protocol/command_state.h"
#include "screen/text_screen.h"
#include "screen/write_text.h"
#include "ui/ask_state.h"

#include <algorithm>
#include <array>
#include <string>

namespace lumora {
namespace {

// Label colours.
constexpr int kStyleBlue = 2;
constexpr int kStyleGreen = 3;
constexpr int kStyleRed = 5;
constexpr int kStyleMagenta = 6;

constexpr std::string_view kInformationLabel = "i";

// Where the angle and snap fields stand, counted back from the right edge; the Finnish labels
// are one column shorter.
constexpr int kAngleFromEnd = 16;
constexpr int kSnapFromEnd = 8;
constexpr int kFinnishShift = 1;
constexpr int kInformationFromEnd = 1;

// The wider the window, the more the labels say and the wider the fields.
struct BarSize {
  int minColumns;
  TextPair main;
  TextPair properties;
  TextPair help;
  int fieldWidth;
  int spacing;
};

constexpr std::array<BarSize, 5> kBarSizes{{
    {110,
     {"Mainfunctions"_l1, "Päätoiminnot"_l1},
     {"Properties"_l1, "Ominaisuudet"_l1},
     {"Helpfunctions"_l1, "Aputoiminnot"_l1},
     15,
     5},
    {100, {"Main."_l1, "Päät."_l1}, {"Pr."_l1, "Om."_l1}, {"Help."_l1, "Aput."_l1}, 15, 4},
    {90, {"Main."_l1, "Päät."_l1}, {"Pr."_l1, "Om."_l1}, {"Help."_l1, "Aput."_l1}, 12, 3},
    {80, {"Main."_l1, "Päät."_l1}, {"Pr."_l1, "Om."_l1}, {"Help."_l1, "Aput."_l1}, 10, 2},
    {0, {"Ma"_l1, "Pt"_l1}, {"P"_l1, "O"_l1}, {"He"_l1, "At"_l1}, 10, 2},
}};

const BarSize& SizeFor(int columns) {
  for (const BarSize& size : kBarSizes) {
    if (columns >= size.minColumns) return size;
  }
  return kBarSizes.back();
}

int Length(std::string_view text) {
  return static_cast<int>(text.size());
}

// A coordinate field ends where the next field, or at the latest the angle field, begins.
int RoomBefore(int column, int width, int next, int angle) {
  return std::clamp(std::min(next, angle) - column, 0, width);
}

// The left pixel of a column.
int ColumnPixel(int column) {
  return (column - 1) * kCellWidth;
}

bool InZone(int x, int from, int to) {
  return from < to && x >= ColumnPixel(from) && x < ColumnPixel(to);
}

// The label part of row 2 as it should read, from column 1 up to the X field.
std::string LabelText(const MenuBarLayout& layout) {
  std::string text(static_cast<std::size_t>(std::max(layout.x - 1, 0)), ' ');
  auto put = [&text](int column, std::string_view label) {
    const std::size_t at = static_cast<std::size_t>(column - 1);
    if (column >= 1 && at < text.size())
      text.replace(at, std::min(label.size(), text.size() - at), label.substr(0, text.size() - at));
  };
  put(layout.main, layout.mainLabel);
  if (layout.properties > 0) put(layout.properties, layout.propertiesLabel);
  put(layout.help, layout.helpLabel);
  return text;
}

bool Shows(const TextScreen& screen, int row, int column, std::string_view text) {
  const std::string_view shown = MirrorRow(screen, row);
  const std::size_t at = static_cast<std::size_t>(column - 1);
  return column >= 1 && at + text.size() <= shown.size() && shown.substr(at, text.size()) == text;
}

void WriteLabel(TextScreen& screen, int column, std::string_view label, int style) {
  WriteText(screen, kMenuBarRow, column, Length(label), label, style, true);
}

} // namespace

MenuBarLayout MenuBarLayoutFor(int columns, Language language, bool withProperties) {
  const BarSize& size = SizeFor(columns);
  MenuBarLayout b;
  b.columns = columns;
  b.mainLabel = size.main.In(language);
  b.helpLabel = size.help.In(language);
  b.fieldWidth = size.fieldWidth;
  b.spacing = size.spacing;
  const int m = Length(b.mainLabel);
  if (withProperties) {
    b.propertiesLabel = size.properties.In(language);
    b.properties = m + 2;
    b.help = b.properties + Length(b.propertiesLabel) + 1;
  } else {
    b.help = m + 2;
  }
  b.x = b.help + Length(b.helpLabel) + 2;
  b.y = b.x + b.fieldWidth;
  b.dx = b.y + b.fieldWidth + b.spacing;
  b.dy = b.dx + b.fieldWidth;
  const int shift = language == Language::kFinnish ? kFinnishShift : 0;
  b.angle = columns - kAngleFromEnd + shift;
  b.snap = columns - kSnapFromEnd + shift;
  b.end = columns;
  b.information = columns - kInformationFromEnd;
  b.xWidth = RoomBefore(b.x, b.fieldWidth, b.y, b.angle);
  b.yWidth = RoomBefore(b.y, b.fieldWidth, b.dx, b.angle);
  b.dxWidth = RoomBefore(b.dx, b.fieldWidth, b.dy, b.angle);
  b.dyWidth = RoomBefore(b.dy, b.fieldWidth, b.angle, b.angle);
  return b;
}

MenuBarLayout CurrentMenuBar(const Control& control) {
  const int columns = control.screen.columns;
  return MenuBarLayoutFor(columns, control.Lang(), control.state.elementType != kElementNone);
}

void DrawMenuBar(TextScreen& screen, const MenuBarLayout& layout, bool always) {
  const std::string labels = LabelText(layout);
  if (always || !Shows(screen, kMenuBarRow, 1, labels)) {
    // Another layout, language or width: the fields moved, so the whole row starts empty.
    WriteText(screen, kMenuBarRow, 1, std::max(layout.columns, Length(labels)), "", kStyleNormal);
    WriteLabel(screen, layout.main, layout.mainLabel, kStyleRed);
    if (layout.properties > 0)
      WriteLabel(screen, layout.properties, layout.propertiesLabel, kStyleBlue);
    WriteLabel(screen, layout.help, layout.helpLabel, kStyleGreen);
  }
  if (layout.information >= 1 &&
      (always || !Shows(screen, kInformationRow, layout.information, kInformationLabel))) {
    WriteText(screen, kInformationRow, layout.information, 1, kInformationLabel, kStyleMagenta);
  }
}

void RefreshMenuBar(Control& control) {
  if (control.screen.consoleOutput) return;
  // An entry typed on the status row owns it until it closes.
  const EntryState& entry = control.prompts.entry;
  if (entry.open && entry.row == kMenuBarRow) return;
  DrawMenuBar(control.screen, CurrentMenuBar(control));
}

void RedrawMenuBar(Control& control) {
  if (control.screen.consoleOutput) return;
  DrawMenuBar(control.screen, CurrentMenuBar(control), true);
}

int MenuBarZoneCode(const MenuBarLayout& b, int x, int y, bool coordinatesOpen) {
  if (y >= 0 && y < kCellHeight / 2 && b.information >= 1 &&
      InZone(x, b.information, b.information + 1)) {
    return kCodeInformation;
  }
  if (y < kCellHeight || y >= kMessageBandHeight) return 0;
  const int afterMain = b.properties > 0 ? b.properties : b.help;
  if (InZone(x, b.main, afterMain)) return kCodeMainMenu;
  if (b.properties > 0 && InZone(x, b.properties, b.help)) return kCodePropertiesMenu;
  if (InZone(x, b.help, b.x)) return kCodeHelpMenu;
  if (!coordinatesOpen) return 0;
  // A click on the coordinate fields is the key of the coordinate entry.
  if (InZone(x, b.x, b.dx)) return kCodeWriteXY;
  if (InZone(x, b.dx, b.angle)) return kCodeWriteDxDy;
  return 0;
}

int MenuBarCode(const Control& control, int x, int y) {
  const bool open =
      !LevelActive(control, Level::kHelp) && control.state.inputMode != kModeTextEntry;
  return MenuBarZoneCode(CurrentMenuBar(control), x, y, open);
}

} // namespace lumora
