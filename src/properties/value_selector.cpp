#include "properties/value_selector.h"

#include "model/drawing.h"
#include "properties/current_properties.h"
#include "properties/property_names.h"
#include "properties/value_selector_texts.h"
#include "protocol/command_state.h"
#include "screen/text_screen.h"
#include "setup/setup.h"
#include "sound/my_beep.h"
#include "text/font.h"
#include "ui/ask_number.h"
#include "ui/select_str.h"
#include "util/quoted.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr double kSame = 0.001;
constexpr double kShownPrecision = 0.001;
// Typed millimetres and proportions become codes as the setup reader makes them: a little is
// added before the whole part is taken, so that 0.7 is not read as 0.69999.
constexpr double kCodeNudge = 0.001;
constexpr double kMinWidthMm = 0.099;
constexpr double kMaxWidthMm = 1.501;
constexpr int kMaxFourBits = 15;
constexpr int kMaxTypedColour = 8;
constexpr int kMinTypedSection = 2;
constexpr int kMaxTypedSection = 14;
constexpr double kMaxAngle = 360.0;
constexpr double kMinHeightMm = 0.099;
constexpr double kMaxHeightMm = 51.101;
constexpr int kMaxHeightCode = 511;
constexpr double kMinProportion = 0.399;
constexpr double kMaxProportion = 1.101;
constexpr int kMaxWidthRatioCode = 7;
constexpr double kMaxSlant = 0.601;
constexpr int kMaxSlantCode = 3;
constexpr double kSmallest = 0.001;
constexpr double kTenthsPerMm = 10.0;
constexpr double kSlantsPerUnit = 5.0;
constexpr double kLowestProportion = 0.4;
constexpr double kAnglePrecision = 0.001;

int Code(double value, double perUnit) {
  return static_cast<int>(std::floor(value * perUnit + kCodeNudge));
}

double BoxWidth(const Box& box) {
  return box.xmax - box.xmin;
}
double BoxHeight(const Box& box) {
  return box.ymax - box.ymin;
}

const SelectorTexts& TextsOf(Attribute attribute, int kind) {
  using namespace selector_texts;
  switch (attribute) {
  case Attribute::kLayer:
    return kLayer;
  case Attribute::kWidth:
    return kWidth;
  case Attribute::kColour:
    return kColour;
  case Attribute::kStyle:
    return kStyle;
  case Attribute::kSection:
    return kSection;
  case Attribute::kGap:
    return kGap;
  case Attribute::kAngle:
    return kind == kElementFilling ? kFillingAngle : kind == kElementText ? kTextAngle : kPartAngle;
  case Attribute::kPositioning:
    return kPositioning;
  case Attribute::kFont:
    return kFont;
  case Attribute::kHeight:
    return kHeight;
  case Attribute::kWidthRatio:
    return kWidthRatio;
  case Attribute::kSlant:
    return kSlant;
  case Attribute::kPartSize:
    return kPartSize;
  case Attribute::kPartWidth:
    return kPartWidth;
  case Attribute::kPartHeight:
    return kPartHeight;
  case Attribute::kMirroring:
    return kMirroring;
  }
  return kWidth;
}

std::string InQuotes(const std::string& name) {
  return !name.empty() && name.front() == '\'' ? name : Quoted(name);
}

double Extent(double low, double high) {
  return high > low ? high - low : 0.0;
}

// The old value as the header shows it; empty when the value is not set.
std::string OldValue(const Control& control, Attribute attribute, int kind,
                     const PropertySet& set) {
  switch (attribute) {
  case Attribute::kLayer:
    return set.layer() == 0 ? "" : InQuotes(ValueText(control, attribute, kind, set));
  case Attribute::kWidth:
    return set.width() == 0 ? "" : ValueText(control, attribute, kind, set);
  case Attribute::kColour:
    return set.colour() == 0 ? "" : ValueText(control, attribute, kind, set);
  case Attribute::kSection:
    return set.style() == 0 ? "" : ValueText(control, attribute, kind, set);
  case Attribute::kGap:
    return NumberText(set.gap / control.drawing.paperUnit, kSmallest) + "mm";
  case Attribute::kFont:
    return InQuotes(ValueText(control, attribute, kind, set));
  case Attribute::kPartWidth:
  case Attribute::kPartHeight:
    return "";
  default:
    return ValueText(control, attribute, kind, set);
  }
}

void ShowHeader(Control& control, Attribute attribute, int kind, const PropertySet& set) {
  const SelectorTexts& texts = TextsOf(attribute, kind);
  const std::string value = OldValue(control, attribute, kind, set);
  std::string en;
  std::string fi;
  if (value.empty() && !texts.notSet.en.empty()) {
    en = texts.notSet.en;
    fi = texts.notSet.fi;
  } else {
    en = std::string(texts.old.en) + value + ": ";
    fi = std::string(texts.old.fi) + value + ": ";
  }
  SetPrompt(control, {en, fi}, texts.list);
}

template <typename Row> void AddRows(const std::vector<Row>& rows, auto&& add) {
  for (const Row& row : rows) add(row.text, static_cast<double>(row.value));
}

} // namespace

std::string ValueText(const Control& control, Attribute attribute, int kind,
                      const PropertySet& set) {
  const Setup& setup = control.setup;
  switch (attribute) {
  case Attribute::kLayer:
    return LayerName(setup, static_cast<int>(set.layer()));
  case Attribute::kWidth:
    return MillimetreText(static_cast<int>(set.width()));
  case Attribute::kColour:
    return ColourName(setup, static_cast<int>(set.colour()));
  case Attribute::kStyle:
    return StyleName(setup, static_cast<int>(set.style()));
  case Attribute::kSection:
    return std::to_string(set.section());
  case Attribute::kGap:
    return NumberText(set.gap / control.drawing.paperUnit, kShownPrecision) + "mm";
  case Attribute::kAngle:
    return AngleText(kind == kElementFilling ? set.hatchAngle
                     : kind == kElementText  ? set.angle
                                             : set.partAngle);
  case Attribute::kPositioning:
    return PositioningName(setup, static_cast<int>(set.positioning()));
  case Attribute::kFont:
    return FontName(control.fonts, static_cast<int>(set.font()));
  case Attribute::kHeight:
    return MillimetreText(static_cast<int>(set.height()));
  case Attribute::kWidthRatio:
    return ProportionText(static_cast<int>(set.widthRatio()));
  case Attribute::kSlant:
    return SlantText(static_cast<int>(set.slant()));
  case Attribute::kPartWidth:
    return NumberText(Extent(set.partBox.xmin, set.partBox.xmax) * std::abs(set.partSx),
                      kShownPrecision);
  case Attribute::kPartHeight:
    return NumberText(Extent(set.partBox.ymin, set.partBox.ymax) * std::abs(set.partSy),
                      kShownPrecision);
  case Attribute::kMirroring:
    return std::string(
        control.Tr(selector_texts::kMirroringNames[static_cast<std::size_t>(Mirroring(set))]));
  default:
    return "";
  }
}

int ValueSelector::Step(Control& control, PropertySet& set) {
  switch (stage_) {
  case Stage::kStart:
    return Start(control, set);
  case Stage::kList:
    return List(control, set);
  case Stage::kTyping:
    return Type(control, set);
  case Stage::kQuestion:
    return Question(control, set);
  }
  return kSelectorCancelled;
}

bool ValueSelector::Typable() const {
  return attribute_ != Attribute::kLayer && attribute_ != Attribute::kFont &&
         attribute_ != Attribute::kMirroring;
}

bool ValueSelector::Integer() const {
  switch (attribute_) {
  case Attribute::kColour:
  case Attribute::kStyle:
  case Attribute::kSection:
  case Attribute::kPositioning:
    return true;
  case Attribute::kAngle:
    return kind_ == kElementFilling;
  default:
    return false;
  }
}

void ValueSelector::BuildEntries(const Control& control) {
  const Setup& setup = control.setup;
  auto add = [this](const std::string& text, double value) { entries_.push_back({text, value}); };
  switch (attribute_) {
  case Attribute::kLayer:
    for (std::size_t i = 0; i < setup.layers.rows.size(); ++i) {
      add(setup.layers.rows[i].text, static_cast<double>(i + 1));
    }
    break;
  case Attribute::kWidth:
    AddRows(setup.lineWidths.rows, add);
    break;
  case Attribute::kColour:
    AddRows(setup.colours.rows, add);
    break;
  case Attribute::kStyle:
    AddRows(setup.lineStyles.rows, add);
    break;
  case Attribute::kSection:
    AddRows(setup.lineStyleSections.rows, add);
    break;
  case Attribute::kGap:
    AddRows(setup.fillingDistances.rows, add);
    break;
  case Attribute::kAngle:
    AddRows(kind_ == kElementFilling ? setup.fillingAngles.rows
            : kind_ == kElementText  ? setup.textAngles.rows
                                     : setup.partAngles.rows,
            add);
    break;
  case Attribute::kPositioning:
    AddRows(setup.textPositionings.rows, add);
    break;
  case Attribute::kFont:
    for (int i = 0; i < control.fonts.count && i < kMaxFonts; ++i) {
      add(control.fonts.slots[static_cast<std::size_t>(i)].name, i);
    }
    break;
  case Attribute::kHeight:
    AddRows(setup.textHeights.rows, add);
    break;
  case Attribute::kWidthRatio:
    AddRows(setup.textWidths.rows, add);
    break;
  case Attribute::kSlant:
    AddRows(setup.textSlants.rows, add);
    break;
  case Attribute::kMirroring:
    for (int i = 0; i < kMirroringCount; ++i) {
      add(std::string(control.Tr(selector_texts::kMirroringNames[static_cast<std::size_t>(i)])), i);
    }
    break;
  default:
    break;
  }
  for (const Entry& entry : entries_) {
    names_.push_back(entry.text);
    longest_ = std::max(longest_, entry.text.size());
  }
}

// The value as the list holds it, to open the list on its row.
double ValueSelector::Current(const Control& control, const PropertySet& set) const {
  switch (attribute_) {
  case Attribute::kLayer:
    return set.layer();
  case Attribute::kWidth:
    return set.width();
  case Attribute::kColour:
    return set.colour();
  case Attribute::kStyle:
    return set.style();
  case Attribute::kSection:
    return set.section();
  case Attribute::kGap:
    return set.gap / control.drawing.paperUnit;
  case Attribute::kAngle:
    return kind_ == kElementFilling ? set.hatchAngle
           : kind_ == kElementText  ? set.angle
                                    : set.partAngle;
  case Attribute::kPositioning:
    return set.positioning();
  case Attribute::kFont:
    return set.font();
  case Attribute::kHeight:
    return set.height();
  case Attribute::kWidthRatio:
    return set.widthRatio();
  case Attribute::kSlant:
    return set.slant();
  case Attribute::kMirroring:
    return Mirroring(set);
  default:
    return 0;
  }
}

int ValueSelector::Start(Control& control, PropertySet& set) {
  const double box = attribute_ == Attribute::kPartWidth    ? BoxWidth(set.partBox)
                     : attribute_ == Attribute::kPartHeight ? BoxHeight(set.partBox)
                                                            : 1.0;
  // A part without width or height cannot be sized by it: the factors would divide by zero.
  if (!(box >= kSmallest)) {
    Message(control, kSoundError, kTooSmall);
    return Finish(control, set, kSelectorDone);
  }
  BuildEntries(control);
  if (entries_.empty()) return Typable() ? StartTyping(control, set) : Finish(control, set, 0);
  ShowHeader(control, attribute_, kind_, set);
  stage_ = Stage::kList;
  return List(control, set);
}

int ValueSelector::List(Control& control, PropertySet& set) {
  // The row of the current value, searched among all rows but the typing row.
  int initial = 0;
  const double current = Current(control, set);
  const std::size_t searched = Typable() ? entries_.size() - 1 : entries_.size();
  for (std::size_t i = 0; i < searched; ++i) {
    if (std::abs(entries_[i].value - current) < kSame) {
      initial = static_cast<int>(i);
      break;
    }
  }
  const SelectArgs args{
      row_, column_, ListHeight(control.screen), static_cast<int>(longest_), initial, true, false};
  const int answer = SelectStr(control, control.prompts, args, names_);
  if (answer == kStillRunning) return kStillRunning;
  if (answer < 0 || answer >= static_cast<int>(entries_.size())) {
    return Finish(control, set, kSelectorCancelled);
  }
  const bool typingRow = Typable() && answer == static_cast<int>(entries_.size()) - 1;
  if (!typingRow && TakeListed(control, set, entries_[static_cast<std::size_t>(answer)].value)) {
    return Finish(control, set, kSelectorDone);
  }
  if (!Typable()) return Finish(control, set, kSelectorCancelled);
  return StartTyping(control, set);
}

bool ValueSelector::TakeListed(Control& control, PropertySet& set, double value) {
  const int code = static_cast<int>(std::lround(value));
  CurrentProperties& memory = control.properties;
  switch (attribute_) {
  case Attribute::kLayer:
    set.SetLayer(static_cast<std::uint32_t>(code));
    memory.lastLayer = code;
    return true;
  case Attribute::kWidth:
    if (!(value / kTenthsPerMm > kMinWidthMm && value / kTenthsPerMm < kMaxWidthMm)) return false;
    set.SetWidth(static_cast<std::uint32_t>(code));
    memory.lastWidth = code;
    return true;
  case Attribute::kColour:
    if (code < 1 || code > kMaxFourBits) return false;
    set.SetColour(static_cast<std::uint32_t>(code));
    memory.lastColour = code;
    return true;
  case Attribute::kStyle:
    if (code < 1 || code > kMaxFourBits) return false;
    set.SetStyle(static_cast<std::uint32_t>(code));
    return true;
  case Attribute::kSection:
    if (code < 1 || code > kMaxFourBits) return false;
    set.SetSection(static_cast<std::uint32_t>(code));
    return true;
  case Attribute::kGap:
    if (!(value >= kSmallest)) return false;
    set.gap = value * control.drawing.paperUnit;
    return true;
  case Attribute::kAngle:
    return TakeTyped(control, set, value) == kSelectorDone;
  case Attribute::kPositioning:
    if (code < 0 || code > kMaxFourBits) return false;
    set.SetPositioning(static_cast<std::uint32_t>(code));
    return true;
  case Attribute::kFont:
    set.SetFont(static_cast<std::uint32_t>(code));
    return true;
  case Attribute::kHeight:
    if (code < 1 || code > kMaxHeightCode) return false;
    set.SetHeight(static_cast<std::uint32_t>(code));
    return true;
  case Attribute::kWidthRatio:
    if (code < 0 || code > kMaxWidthRatioCode) return false;
    set.SetWidthRatio(static_cast<std::uint32_t>(code));
    return true;
  case Attribute::kSlant:
    if (code < 0 || code > kMaxSlantCode) return false;
    set.SetSlant(static_cast<std::uint32_t>(code));
    return true;
  case Attribute::kMirroring:
    SetMirroring(set, code);
    return true;
  default:
    return false;
  }
}

int ValueSelector::StartTyping(Control& control, PropertySet& set) {
  stage_ = Stage::kTyping;
  return Type(control, set);
}

int ValueSelector::Type(Control& control, PropertySet& set) {
  const SelectorTexts& texts = TextsOf(attribute_, kind_);
  AskNumberArgs args;
  args.title = texts.typeTitle;
  args.prompt = texts.typePrompt;
  args.precision =
      kind_ == kElementText && attribute_ == Attribute::kAngle ? kAnglePrecision : kSmallest;
  int answer = kStillRunning;
  double value = 0;
  if (Integer()) {
    answer = AskInteger(control, control.prompts, args, typedInteger_,
                        static_cast<int>(std::lround(Current(control, set))));
    value = typedInteger_;
  } else {
    double proposal = Current(control, set);
    switch (attribute_) {
    case Attribute::kWidth:
    case Attribute::kHeight:
      proposal /= kTenthsPerMm;
      break;
    case Attribute::kWidthRatio:
      proposal = proposal / kTenthsPerMm + kLowestProportion;
      break;
    case Attribute::kSlant:
      proposal /= kSlantsPerUnit;
      break;
    case Attribute::kPartSize:
      proposal = std::abs(set.partSx);
      break;
    case Attribute::kPartWidth:
      proposal = BoxWidth(set.partBox) * std::abs(set.partSx);
      break;
    case Attribute::kPartHeight:
      proposal = BoxHeight(set.partBox) * std::abs(set.partSy);
      break;
    default:
      break;
    }
    answer = AskNumber(control, control.prompts, args, typed_, proposal);
    value = typed_;
  }
  if (answer == kStillRunning) return kStillRunning;
  if (answer != kEntryAccepted) return Finish(control, set, kSelectorCancelled);
  const int taken = TakeTyped(control, set, value);
  if (taken != kStillRunning) return Finish(control, set, taken);
  // Refused, or a question follows: either way the selector keeps running.
  if (stage_ == Stage::kTyping) return Type(control, set);
  return Question(control, set);
}

int ValueSelector::TakeTyped(Control& control, PropertySet& set, double value) {
  const bool partDialog = kind_ == kElementPart;
  CurrentProperties& memory = control.properties;
  auto refuse = [&control](const TextPair& text) {
    Message(control, kSoundError, text);
    return kStillRunning;
  };
  const int whole = static_cast<int>(std::lround(std::clamp(value, -1e6, 1e6)));
  switch (attribute_) {
  case Attribute::kWidth:
    if (partDialog && std::abs(value) < kSmallest / 2) {
      set.SetWidth(0);
      return kSelectorDone;
    }
    if (!(value > kMinWidthMm && value < kMaxWidthMm)) return refuse(kTooSmallOrTooBig);
    set.SetWidth(static_cast<std::uint32_t>(Code(value, kTenthsPerMm)));
    memory.lastWidth = static_cast<int>(set.width());
    return kSelectorDone;
  case Attribute::kColour:
    if (whole < (partDialog ? 0 : 1) || whole > kMaxTypedColour) return refuse(kTooSmallOrTooBig);
    set.SetColour(static_cast<std::uint32_t>(whole));
    if (whole != 0) memory.lastColour = whole;
    return kSelectorDone;
  case Attribute::kStyle:
    if (whole < 1 || whole > kMaxFourBits) return refuse(kTooSmallOrTooBig);
    set.SetStyle(static_cast<std::uint32_t>(whole));
    return kSelectorDone;
  case Attribute::kSection:
    if (whole < kMinTypedSection || whole > kMaxTypedSection) return refuse(kTooSmallOrTooBig);
    set.SetSection(static_cast<std::uint32_t>(whole));
    return kSelectorDone;
  case Attribute::kGap:
    if (!(value >= kSmallest)) return refuse(kTooSmall);
    pending_ = value;
    stage_ = Stage::kQuestion;
    return kStillRunning;
  case Attribute::kAngle:
    if (!(std::abs(value) <= kMaxAngle)) return refuse(kTooSmallOrTooBig);
    if (kind_ == kElementFilling) {
      set.hatchAngle = static_cast<std::int16_t>(whole);
    } else if (kind_ == kElementText) {
      set.angle = std::floor(value / kAnglePrecision + 0.5) * kAnglePrecision;
    } else {
      set.partAngle = value;
    }
    return kSelectorDone;
  case Attribute::kPositioning:
    if (whole < 0 || whole > kMaxFourBits) return refuse(kTooSmallOrTooBig);
    set.SetPositioning(static_cast<std::uint32_t>(whole));
    return kSelectorDone;
  case Attribute::kHeight:
    if (!(value > kMinHeightMm && value < kMaxHeightMm)) return refuse(kTooSmallOrTooBig);
    set.SetHeight(static_cast<std::uint32_t>(Code(value, kTenthsPerMm)));
    return kSelectorDone;
  case Attribute::kWidthRatio:
    if (!(value > kMinProportion && value < kMaxProportion)) return refuse(kTooSmallOrTooBig);
    set.SetWidthRatio(
        static_cast<std::uint32_t>(std::max(Code(value - kLowestProportion, kTenthsPerMm), 0)));
    return kSelectorDone;
  case Attribute::kSlant:
    if (!(value > -kSmallest && value < kMaxSlant)) return refuse(kTooSmallOrTooBig);
    set.SetSlant(static_cast<std::uint32_t>(std::max(Code(value, kSlantsPerUnit), 0)));
    return kSelectorDone;
  case Attribute::kPartSize:
    if (!(value > kSmallest)) return refuse(kTooSmall);
    set.partSx = std::copysign(value, set.partSx);
    set.partSy = std::copysign(value, set.partSy);
    return kSelectorDone;
  case Attribute::kPartWidth:
  case Attribute::kPartHeight:
    if (!(value >= kSmallest)) return refuse(kTooSmall);
    pending_ = value;
    stage_ = Stage::kQuestion;
    return kStillRunning;
  default:
    return kSelectorCancelled;
  }
}

int ValueSelector::Question(Control& control, PropertySet& set) {
  using namespace selector_texts;
  const bool gap = attribute_ == Attribute::kGap;
  const bool width = attribute_ == Attribute::kPartWidth;
  const TextPair& message = gap ? kOnPlotter : width ? kHeightAlso : kWidthAlso;
  const TextPair& question = gap ? kGapOnPaper : width ? kHeightInProportion : kWidthInProportion;
  // The question goes under the typed entry's header; its short form is a message beside it.
  const bool opening = !question_.Open();
  const int answer =
      question_.Ask(control, 1, 2, 0, TextsOf(attribute_, kind_).typeTitle, question, kAnswerYes);
  if (answer == kStillRunning) {
    if (opening) Message(control, kSoundNotice, message);
    return kStillRunning;
  }
  if (answer != kAnswerYes && answer != kAnswerNo) return Finish(control, set, kSelectorCancelled);
  if (gap) {
    set.gap = answer == kAnswerYes ? pending_ * control.drawing.paperUnit : pending_;
  } else {
    ScalePart(set, answer == kAnswerYes);
  }
  return Finish(control, set, kSelectorDone);
}

// The typed width or height sets its factor; in proportion the other factor follows by the
// same ratio. Signs (the mirroring) are kept.
void ValueSelector::ScalePart(PropertySet& set, bool both) const {
  const bool width = attribute_ == Attribute::kPartWidth;
  double& own = width ? set.partSx : set.partSy;
  double& other = width ? set.partSy : set.partSx;
  const double size = width ? BoxWidth(set.partBox) : BoxHeight(set.partBox);
  const double factor = pending_ / size;
  const double ratio = std::abs(own) >= kSmallest ? factor / std::abs(own) : 1.0;
  own = std::copysign(factor, own);
  if (both) other *= ratio;
}

int ValueSelector::Finish(Control& control, PropertySet& set, int result) {
  // Lines must stay visible: a width or colour left unset becomes the thinnest and the first,
  // except for parts, whose elements keep their own when none is set.
  if (kind_ != kElementPart) {
    if (attribute_ == Attribute::kWidth && set.width() == 0) set.SetWidth(1);
    if (attribute_ == Attribute::kColour && set.colour() == 0) set.SetColour(1);
  }
  if (attribute_ == Attribute::kGap && !(set.gap >= kSmallest)) {
    set.gap = control.drawing.paperUnit;
  }
  stage_ = Stage::kStart;
  entries_.clear();
  names_.clear();
  return result;
}

} // namespace lumora
