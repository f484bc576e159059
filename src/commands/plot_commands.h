// The plotting commands: Print writes the plot page of the drawing, Scale changes the drawing's
// scale keeping its sheet the same size on paper, Plotting area changes the sheet. The new
// sheet is placed as a paper outline where it does not fit the view.
#pragma once

#include "commands/help_view.h"
#include "protocol/command.h"
#include "ui/ask_yes_no.h"

#include <string>
#include <vector>

namespace lumora {

inline constexpr TextPair kPrintingTitle{"Printing: "_l1, "Tulostus: "_l1};
inline constexpr TextPair kPrinting{"Printing ?"_l1, "Tulostus ?"_l1};
inline constexpr TextPair kNoPlotter{"No plotter found !"_l1, "Ei löydetty piirturia !"_l1};
inline constexpr TextPair kSelectScale{"^SELECT SCALE ! "_l1, "^VALITSE MITTAKAAVA ! "_l1};
inline constexpr TextPair kChangingScale{"Changing scale: "_l1, "Mittakaavan muutto: "_l1};
inline constexpr TextPair kWriteScale{"^WRITE SCALE ? "_l1, "^ANNA MITTAKAAVA ? "_l1};
inline constexpr TextPair kKeptProportionally{"^IS DRAWING KEPT PROPERTIONALLY THE SAME ? "_l1,
                                              "^SÄILYTETÄÄNKÖ KUVA SUHTEELLISESTI SAMANA ? "_l1};
inline constexpr TextPair kProportionalChange{"Proportional change ?"_l1,
                                              "Suhteellinen muutos ?"_l1};
inline constexpr TextPair kShouldBeMoreThanZero{"Should be more than zero !"_l1,
                                                "Täytyy olla isompi kuin nolla !"_l1};
inline constexpr TextPair kSelectArea{"^SELECT SIZE OF PLOTTING AREA ! "_l1,
                                      "^VALITSE TULOSTUS ALUEEN KOKO ! "_l1};
inline constexpr TextPair kChangingArea{"Changing size of plotting area: "_l1,
                                        "Tulostus alueen muutto: "_l1};
inline constexpr TextPair kWriteArea{"^WRITE SIZE OF PLOTTING AREA ? "_l1,
                                     "^ANNA TULOSTUS ALUEEN KOKO ? "_l1};

// Print (F8): asks, and on yes plots the drawing.
class Print final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  int Ask(Control& control);

  AskYesNo question_;
};

// Plots what the view shows of the drawing to the page output, as PLOTS/<name>.pdf. True when
// the page was written; a failure has been told.
bool PlotToPage(Control& control);

// What Scale and Plotting area share: the list, the typed value, the paper placed, the change
// applied, and the cursor brought back onto the sheet.
class SheetCommand : public Command {
protected:
  enum class Step { kList, kTyping, kPlacing, kQuestion };

  int Continue(Control& control, const CommandRow& row) final;

  // Opens the list of the rows at the row of the current value; without rows, the typing.
  int OpenList(Control& control, const CommandRow& row, std::vector<std::string> names,
               int initial);
  // The row chosen from the list (not the last); the last row starts the typing.
  virtual int Listed(Control& control, const CommandRow& row, int index) = 0;
  virtual int StartTyping(Control& control, const CommandRow& row) = 0;
  virtual int Typing(Control& control, const CommandRow& row) = 0;
  // The paper of the new sheet is placed; false: ended without a change.
  virtual int Placed(Control& control, const CommandRow& row) = 0;
  virtual int Question(Control& control, const CommandRow& row);
  // The title while the paper is placed.
  virtual const TextPair& PlaceTitle() const = 0;

  // Places the new sheet as a paper outline.
  int Place(Control& control, const CommandRow& row);
  // The sheet becomes the new one: view, plotter set-up, repaint.
  void TakeSheet(Control& control);
  int End(Control& control, const CommandRow& row);

  Step step_ = Step::kList;
  Box sheet_{};
  std::vector<std::string> names_;
  int initial_ = 0;

private:
  PlacePaper paper_;
};

// Scale (Ctrl+F8).
class ScaleCommand final : public SheetCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Listed(Control& control, const CommandRow& row, int index) override;
  int StartTyping(Control& control, const CommandRow& row) override;
  int Typing(Control& control, const CommandRow& row) override;
  int Placed(Control& control, const CommandRow& row) override;
  int Question(Control& control, const CommandRow& row) override;
  const TextPair& PlaceTitle() const override { return kChangingScale; }

private:
  int Take(Control& control, const CommandRow& row, double scale);
  void Apply(Control& control, bool proportional);

  double newScale_ = 1.0;
  double typed_ = 0.0;
  AskYesNo question_;
};

// Plotting area (Alt+F8).
class PlotAreaCommand final : public SheetCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Listed(Control& control, const CommandRow& row, int index) override;
  int StartTyping(Control& control, const CommandRow& row) override;
  int Typing(Control& control, const CommandRow& row) override;
  int Placed(Control& control, const CommandRow& row) override;
  const TextPair& PlaceTitle() const override { return kChangingArea; }

private:
  int Take(Control& control, const CommandRow& row, double width, double height);

  double width_ = 0.0; // the sheet on paper, millimetres
  double height_ = 0.0;
  double typedWidth_ = 0.0;
  double typedHeight_ = 0.0;
};

} // namespace lumora
