#include "properties/property_functions.h"

#include "model/drawing.h"
#include "properties/current_properties.h"
#include "properties/property_names.h"
#include "properties/value_selector_texts.h"
#include "protocol/command_state.h"
#include "screen/text_screen.h"
#include "screen/text_window.h"
#include "setup/setup.h"
#include "text/font.h"
#include "ui/select_str.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr int kDialogRow = 3; // the first row below the menu bar
constexpr int kDialogColumn = 3;
constexpr int kKeyRow = 3;
constexpr int kKeyColumn = 2;

constexpr std::uint32_t kOpenLine = 1;
constexpr std::uint32_t kClosedLine = 2;
constexpr std::uint32_t kArc = 3;
constexpr std::uint32_t kCircle = 4;

inline constexpr TextPair kSelectOne{"^SELECT ONE TO BE CHANGED ! "_l1,
                                     "^VALITSE MUUTETTAVA ! "_l1};
inline constexpr std::array<TextPair, 4> kHeaders{
    TextPair{"Properties of line: "_l1, "Viivan ominaisuudet: "_l1},
    TextPair{"Properties of filling: "_l1, "Alueen viivoituksen ominaisuudet: "_l1},
    TextPair{"Properties of text: "_l1, "Tekstin ominaisuudet: "_l1},
    TextPair{"Properties of part: "_l1, "Osan ominaisuudet: "_l1}};

// The main function is called with a code directly, past the dispatcher: the code may also be
// a key that would start another command.
void CallMain(Control& control, int code) {
  LevelSlot& slot = control.Slot(Level::kMain);
  if (slot.code == 0 || slot.function == nullptr) return;
  std::unique_ptr<Function> function = std::move(slot.function);
  const CommandRow row = slot.row;
  InputRecord& in = control.In();
  const int savedCode = in.code;
  const int savedRaw = in.rawKey;
  in.code = code;
  in.rawKey = code;
  function->Step(control, row);
  LevelSlot& after = control.Slot(Level::kMain);
  if (after.code != 0 && after.function == nullptr) after.function = std::move(function);
  in.code = savedCode;
  in.rawKey = savedRaw;
}

// Add measure draws its measure anew when a text attribute changed under it.
void TellMeasure(Control& control, int kind, bool changed) {
  if (changed && kind == kElementText && LevelCode(control, Level::kMain) == kCodeAddMeasure) {
    CallMain(control, kCodeMeasureRedraw);
  }
}

// Ends a property function: the main function takes up the attributes once more.
int EndProperty(Control& control, const CommandRow& row) {
  EndFunction(control, row.level);
  return LevelActive(control, Level::kMain) ? kCodePropertiesChanged : kFinished;
}

// Switches the shape in the current line attributes and in the element in the making.
void SwitchShape(Control& control) {
  PropertySet& line = control.properties.line;
  line.SetShape(PartnerShape(line.shape()));
  PropertySet& making = control.In().attributes;
  making.SetShape(PartnerShape(making.shape()));
}

} // namespace

std::uint32_t PartnerShape(std::uint32_t shape) {
  switch (shape) {
  case kClosedLine:
    return kOpenLine;
  case kArc:
    return kCircle;
  case kCircle:
    return kArc;
  default: // an open line, and shape 0 that is drawn as one
    return kClosedLine;
  }
}

void PropertyDialog::BuildLines(const Control& control) {
  using A = Attribute;
  lines_.clear();
  switch (kind_) {
  case kElementLine:
    lines_ = {{A::kLayer, {"layer    <l>: "_l1, "taso     <l>: "_l1}},
              {A::kWidth, {"width    <w>: "_l1, "leveys   <w>: "_l1}},
              {A::kColour, {"colour   <c>: "_l1, "väri     <c>: "_l1}},
              {A::kStyle, {"style    <t>: "_l1, "tyyli    <t>: "_l1}},
              {A::kSection, {" section <s>: "_l1, " jakso   <s>: "_l1}}};
    // Edit rewrites existing lines, whose shape is not the dialog's to change.
    if (LevelCode(control, Level::kMain) != kCodeEdit) {
      lines_.push_back({A::kLayer, {"closed   <o>: "_l1, "suljettu <o>: "_l1}, true});
    }
    break;
  case kElementFilling:
    lines_ = {{A::kLayer, {"layer         <l>: "_l1, "taso          <l>: "_l1}},
              {A::kWidth, {"width of line <w>: "_l1, "viivan leveys <w>: "_l1}},
              {A::kColour, {"colour  -//-  <c>: "_l1, "-//-   väri   <c>: "_l1}},
              {A::kStyle, {"style of line <t>: "_l1, "viivatyyli    <t>: "_l1}},
              {A::kSection, {" section      <s>: "_l1, " jakso        <s>: "_l1}},
              {A::kGap, {"gap           <g>: "_l1, "väli          <g>: "_l1}},
              {A::kAngle, {"angle         <a>: "_l1, "kulma         <a>: "_l1}}};
    break;
  case kElementText:
    lines_ = {{A::kLayer, {"layer         <l>: "_l1, "taso              <l>: "_l1}},
              {A::kWidth, {"width of line <w>: "_l1, "viivan leveys     <w>: "_l1}},
              {A::kColour, {"colour  -//-  <c>: "_l1, "-//-   väri       <c>: "_l1}},
              {A::kHeight, {"height        <h>: "_l1, "korkeus           <h>: "_l1}},
              {A::kWidthRatio, {"width/height  <j>: "_l1, "leveys/korkeus    <j>: "_l1}},
              {A::kSlant, {"slant/height  <k>: "_l1, "kallistus/korkeus <k>: "_l1}},
              {A::kFont, {"font          <f>: "_l1, "fontti            <f>: "_l1}},
              {A::kPositioning, {"positioning   <p>: "_l1, "sijoitustapa      <p>: "_l1}},
              {A::kAngle, {"angle         <a>: "_l1, "kulma             <a>: "_l1}}};
    break;
  default:
    lines_ = {{A::kPartWidth, {"width         <z>: "_l1, "leveys        <z>: "_l1}},
              {A::kPartHeight, {"height        <z>: "_l1, "korkeus       <z>: "_l1}},
              {A::kAngle, {"angle:        <a>: "_l1, "kulma         <a>: "_l1}},
              {A::kMirroring, {"mirroring     <<>: "_l1, "peilaus       <<>: "_l1}},
              {A::kLayer, {"layer         <l>: "_l1, "taso          <l>: "_l1}},
              {A::kWidth, {"width of line <w>: "_l1, "viivan leveys <w>: "_l1}},
              {A::kColour, {"colour  -//-  <c>: "_l1, "-//-   väri   <c>: "_l1}}};
    break;
  }
}

void PropertyDialog::Rebuild(const Control& control) {
  const PropertySet& set = control.properties.Of(kind_);
  texts_.clear();
  width_ = 1;
  for (const Line& line : lines_) {
    std::string text(control.Tr(line.label));
    if (!line.closedSwitch) text += ValueText(control, line.attribute, kind_, set);
    width_ = std::max(width_, static_cast<int>(text.size()));
    texts_.push_back(std::move(text));
  }
}

void PropertyDialog::ShowPrompt(Control& control) {
  SetPrompt(control, kHeaders[static_cast<std::size_t>(kind_ - 1)], kSelectOne);
}

int PropertyDialog::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  kind_ = std::clamp(control.state.elementType, kElementLine, kElementPart);
  BuildLines(control);
  Rebuild(control);
  ShowPrompt(control);
  windowOpen_ = OpenWindow(control.screen, kDialogRow, kDialogColumn,
                           static_cast<int>(lines_.size()), width_);
  if (!windowOpen_) {
    EndFunction(control, row.level);
    return kFinished;
  }
  return Choose(control, row);
}

int PropertyDialog::Continue(Control& control, const CommandRow& row) {
  if (!selector_) return Choose(control, row);
  if (selector_->Step(control, control.properties.Of(kind_)) == kStillRunning) {
    return kStillRunning;
  }
  selector_.reset();
  changed_ = true;
  const int before = width_;
  Rebuild(control);
  ShowPrompt(control);
  // The window is as wide as its longest line: a value that grew or shrank opens it anew.
  if (windowOpen_ && width_ != before) {
    CloseWindow(control.screen);
    windowOpen_ = OpenWindow(control.screen, kDialogRow, kDialogColumn,
                             static_cast<int>(lines_.size()), width_);
    if (!windowOpen_) return Close(control, row);
  }
  return Choose(control, row);
}

int PropertyDialog::Choose(Control& control, const CommandRow& row) {
  std::size_t& last = control.properties.lastLine[static_cast<std::size_t>(kind_ - 1)];
  if (last >= lines_.size()) last = 0;
  const SelectArgs args{kDialogRow, kDialogColumn,          static_cast<int>(lines_.size()),
                        width_,     static_cast<int>(last), false,
                        false};
  const int answer = SelectStr(control, control.prompts, args, texts_);
  if (answer == kStillRunning) return kStillRunning;
  if (answer < 0 || static_cast<std::size_t>(answer) >= lines_.size()) return Close(control, row);
  last = static_cast<std::size_t>(answer);
  const Line& line = lines_[last];
  if (line.closedSwitch) {
    SwitchShape(control);
    return Close(control, row);
  }
  // The selector opens beside its line, right of the dialog's frame.
  selector_.emplace(line.attribute, kind_, kDialogRow + answer, kDialogColumn + width_ + 2);
  return Continue(control, row);
}

int PropertyDialog::Close(Control& control, const CommandRow& row) {
  if (windowOpen_) CloseWindow(control.screen);
  windowOpen_ = false;
  const int result = EndProperty(control, row);
  TellMeasure(control, kind_, changed_);
  return result;
}

int PropertyKey::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  selector_.emplace(attribute_, control.state.elementType, kKeyRow, kKeyColumn);
  return Continue(control, row);
}

int PropertyKey::Continue(Control& control, const CommandRow& row) {
  const int kind = control.state.elementType;
  const int result = selector_->Step(control, control.properties.Of(kind));
  if (result == kStillRunning) return kStillRunning;
  return Finish(control, row, result);
}

int PropertyKey::Finish(Control& control, const CommandRow& row, int result) {
  const int next = EndProperty(control, row);
  TellMeasure(control, control.state.elementType,
              result == kSelectorDone && attribute_ == Attribute::kAngle);
  return next;
}

int ShapeSwitch::Step(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  SwitchShape(control);
  return EndProperty(control, row);
}

int MirrorStep::Step(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  PropertySet& part = control.properties.part;
  SetMirroring(part, (Mirroring(part) + 1) % kMirroringCount);
  return EndProperty(control, row);
}

} // namespace lumora
