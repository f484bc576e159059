// The line commands: Add line (open and closed lines by their vertices), Clone line (an offset
// copy through a shown position or at a typed distance), and Clip line and Delete part of line,
// one body that cuts a line at shown points and, for deleting, holds the cut-off piece back
// until the next key so that Backspace can bring it back.
#pragma once

#include "geometry/point.h"
#include "properties/type_selector.h"
#include "protocol/command.h"
#include "protocol/texts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

struct LineElement;

inline constexpr TextPair kAddingLine{"Adding line: "_l1, "Viivan lisäys: "_l1};
inline constexpr TextPair kAddingClosedLine{"Adding closed line: "_l1,
                                            "Suljetun viivan lisäys: "_l1};
inline constexpr TextPair kCloningLine{"Cloning line: "_l1, "Viivan kahdennus: "_l1};
inline constexpr TextPair kClippingLine{"Clipping line: "_l1, "Viivan leikkely: "_l1};
inline constexpr TextPair kDeletingPartOfLine{"Deleting part of line: "_l1,
                                              "Viivanosan poisto: "_l1};
inline constexpr TextPair kSelectTypeOfLine{"^SELECT TYPE OF LINE ! "_l1,
                                            "^VALITSE VIIVATYYPPI ! "_l1};
inline constexpr TextPair kEnterStartingPoint{"^ENTER STARTING POINT ! "_l1,
                                              "^OSOITA ALOITUS PISTE ! "_l1};
// The numbered vertex prompt: the number goes between the two halves.
inline constexpr TextPair kEnterVertexBefore{"^ENTER "_l1, "^OSOITA "_l1};
inline constexpr TextPair kEnterVertexAfter{". VERTEX ! "_l1, ". PISTE ! "_l1};
inline constexpr TextPair kShowLine{"^SHOW LINE ! "_l1, "^NÄYTÄ VIIVA ! "_l1};
inline constexpr TextPair kShowPartToDelete{"^SHOW PART TO BE DELETED ! "_l1,
                                            "^NÄYTÄ POISTETTAVA ! "_l1};
inline constexpr TextPair kEnterNewPosition{"^ENTER NEW POSITION ! "_l1,
                                            "^OSOITA UUDELLE VIIVALLE PAIKKA ! "_l1};
inline constexpr TextPair kWriteDistance{"^WRITE DISTANCE ? "_l1, "^ANNA ETÄISYYS ? "_l1};
inline constexpr TextPair kEnterClipPoint{"^ENTER POINT, WHERE TO BE CLIPPED ! "_l1,
                                          "^OSOITA LEIKKAUSKOHTA ! "_l1};
inline constexpr TextPair kEnterDeleteLimit{"^ENTER POINT, WHERE DELETING LIMITS ! "_l1,
                                            "^OSOITA LEIKKAUSKOHTA ! "_l1};
// The vertex table message exists in Finnish only and is shown so in both languages.
inline constexpr TextPair kPointTableFull{"Pistetaulukko täynnä !"_l1, "Pistetaulukko täynnä !"_l1};
inline constexpr TextPair kTooFewPoints{"Too few points !"_l1, "Liian vähän pisteitä !"_l1};
inline constexpr TextPair kNoLineFound{"No line found !"_l1, "Ei löydetty viivaa !"_l1};
inline constexpr TextPair kCloningFailed{"Cloning not succeeded !"_l1,
                                         "Kahdennus ei onnistunut !"_l1};
inline constexpr TextPair kMoreThanZero{"Have to be more than zero !"_l1,
                                        "Täytyy olla isompi kuin nolla !"_l1};
inline constexpr TextPair kNoClipPointFound{"No clipping point found !"_l1,
                                            "Ei löydetty leikkaus pistettä !"_l1};
inline constexpr TextPair kNoClipPoints{"No clipping points !"_l1, "Ei leikattavaa !"_l1};

// Most clipping points one cut takes.
inline constexpr std::size_t kMaxClipPoints = 200;

// Pick radii in search units.
inline constexpr double kClonePickRadius = 3.0;
inline constexpr double kClonePositionRadius = 100.0;
inline constexpr double kClipPickRadius = 2.0;

// F1: lines by their vertices.
class AddLine final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  bool InnerStepOwnsKeys() const override { return step_ == Step::kType; }
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  enum class Step { kType, kVertices };

  int ChooseType(Control& control, const CommandRow& row);
  void TakeVertex(Control& control);
  void MakeLine(Control& control, bool close);
  void ShowPrompt(Control& control, bool waiting);

  Step step_ = Step::kType;
  TypeSelector selector_{PresetKind::kLine};
  LineElement* last_ = nullptr; // the line made last, until Backspace takes it back
  std::uint32_t savedShape_ = 0;
  std::vector<Point> savedPoints_;
};

// Ctrl+F1: an offset copy of a shown line.
class CloneLine final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  bool InnerStepOwnsKeys() const override {
    return step_ == Step::kType || step_ == Step::kDistance;
  }
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  enum class Step { kType, kShowLine, kPosition, kDistance };

  int ChooseType(Control& control, const CommandRow& row);
  int Take(Control& control, const CommandRow& row);
  void Pick(Control& control);
  void Position(Control& control);
  int Distance(Control& control, const CommandRow& row);
  int Undo(Control& control);
  int End(Control& control, const CommandRow& row);
  void AskPosition(Control& control);
  void AskLine(Control& control, bool waiting);
  void DropPick(Control& control);
  void MakeClone(Control& control, double distance);

  Step step_ = Step::kType;
  TypeSelector selector_{PresetKind::kLine};
  LineElement* picked_ = nullptr;
  LineElement* previous_ = nullptr; // the line cloned last, picked again by Backspace
  LineElement* lastClone_ = nullptr;
  Point pickPoint_{};
  Point nearest_{};
  bool marked_ = false; // the '+' at the pick point is on screen
  double typed_ = 0.0;
};

// Shift+F2 and Alt+F4: clipping a line at points, or deleting the part between two limits.
class ClipLine final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  enum class Step { kShowLine, kPoints };

  bool Deleting() const;
  void Pick(Control& control);
  void TakePoint(Control& control);
  void Cut(Control& control);
  int Undo(Control& control);
  void Release(Control& control);
  void HoldBack(Control& control, int pieces);
  void DropHeldPiece(Control& control);
  void ReleaseSteps(Control& control);
  void AskLine(Control& control, bool waiting);

  Step step_ = Step::kShowLine;
  int code_ = 0;
  LineElement* picked_ = nullptr;
  Point pickPoint_{};
  std::vector<Point> cuts_;
  LineElement* held_ = nullptr; // the deleted part, hidden until the next key
  // The cut and the deletion of its piece are one step: the journal holds its steps while a
  // piece waits hidden.
  bool holding_ = false;
  bool heldBefore_ = false;
};

// What the line commands share: the prompt with a text between two halves, and a picked line
// shown in its own look again.
void SetNumberedPrompt(Control& control, const TextPair& title, const TextPair& before, int number,
                       const TextPair& after);
void ShowNormally(Control& control, LineElement& line);

} // namespace lumora
