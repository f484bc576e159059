// The part commands: placing part files and drawings (Ctrl+F6, Alt+F6), saving a part
// (Ctrl+F7) and dissolving parts into loose elements (Shift+F8).
#pragma once

#include "protocol/command.h"
#include "ui/ask_state.h"
#include "ui/ask_yes_no.h"

namespace lumora {

struct PartElement;

inline constexpr TextPair kRemovePartTitle{"Removing of definition of part: "_l1,
                                           "Osa-käsitteiden purku: "_l1};
inline constexpr TextPair kNoPartsPrompt{"^THERE ARE NO PARTS IN DRAWING ! "_l1,
                                         "^KUVASSA EI OSIA ! "_l1};
inline constexpr TextPair kNoParts{"There are no parts in drawing !"_l1,
                                   "Kuvassa ei ole osia !"_l1};
inline constexpr TextPair kAllRemoved{"^ARE ALL REMOVED ? "_l1, "^PURETAANKO KAIKKI ? "_l1};
inline constexpr TextPair kRemoveQuestion{"Do we remove definition of part ?"_l1,
                                          "Tuhotaanko osa-käsitteet ?"_l1};
inline constexpr TextPair kShowPart{"^SHOW PART ! "_l1, "^NÄYTÄ OSA ! "_l1};
inline constexpr TextPair kNoPartFound{"No part found !"_l1, "Ei löydetty osaa !"_l1};

// Dissolves all parts, or the ones shown one by one: the part records go, their members stay
// as loose elements.
class RemovePartDefinition final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  enum class Step { kNotice, kQuestion, kShow };
  int Ask(Control& control);
  int Show(Control& control);
  int Forget(Control& control);
  void DissolvePending(Control& control);
  void ReleaseSteps(Control& control);

  Step step_ = Step::kQuestion;
  // Parts dissolved one by one are one step, however many: the journal holds its steps from
  // the first part shown until the command ends.
  bool holding_ = false;
  bool heldBefore_ = false;
  AskYesNo question_;
  SavedPromptState noticeSaved_;
  PartElement* pending_ = nullptr;
};

} // namespace lumora

#include "commands/file_commands.h"
#include "files/placement.h"
#include "geometry/point.h"

#include <vector>

namespace lumora {

inline constexpr TextPair kEnterLocation{"^ENTER LOCATION ! "_l1, "^OSOITA PAIKKA ! "_l1};
inline constexpr TextPair kAlreadyHere{"Already on this place !"_l1, "On jo tässä paikassa !"_l1};

// Results of placing inside the copy of an area.
inline constexpr int kCopyPlaced = 1;
inline constexpr int kCopyTakenBack = -1;
inline constexpr int kCopyCancelled = 0;

// Chooses part files (or drawings, or scripts) and places them at the cursor with the part
// attributes, again and again: add part leaves each placement as a typed part named by the
// file, add drawing as loose elements. The copy of an area runs the same placing on the
// temporary part file.
class PartPlacer {
public:
  // Add part (code kCodeAddPart) or add drawing (kCodeAddDrawing): from the file list.
  int Begin(Control& control, int code);
  // The copy of an area: the temporary part, whose elements stand at `location`; `moving` says
  // the copy may land on the elements' own place (the source is deleted).
  // The file keeps no part's location: `nested` carries those of the parts nested in the copied
  // set beside it, relative to `location`, in the order the file holds them.
  int BeginCopy(Control& control, const Point& location, bool moving,
                std::vector<Point> nested = {});
  // One code. kStillRunning; then kFinished (a command) or kCopyPlaced, kCopyTakenBack or
  // kCopyCancelled (the copy of an area).
  int Run(Control& control);
  PartElement* LastPlaced() const { return lastPlaced_; }

private:
  enum class Step { kFile, kScript, kLocation };
  int AskFile(Control& control);
  int FileChosen(Control& control, int result);
  int RunScript(Control& control);
  int ScriptRan(Control& control);
  int ToLocation(Control& control, const Box& box);
  int Location(Control& control);
  int Enter(Control& control);
  int Tab(Control& control);
  int TakeBack(Control& control);
  bool SameAsBefore(const Control& control, const Placement& at) const;
  Placement Here(const Control& control, const Point& at) const;
  bool Place(Control& control, const Placement& at);
  void PlaceNested(Control& control, const PartElement& placed, const Placement& at);
  void DissolveLast(Control& control);
  void DropScriptGroup(Control& control);
  int End(Control& control, int result);
  bool ForCopy() const { return code_ == kCodeCopy; }

  Step step_ = Step::kFile;
  int code_ = kCodeAddPart;
  AskFileName dialog_;
  FileDialogArgs args_;
  FileTitle title_;
  FileTitle header_;
  std::string path_;
  std::string partName_;
  PartElement* lastPlaced_ = nullptr;
  bool placed_ = false;
  bool holding_ = false; // an added drawing is one step from its first placement to the end
  Placement previous_;
  PartElement* scriptGroup_ = nullptr;
  bool moving_ = false;
  std::vector<Point> nested_;
};

class AddPart final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  int Ended(Control& control, const CommandRow& row, int result);
  PartPlacer placer_;
};

} // namespace lumora

#include "commands/element_selection.h"

namespace lumora {

inline constexpr TextPair kEnterPositioning{"^ENTER POINT FOR POSITIONING ! "_l1,
                                            "^OSOITA SIJOITUSPISTE ! "_l1};

// Writes a set of elements as a part file with a reference point as its origin; the drawing
// stays as it was, and the next set can be gathered until Esc.
class SavePart final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  bool InnerStepOwnsKeys() const override { return step_ != Step::kReference; }
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  enum class Step { kSelect, kReference, kName };
  int Select(Control& control, const CommandRow& row);
  int Reference(Control& control, const CommandRow& row);
  int Named(Control& control, const CommandRow& row, int result);
  void Restart(Control& control);
  void RemoveMarker(Control& control);
  int End(Control& control, const CommandRow& row);

  Step step_ = Step::kSelect;
  ElementSelection selection_;
  FileTitle title_;
  AskFileName dialog_;
  FileDialogArgs args_;
  std::string path_;
  Point reference_{0.0, 0.0};
  bool marked_ = false;
};

} // namespace lumora
