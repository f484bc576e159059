// The commands that change or remove elements already drawn: Delete element (Ctrl+F4), Delete
// elements of area (Shift+F4) and Edit element (F4). What they remove is first only hidden and
// goes for good with the next key; Backspace before that brings it back. An edit is taken back
// by writing back the state it saved, never by an inverse change.
#pragma once

#include "commands/element_snapshot.h"
#include "element_geometry/element_geometry.h"
#include "protocol/command.h"

#include <cstdint>
#include <string>

namespace lumora {

inline constexpr TextPair kDeletingElement{"Deleting element: "_l1, "Alkion poisto: "_l1};
inline constexpr TextPair kShowToBeDeleted{"^SHOW ONE TO BE DELETED ! "_l1,
                                           "^NÄYTÄ POISTETTAVA ! "_l1};
inline constexpr TextPair kDeletingArea{"Deleting elements of area: "_l1,
                                        "Alkioiden poisto alueelta: "_l1};
inline constexpr TextPair kNoElementsFound{"No elements found !"_l1, "Ei löytynyt alkioita !"_l1};
inline constexpr TextPair kEditingElement{"Editing element: "_l1, "Alkion korjaus: "_l1};
inline constexpr TextPair kShowToBeFixed{"^SHOW ONE TO BE FIXED ! "_l1, "^NÄYTÄ KORJATTAVA ! "_l1};
inline constexpr TextPair kEditingLine{"Editing line: "_l1, "Viivan korjaus: "_l1};
inline constexpr TextPair kEditingFilling{"Editing filling: "_l1,
                                          "Leikkausviivoituksen korjaus: "_l1};
inline constexpr TextPair kDoFixings{"^DO FIXINGS ! "_l1, "^SUORITA KORJAUKSET ! "_l1};
inline constexpr TextPair kDoFixingsOfText{
    "^DO FIXINGS (<ctrl+enter> correct string) ! "_l1,
    "^SUORITA KORJAUKSET (<ctrl+enter> korjaa tekstiä) ! "_l1};
inline constexpr TextPair kEditTextString{"^EDIT STRING ! "_l1, "^KORJAA TEKSTI ! "_l1};
inline constexpr TextPair kNoEditingPoint{"No editing point found !"_l1,
                                          "Ei löydetty korjattavaa pistettä !"_l1};
inline constexpr TextPair kNotAllowedLocation{"Not allowed location !"_l1,
                                              "Ei sallittu sijainti !"_l1};

// Pick radius of the edit and delete commands, in search units.
inline constexpr double kEditPickRadius = 2.0;

// What the delete commands share: an element or a whole group taken off the screen and hidden
// (a line's fillings with it), or shown again; and deleted for good with the parts holding it
// renewed.
void HideElement(Control& control, const Picked& picked);
void UnhideElement(Control& control, const Picked& picked);
void HideGroup(Control& control, PartElement& group);
void UnhideGroup(Control& control, PartElement& group);
void DeleteElementForGood(Control& control, Picked& picked);

// Ctrl+F4: removes the element shown, one at a time.
class DeleteElement final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  int Show(Control& control);
  int BringBack(Control& control);
  void DeletePending(Control& control);

  Picked pending_; // hidden until the next key
};

// Shift+F4: removes what lies wholly inside a rectangle.
class DeleteArea final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  int Corner(Control& control);
  int SecondCorner(Control& control);
  int BringBack(Control& control);
  void DeletePending(Control& control);
  void RubberBand(Control& control, int points);
  int End(Control& control, const CommandRow& row);

  PartElement* pending_ = nullptr; // the group of what was inside, hidden until the next key
};

// F4: changes the attributes of an element and moves one of its points, its location or the
// whole part; Backspace right after takes the change back.
class EditElement final : public DrawingCommand {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Act(Control& control, const CommandRow& row) override;
  int Back(Control& control, const CommandRow& row) override;
  int Complete(Control& control, const CommandRow& row) override;
  int Alternative(Control& control, const CommandRow& row) override;
  int Cancel(Control& control, const CommandRow& row) override;

private:
  enum class Step { kPick, kFixing, kString };

  int AskPick(Control& control, bool waiting);
  int Pick(Control& control);
  int PickLine(Control& control);
  int PickFilling(Control& control);
  int PickText(Control& control);
  int PickPart(Control& control);
  int Undo(Control& control);
  int Abandon(Control& control);
  int Commit(Control& control, bool enter);
  void CommitLine(Control& control, bool enter);
  void CommitFilling(Control& control);
  void CommitText(Control& control, bool enter);
  void CommitPart(Control& control, bool enter);
  int AskString(Control& control);
  int ToString(Control& control);
  int ToFixing(Control& control, const TextPair& prompt);
  void ShowFixing(Control& control, const TextPair& prompt);
  TextPair Header() const;
  void Unmark(Control& control);
  void Release(Control& control);
  int End(Control& control, const CommandRow& row);

  Step step_ = Step::kPick;
  Picked edited_;          // being edited, or edited last while the undo holds
  bool committed_ = false; // the last commit can still be taken back
  Point point_{0.0, 0.0};  // the editing point
  int index_ = 0;          // of the point, for a line
  bool marked_ = false;    // the "O" marker is on the editing point
  std::uint32_t savedShape_ = 0;
  std::string string_; // the text's string as edited
  bool stringEdited_ = false;
  std::string enHeader_; // the text's or part's header, by language
  std::string fiHeader_;
  ElementSnapshot undo_;
};

} // namespace lumora
