// Stretching (F5) and copying or moving (Ctrl+F5) a set of elements gathered by areas and
// picks. Each takes back its last step with Backspace by writing back what it saved, never by
// doing the opposite change.
#pragma once

#include "commands/element_selection.h"
#include "commands/element_snapshot.h"
#include "commands/part_commands.h"
#include "geometry/primitives.h"

#include <array>
#include <string>
#include <vector>

namespace lumora {

struct LineElement;
struct TextElement;
class ElementGeometry;
class ElementStore;

inline constexpr TextPair kStretchTitle{"Stretching: "_l1, "Venytys: "_l1};
inline constexpr TextPair kCopyTitle{"Coping of elements of area: "_l1, "Alueen monistus: "_l1};
inline constexpr TextPair kEnterStretchPoint{"^ENTER POINT TO BE STRETCHED ! "_l1,
                                             "^OSOITA SIJOITUSPISTE ! "_l1};
inline constexpr TextPair kEnterNewLocation{"^ENTER NEW LOCATION ! "_l1,
                                            "^OSOITA UUSI PAIKKA ! "_l1};
inline constexpr TextPair kOriginalDeleted{"^IS ORIGINAL DELETED ? "_l1,
                                           "^TUHOTAANKO ALKUPERÄINEN ? "_l1};
inline constexpr TextPair kOriginalDeletedNote{"Original deleted ?"_l1,
                                               "Tuhotaanko alkuperäinen ?"_l1};

// Every member of the set drawn highlighted.
void HighlightGroup(ElementStore& store, const PartElement& group);

using AreaCorners = std::array<Point, 4>;

class Stretch final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  bool InnerStepOwnsKeys() const override { return step_ == Step::kSelect; }
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  enum class Step { kSelect, kPoint, kLocation };
  int Select(Control& control, const CommandRow& row);
  int StretchPoint(Control& control);
  int NewLocation(Control& control);
  int TakeBack(Control& control);
  void ToPointStep(Control& control);
  void ToLocationStep(Control& control);
  void ShowOutline(Control& control);
  void HideOutline(Control& control);
  void RemoveMarker(Control& control);
  void ForgetPrevious(Control& control);
  void DropGroup(Control& control);
  int End(Control& control, const CommandRow& row);

  Step step_ = Step::kSelect;
  ElementSelection selection_;
  PartElement* group_ = nullptr;
  AreaCorners area_{};
  int areaCount_ = 0;
  bool outlined_ = false;
  Point point_{0.0, 0.0};
  bool marked_ = false;
  // The last stretch, until the next set is begun.
  PartElement* previous_ = nullptr;
  AreaCorners previousArea_{};
  int previousCount_ = 0;
  ElementSnapshot before_;
};

class CopyArea final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  bool InnerStepOwnsKeys() const override { return step_ != Step::kReference; }
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  enum class Step { kSelect, kReference, kQuestion, kPlacing };
  // One gathered set with what became of it: the answer to the question and the copies placed.
  struct Round {
    PartElement* group = nullptr;
    AreaCorners area{};
    int areaCount = 0;
    bool move = false;
    std::vector<PartElement*> copies;
  };
  int Select(Control& control, const CommandRow& row);
  int Reference(Control& control);
  int Question(Control& control, const CommandRow& row);
  int Placing(Control& control, const CommandRow& row);
  int TakeBackRound(Control& control);
  void FollowPlacer();
  void FinishRound(Control& control, Round& round);
  void ShowSources(Control& control, PartElement& group);
  void HideSources(Control& control, PartElement& group);
  void Highlight(Control& control, const PartElement& group);
  void RemoveMarker(Control& control);
  int End(Control& control, const CommandRow& row);

  Step step_ = Step::kSelect;
  ElementSelection selection_;
  Round current_;
  Round previous_;
  bool hasPrevious_ = false;
  Point reference_{0.0, 0.0};
  std::vector<Point> nested_; // nested parts' locations relative to the reference point
  bool marked_ = false;
  AskYesNo question_;
  PartPlacer placer_;
  PartElement* seen_ = nullptr;
};

} // namespace lumora
