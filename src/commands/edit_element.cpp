#include "commands/edit_commands.h"
#include "commands/element_selection.h"
#include "commands/filling_commands.h"
#include "commands/text_placing.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "properties/current_properties.h"
#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "protocol/window_services.h"
#include "sound/my_beep.h"
#include "text/place_text.h"
#include "text/text_layout.h"
#include "ui/ask_text.h"
#include "util/overloaded.h"

#include <array>
#include <cstring>

namespace lumora {
namespace {

constexpr char kEditMarker = 'O';
constexpr std::size_t kShortName = 17;
constexpr int kOutlinePoints = 5;

bool KeyEvent(const Control& control) {
  return control.In().rawKey != kRawNone && control.In().code != kContinueTick;
}

// The part's box follows the cursor, held as offsets from its location.
void CarryPartBox(Control& control, const PartElement& part) {
  const Box& b = part.box;
  const Point& o = part.location;
  InputRecord& in = control.In();
  in.previewKind = kPreviewShape;
  in.pointCount = kOutlinePoints;
  in.points[0] = {b.xmin - o.x, b.ymin - o.y};
  in.points[1] = {b.xmax - o.x, b.ymin - o.y};
  in.points[2] = {b.xmax - o.x, b.ymax - o.y};
  in.points[3] = {b.xmin - o.x, b.ymax - o.y};
  in.points[4] = in.points[0];
}

} // namespace

int EditElement::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  // Backspace on an empty string and Ctrl+Enter in it come back to the command.
  control.state.backAllowed = true;
  edited_ = Picked{};
  committed_ = false;
  undo_.Clear();
  return AskPick(control, false);
}

int EditElement::AskPick(Control& control, bool waiting) {
  step_ = Step::kPick;
  control.state.elementType = kElementNone;
  DropPreview(control);
  SetPrompt(control, kEditingElement, kShowToBeFixed);
  if (waiting) Beep(control, kSoundWaiting);
  return kStillRunning;
}

TextPair EditElement::Header() const {
  return {enHeader_, fiHeader_};
}

void EditElement::ShowFixing(Control& control, const TextPair& prompt) {
  step_ = Step::kFixing;
  SetPrompt(control, Header(), prompt);
}

void EditElement::Unmark(Control& control) {
  if (marked_) control.store.RemoveMarker(point_);
  marked_ = false;
}

// The element shown is no longer highlighted; the marker and the cursor's preview go.
void EditElement::Release(Control& control) {
  Unmark(control);
  DropPreview(control);
  control.store.ShowHighlightedNormally();
}

// ---- The pick step ----

int EditElement::Pick(Control& control) {
  // A new pick ends the chance to take the last commit back.
  committed_ = false;
  undo_.Clear();
  const Picked picked = Geometry(control).PickElement(control.In().cursor, kEditPickRadius, false);
  if (!PickedAny(picked)) {
    Message(control, kSoundError, kNoElementFound);
    Beep(control, kSoundWaiting);
    return kStillRunning;
  }
  Beep(control, kSoundKey);
  edited_ = picked;
  ElementStore& store = control.store;
  return std::visit(Overloaded{[&](std::monostate) { return kStillRunning; },
                               [&](LineElement* line) {
                                 store.Select(line);
                                 return PickLine(control);
                               },
                               [&](FillingElement* filling) {
                                 store.Select(filling);
                                 return PickFilling(control);
                               },
                               [&](TextElement* text) {
                                 store.Select(text);
                                 return PickText(control);
                               },
                               [&](PartElement*) { return PickPart(control); }},
                    picked);
}

int EditElement::PickLine(Control& control) {
  LineElement& line = *PickedAs<LineElement>(edited_);
  Point vertex;
  int index = 0;
  if (Geometry(control).NearestVertex(line, control.In().cursor, vertex, index, kEditPickRadius) ==
      0) {
    Release(control);
    Message(control, kSoundError, kNoEditingPoint);
    edited_ = Picked{};
    return AskPick(control, true);
  }
  InputRecord& in = control.In();
  point_ = vertex;
  index_ = index;
  in.cursor = vertex;
  PropertySet& current = control.properties.line;
  UnpackLine(line, current, PackFields::kPlain);
  savedShape_ = line.shape();
  current.SetShape(kShapeOpen);
  in.attributes = current;
  control.store.AddMarker(point_, kEditMarker);
  marked_ = true;
  RubberLineFrom(control, point_);
  control.state.elementType = kElementLine;
  enHeader_ = std::string(kEditingLine.en);
  fiHeader_ = std::string(kEditingLine.fi);
  ShowFixing(control, kDoFixings);
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int EditElement::PickFilling(Control& control) {
  UnpackFilling(*PickedAs<FillingElement>(edited_), control.properties.filling, PackFields::kPlain);
  control.state.elementType = kElementFilling;
  enHeader_ = std::string(kEditingFilling.en);
  fiHeader_ = std::string(kEditingFilling.fi);
  ShowFixing(control, kDoFixings);
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int EditElement::PickText(Control& control) {
  TextElement& text = *PickedAs<TextElement>(edited_);
  InputRecord& in = control.In();
  point_ = text.pointCount() > 0 && text.points != nullptr ? text.points[0] : in.cursor;
  string_ = std::string(TextOf(text));
  stringEdited_ = false;
  in.cursor = point_;
  UnpackText(text, control.properties.text, PackFields::kPlain);
  TakeTextAttributes(control);
  CarryTextOutline(control, string_);
  control.store.AddMarker(point_, kEditMarker);
  marked_ = true;
  control.state.elementType = kElementText;
  const std::string shown = Shortened(string_, kShortName);
  enHeader_ = "Editing text '^" + shown + "^': ";
  fiHeader_ = "Tekstin '^" + shown + std::string("^' korjaus: "_l1);
  ShowFixing(control, kDoFixingsOfText);
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int EditElement::PickPart(Control& control) {
  PartElement& part = *PickedAs<PartElement>(edited_);
  control.store.Select(&part);
  point_ = part.location;
  control.In().cursor = point_;
  control.store.AddMarker(point_, kEditMarker);
  marked_ = true;
  CarryPartBox(control, part);
  control.properties.part.partBox = part.box;
  control.state.elementType = kElementPart;
  const std::string name(part.name, strnlen(part.name, sizeof part.name));
  const std::string shown = Shortened(name, kShortName);
  enHeader_ = "Editing part '^" + shown + "^': ";
  fiHeader_ = "Osan '^" + shown + std::string("^' korjaus: "_l1);
  ShowFixing(control, kDoFixings);
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int EditElement::Undo(Control& control) {
  if (!committed_) {
    Message(control, kSoundError, kNothingToBeDone);
    Beep(control, kSoundWaiting);
    return kStillRunning;
  }
  Beep(control, kSoundKey);
  undo_.Restore(Geometry(control));
  ++control.drawing.changes;
  committed_ = false;
  edited_ = Picked{};
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

// Backspace in the fixing or string step: the element stays as it was and nothing can be taken
// back.
int EditElement::Abandon(Control& control) {
  Beep(control, kSoundKey);
  if (PickedAs<LineElement>(edited_) != nullptr) control.properties.line.SetShape(savedShape_);
  Release(control);
  edited_ = Picked{};
  committed_ = false;
  undo_.Clear();
  return AskPick(control, true);
}

// ---- Committing ----

int EditElement::Commit(Control& control, bool enter) {
  if (enter && PickedAs<LineElement>(edited_) != nullptr &&
      (savedShape_ == kShapeArc || savedShape_ == kShapeCircle)) {
    const LineElement& line = *PickedAs<LineElement>(edited_);
    if (line.points != nullptr && line.ps0() > 0 &&
        SamePoint(control.In().cursor, line.points[0]) != 0) {
      Message(control, kSoundError, kNotAllowedLocation);
      Beep(control, kSoundWaiting);
      return kStillRunning;
    }
  }
  Beep(control, kSoundKey);
  undo_.Clear();
  Unmark(control);
  std::visit(Overloaded{[](std::monostate) {}, [&](LineElement*) { CommitLine(control, enter); },
                        [&](FillingElement*) { CommitFilling(control); },
                        [&](TextElement*) { CommitText(control, enter); },
                        [&](PartElement*) { CommitPart(control, enter); }},
             edited_);
  Release(control);
  ++control.drawing.changes;
  committed_ = true;
  return AskPick(control, true);
}

void EditElement::CommitLine(Control& control, bool enter) {
  LineElement& line = *PickedAs<LineElement>(edited_);
  ElementGeometry& geometry = Geometry(control);
  undo_.Take(line);
  geometry.Store().Keep(line);
  geometry.Store().painter().Draw(line, DrawMode::kErase);
  PropertySet& current = control.properties.line;
  current.SetShape(savedShape_);
  PackLine(current, line, PackFields::kPlain);
  geometry.ElementChanged(line);
  geometry.Store().painter().Draw(line, DrawMode::kNormal);
  if (enter) geometry.MoveVertex(line, index_, control.In().cursor);
}

void EditElement::CommitFilling(Control& control) {
  FillingElement& filling = *PickedAs<FillingElement>(edited_);
  undo_.Take(filling);
  undo_.TakeHolders(control.drawing, &filling);
  control.store.Keep(filling);
  // The old hatch goes with the old gap and angle, before the new ones are packed in.
  ElementGeometry& geometry = Geometry(control);
  geometry.Store().painter().Draw(filling, DrawMode::kErase);
  control.store.ClearHatch(filling);
  PackFilling(control.properties.filling, filling, PackFields::kPlain);
  // Renewing the filling drops its cached hatch and draws it anew; a gap too fine for its
  // boundary leaves it without hatch, and the user is told so.
  geometry.ElementChanged(filling);
  if (geometry.BuildHatch(filling) == HatchStatus::kTooDense)
    Message(control, kSoundError, kTooDenseFilling);
  DrawBoundary(geometry, filling);
}

void EditElement::CommitText(Control& control, bool enter) {
  TextElement& text = *PickedAs<TextElement>(edited_);
  ElementGeometry& geometry = Geometry(control);
  undo_.Take(text);
  undo_.TakeHolders(control.drawing, &text);
  control.store.Keep(text);
  geometry.Store().painter().Draw(text, DrawMode::kErase);
  PackText(control.properties.text, text, PackFields::kPlain);
  // Without string editing the string is left exactly as it is.
  if (stringEdited_) {
    ReplaceString(control.drawing, control.store.allocator(), geometry.Environment(), text,
                  string_);
  }
  if (enter && text.pointCount() > 0 && text.points != nullptr) {
    text.points[0] = control.In().cursor;
  }
  geometry.ElementChanged(text);
  geometry.Store().painter().Draw(text, DrawMode::kNormal);
}

void EditElement::CommitPart(Control& control, bool enter) {
  PartElement& part = *PickedAs<PartElement>(edited_);
  undo_.Take(part);
  undo_.TakeHolders(control.drawing, &part);
  const Point to = enter ? control.In().cursor : part.location;
  const PropertySet& set = control.properties.part;
  const std::array<Point, 0> noStretch{};
  Geometry(control).TransformGroup(part, noStretch, part.location, to, set.partSx, set.partSy,
                                   set.partAngle);
}

// ---- The string step ----

int EditElement::ToString(Control& control) {
  step_ = Step::kString;
  DropPreview(control);
  SetPrompt(control, Header(), kEditTextString);
  return AskString(control);
}

int EditElement::AskString(Control& control) {
  const bool opening = control.state.inputMode != kModeTextEntry;
  // The entry takes a text's whole length, not only what a new text may be typed with.
  // A measure's text is one line, whatever the size of the text window.
  const AskTextArgs args{Header(), kEditTextString, kMaxTextLength + 1,
                         control.properties.text.mitta() != 0};
  const int result = AskText(control, control.prompts, args, string_);
  if (result == kStillRunning) return kStillRunning;
  // An entry that could not open would be asked for again and again: back to fixing.
  if (opening) return ToFixing(control, kDoFixingsOfText);
  switch (result) {
  case kEntryEsc:
    return Cancel(control, control.Slot(Level::kMain).row);
  case kEntryBack:
    return Abandon(control);
  case kTextAcceptedEmpty:
    if (string_.empty()) {
      Message(control, kSoundError, kNoString);
      return AskString(control);
    }
    [[fallthrough]];
  case kEntryAccepted:
    stringEdited_ = true;
    return ToFixing(control, kDoFixings);
  default:
    return AskString(control);
  }
}

int EditElement::ToFixing(Control& control, const TextPair& prompt) {
  TakeTextAttributes(control);
  CarryTextOutline(control, string_);
  ShowFixing(control, prompt);
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

// ---- Keys ----

int EditElement::Act(Control& control, const CommandRow& /*row*/) {
  if (step_ == Step::kString) return AskString(control);
  const InputRecord& in = control.In();
  if (step_ == Step::kFixing) {
    if (in.code == kCodeEnter) return Commit(control, true);
    // The attributes changed under a text: so does the outline the cursor carries.
    if (in.code == kCodePropertiesChanged) {
      if (PickedAs<TextElement>(edited_) != nullptr) {
        TakeTextAttributes(control);
        CarryTextOutline(control, string_);
      }
      if (PickedAs<LineElement>(edited_) != nullptr)
        control.In().attributes = control.properties.line;
      return kStillRunning;
    }
    return KeyEvent(control) ? NotInUse(control) : kStillRunning;
  }
  if (in.code == kCodeEnter) return Pick(control);
  if (!KeyEvent(control) || in.code == kCodePropertiesChanged) return kStillRunning;
  committed_ = false;
  undo_.Clear();
  return NotInUse(control);
}

int EditElement::Complete(Control& control, const CommandRow& /*row*/) {
  if (step_ == Step::kFixing) return Commit(control, false);
  return Pick(control);
}

int EditElement::Back(Control& control, const CommandRow& /*row*/) {
  if (step_ == Step::kPick) return Undo(control);
  if (PickedAs<TextElement>(edited_) != nullptr && stringEdited_) {
    Beep(control, kSoundKey);
    return ToString(control);
  }
  return Abandon(control);
}

int EditElement::Alternative(Control& control, const CommandRow& /*row*/) {
  if (step_ == Step::kPick) return Undo(control);
  if (PickedAs<TextElement>(edited_) != nullptr) {
    Beep(control, kSoundKey);
    return ToString(control);
  }
  return Abandon(control);
}

int EditElement::Cancel(Control& control, const CommandRow& row) {
  return End(control, row);
}

int EditElement::End(Control& control, const CommandRow& row) {
  if (step_ != Step::kPick && PickedAs<LineElement>(edited_) != nullptr)
    control.properties.line.SetShape(savedShape_);
  Release(control);
  control.In().attributes.SetShape(kShapeOpen);
  edited_ = Picked{};
  undo_.Clear();
  return Finish(control, row);
}

} // namespace lumora
