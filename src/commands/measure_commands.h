// Ctrl+F3 and Alt+F3: measures and angle measures. The user shows the measured points, each
// marked with "+"; the value is counted and written for them, and the cursor carries it to its
// place. Both repeat until Esc, and Backspace at the first point takes the measure placed last
// back to its location step. The text angle in force when they started is given back whichever
// way they end: the automatic direction of measures changes it while they run.
#pragma once

#include "properties/type_selector.h"
#include "protocol/command.h"

#include <array>
#include <string>

namespace lumora {

struct TextElement;

inline constexpr TextPair kAddingMeasure{"Adding measure: "_l1, "Mitan lisäys: "_l1};
inline constexpr TextPair kAddingAngleMeasure{"Adding angle measure: "_l1,
                                              "Kulmamitan lisäys: "_l1};
inline constexpr TextPair kEnterStart{"^ENTER START ! "_l1, "^OSOITA ALKUPISTE ! "_l1};
inline constexpr TextPair kEnterEnd{"^ENTER END ! "_l1, "^OSOITA LOPPUPISTE ! "_l1};
inline constexpr TextPair kEnterRightStart{"^ENTER START OF RIGHT SIDE ! "_l1,
                                           "^OSOITA OIKEAN SIVUN ALOITUSPISTE ! "_l1};
inline constexpr TextPair kEnterRightDirection{"^ENTER DIRECTION OF RIGHT SIDE ! "_l1,
                                               "^OSOITA OIKEAN SIVUN SUUNTA ! "_l1};
inline constexpr TextPair kEnterLeftStart{"^ENTER START OF LEFT SIDE ! "_l1,
                                          "^OSOITA VASEMMAN SIVUN ALOITUSPISTE ! "_l1};
inline constexpr TextPair kEnterLeftDirection{"^ENTER DIRECTION OF LEFT SIDE ! "_l1,
                                              "^OSOITA VASEMMAN SIVUN SUUNTA ! "_l1};
inline constexpr TextPair kEnterMeasureLocation{
    "^ENTER LOCATION (<ctrl+enter> correct string) ! "_l1,
    "^OSOITA TEKSTIN PAIKKA (<ctrl+enter> korjaa tekstiä) ! "_l1};
inline constexpr TextPair kEnterMeasureLocationOnly{"^ENTER LOCATION ! "_l1,
                                                    "^OSOITA TEKSTIN PAIKKA ! "_l1};
inline constexpr TextPair kEditString{"^EDIT STRING ? "_l1, "^KORJAA TEKSTI ? "_l1};
inline constexpr TextPair kAngleNotCounted{"Angle could not be counted !"_l1,
                                           "Kulman laskenta ei onnistunut !"_l1};

// The degree sign of the stroke fonts.
inline constexpr char kDegreeSign = '`';
// Angles closer than this are the same direction of a measure.
inline constexpr double kAngleTolerance = 0.001;

// The text angle a measure from start to end takes: a horizontal or vertical angle (0 or 90)
// turns to the axis along which the points lie farther apart, vertical when equally far;
// any other angle stays.
double MeasureDirection(double angle, const Point& start, const Point& end);
// The distance of the points along the angle, as the measure writes it (to 0.001).
std::string MeasureValue(const Point& start, const Point& end, double angle);
// The angle from the right side to the left one, counter-clockwise about their crossing, as the
// angle measure writes it ("90`"); false with "*`" when the sides give no angle.
bool AngleValue(const Point& rightStart, const Point& rightDirection, const Point& leftStart,
                const Point& leftDirection, std::string& value);

// What both measure commands share: the type, the saved text angle, the string with its
// editing step, the measured points and their marks.
class MeasureCommand : public DrawingCommand {
protected:
  // The title, and the start of the location title that names the string.
  MeasureCommand(const TextPair& title, const TextPair& named) : title_(title), named_(named) {}

  // The first code: kStillRunning, or kFinished when the type choice ended at once.
  int BeginMeasure(Control& control, const CommandRow& row);
  // The type selection: kStillRunning while it runs, kSelectorDone once chosen, otherwise the
  // command has ended (kFinished).
  int ChooseType(Control& control, const CommandRow& row);
  // The string editing: kStillRunning while open, kFinished after Esc (the command has ended),
  // kEntryAccepted otherwise.
  int EditString(Control& control, const CommandRow& row);
  // The location prompt with the shortened string; the cursor carries the text.
  int ShowLocation(Control& control, const TextPair& request);
  int Carry(Control& control);
  // Makes the measure from the points held: the location first, then count measured points.
  // False when the store refused it.
  bool Place(Control& control, std::uint32_t mitta, int count);
  // Takes the last measure back: its string and points, all marked; false when there is none.
  bool TakeBack(Control& control, int count);
  // Ends the command: the marks go, the cursor carries nothing, the text angle comes back.
  int End(Control& control, const CommandRow& row);
  int Cancel(Control& control, const CommandRow& row) override;
  // Whether the code is one that says nothing: a motion or the tick of an open entry.
  static bool Silent(const InputRecord& in);

  TextPair title_;
  TextPair named_;
  TypeSelector selector_{PresetKind::kMeasure};
  std::string string_;
  std::array<Point, 4> points_{}; // the measured points, in the order the element keeps them
  TextElement* last_ = nullptr;   // placed last in this run
  double savedAngle_ = 0.0;
};

class AddMeasure final : public MeasureCommand {
public:
  AddMeasure() : MeasureCommand(kAddingMeasure, {"Adding measure '^"_l1, "Mitan '^"_l1}) {}

protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;

private:
  enum class Step { kType, kStart, kEnd, kLocation, kString };

  int ShowStart(Control& control);
  int ShowEnd(Control& control);
  int TakePoint(Control& control);
  int Locate(Control& control, const CommandRow& row, bool tab);
  // Counts the value again when the text angle has changed since; true when it had.
  bool Recount(Control& control);

  Step step_ = Step::kType;
  double angleUsed_ = 0.0;
};

class AngleMeasure final : public MeasureCommand {
public:
  AngleMeasure()
      : MeasureCommand(kAddingAngleMeasure, {"Adding angle measure '^"_l1, "Kulmamitan '^"_l1}) {}

protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;

private:
  enum class Step {
    kType,
    kRightStart,
    kRightDirection,
    kLeftStart,
    kLeftDirection,
    kLocation,
    kString
  };

  int Show(Control& control, Step step);
  int TakePoint(Control& control);

  Step step_ = Step::kType;
};

} // namespace lumora
