// The help functions of the view and the cursor: zooms, the cursor moving angle, the snaps, the
// cursor lines, the keyboard cursor steps, the origins and the typed cursor point; and the
// help-menu zooms and the property functions that move an origin or show a direction.
#pragma once

#include "protocol/command.h"
#include "protocol/input_record.h"
#include "ui/ask_number.h"
#include "ui/select_str.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

inline constexpr TextPair kTooSmallArea{"Too small area !"_l1, "Liian pieni alue !"_l1};
inline constexpr TextPair kNoZoom{"No zoom !"_l1, "Ei ole zoomattu !"_l1};

// ---- Switches: each acts on its one code ----

// F10: the whole sheet.
class ZoomAll final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// Ctrl+F10: the view before the last zoom, and back.
class PreviousZoom final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// F11, Ctrl+F11, Alt+F11 set their snap for the next Enter, or clear it when pending; F12
// clears any.
class SnapSwitch final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// Alt+F12: the full-window cursor lines on or off.
class CursorLinesSwitch final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// Page Up, Page Down: the horizontal or vertical cursor moving angle, or off when in force.
class AxisDirection final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// The arrows alone and with Shift, Ctrl or Alt: 1, 5, 10 or 100 grid steps.
class CursorStep final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// Home, Ctrl+Home: the cursor to the local or the global origin.
class ToOrigin final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// Alt+End: the local origin at the cursor.
class LocalOriginHere final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// ---- Step machines ----

// Del: a cursor moving angle from the setup's list or typed; off when one is in force.
class CursorAngle final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  enum class Step { kList, kTyping };
  int Choose(Control& control, const CommandRow& row);
  int Type(Control& control, const CommandRow& row);

  Step step_ = Step::kList;
  std::vector<std::string> items_;
  SelectArgs list_;
  double typed_ = 0.0;
};

// Ins, Ctrl+Ins: the cursor point typed in the places of the status line's fields.
class WriteCoordinates final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  enum class Step { kFirst, kSecond };
  bool Relative(const CommandRow& row) const;
  int Ask(Control& control, const CommandRow& row);
  int Place(Control& control, const CommandRow& row);

  Step step_ = Step::kFirst;
  bool along_ = false; // one distance along the cursor moving angle
  double first_ = 0.0;
  double second_ = 0.0;
};

// F9 (help menu): the view becomes a box given by two corners.
// Ctrl+F9: the view moves so that one point shows where another was.
class ZoomArea final : public DrawingCommand {
public:
  explicit ZoomArea(bool transfer = false) : transfer_(transfer) {}

protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;

private:
  enum class Step { kFirst, kSecond };
  void AskFirst(Control& control);

  bool transfer_;
  Step step_ = Step::kFirst;
  Point first_{};
};

// End, Ctrl+End (property): the local or the global origin at an entered point.
class MoveOrigin final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;

private:
  int Take(Control& control, const CommandRow& row);
};

// Alt+F9 (property): the cursor moving angle through two entered points.
class EnterDirection final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;

private:
  enum class Step { kFirst, kSecond };
  void AskFirst(Control& control);

  Step step_ = Step::kFirst;
  Point first_{};
};

// ---- Placing a paper ----

// The outcome of PlacePaper.
inline constexpr int kPaperPlaced = 1;
inline constexpr int kPaperNotPlaced = 0;

// Places a paper outline of a box's size for the plotting commands: centred in the view when it
// fits there, else carried by the cursor until Enter or Tab. A step machine called by its
// owner once per code; `placed` is the box moved to where the paper lies.
class PlacePaper {
public:
  // kStillRunning, kPaperPlaced or kPaperNotPlaced.
  int Step(Control& control, Box& box, const TextPair& title);

private:
  // What the owner's step carried before the paper took the preview over.
  bool started_ = false;
  bool savedLock_ = false;
  int savedPreview_ = 0;
  int savedCount_ = 0;
  std::uint32_t savedShape_ = 0;
  std::array<Point, kMaxRubberBandPoints> saved_{};
};

} // namespace lumora
