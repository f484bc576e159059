// The filling commands: Add filling (a hatched area bounded by the lines shown, connected open
// lines followed automatically) and Surface area (the area of a filling shown).
#pragma once

#include "geometry/point.h"
#include "properties/type_selector.h"
#include "protocol/command.h"
#include "protocol/texts.h"

#include <cstddef>
#include <vector>

namespace lumora {

struct FillingElement;
struct LineElement;

inline constexpr TextPair kAddingFilling{"Adding filling: "_l1, "Alueen viivoituksen lisäys: "_l1};
inline constexpr TextPair kContinuingFilling{"Adding filling: "_l1,
                                             "Leikkausviivoituksen lisäys: "_l1};
inline constexpr TextPair kSelectTypeOfFilling{"^SELECT TYPE OF FILLING ! "_l1,
                                               "^VALITSE VIIVOITUSTYYPPI ! "_l1};
inline constexpr TextPair kShowBorderingLine{"^SHOW BORDERING LINE ! "_l1,
                                             "^NÄYTÄ RAJOITTAVA VIIVA ! "_l1};
inline constexpr TextPair kShowContinuingLine{"^SHOW LINE, THAT CONTINUES THE BORDER ! "_l1,
                                              "^NÄYTÄ JATKO-VIIVA ! "_l1};
inline constexpr TextPair kAreaNotClosed{"Area could not be closed !"_l1, "Ei sulkeutunut !"_l1};
inline constexpr TextPair kBorderLineNotFound{"Line not found !"_l1, "Viivaa ei löytynyt !"_l1};
inline constexpr TextPair kLineAlreadyIncluded{"Line already included !"_l1, "Viiva on jo !"_l1};
inline constexpr TextPair kClosedLineNotAllowed{"Closed line not allowed !"_l1,
                                                "Suljettua viiva ei sallita !"_l1};
inline constexpr TextPair kNoBorderLines{"No border lines !"_l1, "Ei rajoittavia viivoja !"_l1};
// The full border list has one text, shown as it is in both languages.
inline constexpr TextPair kTooManyLines{"too many lines !"_l1, "too many lines !"_l1};
inline constexpr TextPair kTooDenseFilling{"Too dense filling !"_l1, "Liian tiheä viivoitus !"_l1};
inline constexpr TextPair kCountingArea{"Counting surface area: "_l1, "Pinta-alan laskenta: "_l1};
inline constexpr TextPair kShowFilling{"^SHOW FILLING ! "_l1, "^NÄYTÄ VIIVOITETTU ALUE ! "_l1};
inline constexpr TextPair kSurfaceAreaIs{"^SURFACE AREA IS "_l1, "^PINTA-ALAN SUURUUS ON "_l1};
inline constexpr TextPair kSurfaceAreaEnd{" ! "_l1, " ! "_l1};
inline constexpr TextPair kFillingNotFound{"Filling not found !"_l1,
                                           "Leikkausviivoitusta ei löytynyt !"_l1};
inline constexpr TextPair kCountingFailed{"Counting not succeeded !"_l1,
                                          "Laskenta ei onnistunut !"_l1};

// Entries the border list holds, loop separators included.
inline constexpr std::size_t kMaxBorderEntries = 200;

// Alt+F1: a filling bounded by the lines shown. Closed lines and circles are loops by
// themselves; an open line is followed through the lines joined to it until its loop closes,
// or continued by hand from where the following stopped. A click away from every line, with no
// line shown yet, hatches the closed region round it at once.
class AddFilling final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  bool InnerStepOwnsKeys() const override { return step_ == Step::kType; }
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  enum class Step { kType, kBorder, kContinue };

  int ChooseType(Control& control, const CommandRow& row);
  void ShowBorder(Control& control);
  void Follow(Control& control, LineElement* line);
  void AskContinuation(Control& control);
  void ContinueByHand(Control& control);
  void EndContinuation(Control& control);
  void MakeFilling(Control& control);
  bool HatchRegion(Control& control);
  void Undo(Control& control);
  void UndoContinued(Control& control);
  bool Listed(const LineElement* line) const;
  void Append(Control& control, LineElement* line, const Point& end);
  bool AppendSeparator(Control& control);
  void RemoveLast(Control& control);
  void Mark(Control& control, const Point& at);
  void Unmark(Control& control);
  void ClearHighlights(Control& control);
  int End(Control& control, const CommandRow& row);

  Step step_ = Step::kType;
  TypeSelector selector_{PresetKind::kFilling};
  std::vector<LineElement*> border_;
  std::vector<Point> ends_; // the chain's end after each entry
  std::vector<LineElement*> undoBorder_;
  FillingElement* last_ = nullptr;
  std::vector<LineElement*> regionLines_; // the boundary made for the last filling by a click
  bool justMade_ = false;                 // the filling was made by the key before this one
  Point loopStart_{};
  Point end_{};
  bool marked_ = false;
  Point marker_{};
};

// Shift+F1: the surface area of the filling shown, in square drawing units.
class SurfaceArea final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  bool InnerStepOwnsKeys() const override { return step_ == Step::kResult; }
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  enum class Step { kShow, kResult };

  int Pick(Control& control);
  int Again(Control& control);
  void ShowPrompt(Control& control, bool waiting);
  void Release(Control& control);

  Step step_ = Step::kShow;
  FillingElement* found_ = nullptr;
};

} // namespace lumora
