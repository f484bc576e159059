// The arc commands: an arc or circle by its centre (F2), an arc or circle through three points
// (Ctrl+F2), and rounding the corner between two lines (Alt+F2). Each takes its last step back
// with Backspace.
#pragma once

#include "element_geometry/element_geometry.h"
#include "properties/type_selector.h"
#include "protocol/command.h"
#include "protocol/texts.h"

#include <array>
#include <cstdint>

namespace lumora {

inline constexpr TextPair kAddingArc{"Adding arc: "_l1, "Kaaren lisäys: "_l1};
inline constexpr TextPair kAddingCircle{"Adding circle: "_l1, "Ympyrän lisäys: "_l1};
inline constexpr TextPair kArcViaPoints{"Arc via points: "_l1, "Kaari pisteiden kautta: "_l1};
inline constexpr TextPair kCircleViaPoints{"Circle via points: "_l1,
                                           "Ympyrä pisteiden kautta: "_l1};
inline constexpr TextPair kAddingRounding{"Adding rounding: "_l1, "Pyöristykset: "_l1};
inline constexpr TextPair kArcSelectType{"^SELECT TYPE OF LINE ! "_l1,
                                         "^VALITSE VIIVATYYPPI ! "_l1};
inline constexpr TextPair kEnterCentre{"^ENTER CENTER POINT ! "_l1, "^OSOITA KESKIPISTE ! "_l1};
inline constexpr TextPair kEnterOnCircle{"^ENTER POINT ON CIRCLE ! "_l1,
                                         "^OSOITA PISTE YMPYRÄLTÄ ! "_l1};
inline constexpr TextPair kEnterArcStart{"^ENTER START POINT ! "_l1,
                                         "^OSOITA KAAREN ALKUPISTE ! "_l1};
inline constexpr TextPair kEnterArcEnd{"^ENTER END POINT ! "_l1, "^OSOITA KAAREN LOPPUPISTE ! "_l1};
// The number of the point goes between the two halves.
inline constexpr TextPair kEnterNthPoint{"^ENTER "_l1, "^OSOITA "_l1};
inline constexpr TextPair kNthPointEnd{".POINT ! "_l1, ".PISTE ! "_l1};
inline constexpr TextPair kShowCorner{"^SHOW CORNER ! "_l1, "^NÄYTÄ NURKKA ! "_l1};
inline constexpr TextPair kWriteRadius{"^WRITE RADIUS ? "_l1, "^ANNA SÄDE ? "_l1};
inline constexpr TextPair kOneMorePoint{"Have to enter one more point !"_l1,
                                        "Yksi piste lisää !"_l1};
inline constexpr TextPair kArcNotMade{"Arc could not be made !"_l1,
                                      "Kaaren teko ei onnistunut !"_l1};
inline constexpr TextPair kCornerLineNotFound{"Line not found !"_l1, "Viivaa ei löydetty !"_l1};
inline constexpr TextPair kCornerNotFound{"Corner not found !"_l1, "Nurkkaa ei löydetty !"_l1};
inline constexpr TextPair kRoundingFailed{"Rounding not succeeded !"_l1,
                                          "Pyöristys ei onnistunut !"_l1};

// The element is drawn as it is added and erased before it is deleted; a failed add gives none.
LineElement* AddShownLine(Control& control, const PropertySet& set, const Point* points, int count);
void DeleteShownLine(Control& control, LineElement*& line);
// The element in the making and the current line attributes take the shape together, so the
// shape switch o keeps them paired.
void SetMakingShape(Control& control, std::uint32_t shape);
// The element in the making takes the current line attributes but keeps its own shape.
void TakeAttributes(Control& control);
// A prompt shown after a key waits with its cue; the refresh after a dialog is no key.
bool AfterKey(const Control& control);

// The two arc commands share their steps: the line type is chosen first, then points are
// shown until the element is made.
class ArcPointsCommand : public DrawingCommand {
protected:
  enum class Step { kSelect, kPoints };

  int Act(Control& control, const CommandRow& row) override;
  bool InnerStepOwnsKeys() const override { return step_ == Step::kSelect; }
  int Select(Control& control, const CommandRow& row);
  virtual void TakePoint(Control& control) = 0;
  virtual int Prompt(Control& control) = 0;

  Step step_ = Step::kSelect;
  TypeSelector selector_{PresetKind::kLine};
  LineElement* last_ = nullptr;
};

// F2: centre, start and end of an arc, or centre and a point of a circle.
class AddArc final : public ArcPointsCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;
  void TakePoint(Control& control) override;
  int Prompt(Control& control) override;

private:
  void TakeEnd(Control& control);
  // The circle of the centre and the point held second; the element in the making is an arc
  // again afterwards unless the person chose circles.
  void CircleOfHeld(Control& control, std::uint32_t shapeAfter);
  void Make(Control& control, std::uint32_t shape, const Point* points, int count);
  void SaveUndo(const Control& control, std::uint32_t shape, int count);

  // What was in the making just before the last element was made.
  std::uint32_t undoShape_ = 0;
  int undoCount_ = 0;
  std::array<Point, 2> undoPoints_{};
};

// Ctrl+F2: an arc or circle through three points shown one after the other.
class ArcViaPoints final : public ArcPointsCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;
  void TakePoint(Control& control) override;
  int Prompt(Control& control) override;

private:
  void MakeThrough(Control& control);

  // The two first points of the last element: undo gives them back.
  std::array<Point, 2> lastPoints_{};
};

// Alt+F2: rounds the corner between two lines with a typed radius; radius 0 makes it sharp.
class Rounding final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  bool InnerStepOwnsKeys() const override { return step_ == Step::kRadius; }
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  enum class Step { kPick, kRadius };

  int Pick(Control& control, const CommandRow& row);
  int Radius(Control& control, const CommandRow& row);
  void ShowFillingsAgain(Control& control);
  int PickPrompt(Control& control);

  Step step_ = Step::kPick;
  // The corner as the last rounding left it: undo rounds it back to the radius it had before.
  Corner corner_;
  Point marker_{kNoPoint, kNoPoint};
  const LineElement* hiddenFor_ = nullptr; // the line whose bounded fillings are hidden
  double defaultRadius_ = 0.0;
  double typed_ = 0.0;
  double undoRadius_ = 0.0;
  bool undo_ = false;
};

} // namespace lumora
