#include "properties/type_selector.h"

#include "model/drawing.h"
#include "protocol/command_state.h"
#include "screen/text_screen.h"
#include "setup/setup.h"
#include "text/font.h"
#include "ui/select_str.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int kAskRow = 3;
constexpr int kAskColumn = 2;
constexpr double kSmallest = 0.001;
constexpr std::uint32_t kSolidStyle = 1;

// The attributes in the order they are completed.
constexpr std::array<Attribute, 9> kOrder{
    Attribute::kLayer,       Attribute::kWidth,   Attribute::kColour,
    Attribute::kStyle,       Attribute::kSection, Attribute::kGap,
    Attribute::kPositioning, Attribute::kHeight,  Attribute::kFont};

bool Lined(int kind) {
  return kind == kElementLine || kind == kElementFilling;
}

inline constexpr TextPair kSelectLineType{"^SELECT TYPE OF LINE ! "_l1,
                                          "^VALITSE VIIVATYYPPI ! "_l1};
inline constexpr TextPair kSelectFillingType{"^SELECT TYPE OF FILLING ! "_l1,
                                             "^VALITSE VIIVOITUSTYYPPI ! "_l1};
inline constexpr TextPair kSelectTextType{"^SELECT TYPE OF TEXT ! "_l1,
                                          "^VALITSE TEKSTITYYPPI ! "_l1};
inline constexpr TextPair kSelectMeasureType{"^SELECT TYPE OF MEASURE ! "_l1,
                                             "^VALITSE MITTATYYPPI ! "_l1};

} // namespace

bool Completion::NeedsSelector(Control& control, PropertySet& set, int kind) {
  CurrentProperties& memory = control.properties;
  switch (kOrder[next_]) {
  case Attribute::kLayer:
    if (set.layer() != 0) return false;
    set.SetLayer(static_cast<std::uint32_t>(memory.lastLayer));
    return set.layer() == 0;
  case Attribute::kWidth:
    if (set.width() != 0) return false;
    set.SetWidth(static_cast<std::uint32_t>(memory.lastWidth));
    return set.width() == 0;
  case Attribute::kColour:
    if (set.colour() != 0) return false;
    set.SetColour(static_cast<std::uint32_t>(memory.lastColour));
    return set.colour() == 0;
  case Attribute::kStyle:
    return Lined(kind) && set.style() == 0;
  case Attribute::kSection:
    return Lined(kind) && set.style() != kSolidStyle && set.section() == 0;
  case Attribute::kGap:
    return kind == kElementFilling && !(set.gap >= kSmallest);
  case Attribute::kPositioning:
    return kind == kElementText && set.positioning() == 0;
  case Attribute::kHeight:
    return kind == kElementText && set.height() == 0;
  case Attribute::kFont:
    return kind == kElementText && static_cast<int>(set.font()) >= control.fonts.count;
  default:
    return false;
  }
}

int Completion::Step(Control& control, PropertySet& set, int kind) {
  while (next_ < kOrder.size()) {
    if (!running_) {
      if (!NeedsSelector(control, set, kind)) {
        ++next_;
        continue;
      }
      running_.emplace(kOrder[next_], kind, kAskRow, kAskColumn);
    }
    if (running_->Step(control, set) == kStillRunning) return kStillRunning;
    // Asked once: a cancelled selector leaves the attribute as it was.
    running_.reset();
    ++next_;
  }
  next_ = 0;
  return kSelectorDone;
}

int TypeSelector::ElementKind() const {
  switch (kind_) {
  case PresetKind::kLine:
    return kElementLine;
  case PresetKind::kFilling:
    return kElementFilling;
  default:
    return kElementText;
  }
}

PropertySet& TypeSelector::Target(Control& control) const {
  return control.properties.Of(ElementKind());
}

void TypeSelector::BuildNames(const Control& control) {
  const Setup& setup = control.setup;
  auto add = [this](const std::string& text) {
    names_.push_back(text);
    longest_ = std::max(longest_, text.size());
  };
  switch (kind_) {
  case PresetKind::kLine:
    for (const LinePreset& preset : setup.lineSelections.rows) add(preset.text);
    break;
  case PresetKind::kFilling:
    for (const FillingPreset& preset : setup.fillingSelections.rows) add(preset.text);
    break;
  case PresetKind::kText:
    for (const TextPreset& preset : setup.textSelections.rows) add(preset.text);
    break;
  case PresetKind::kMeasure:
    for (const TextPreset& preset : setup.measureSelections.rows) add(preset.text);
    break;
  }
}

// Every field of the set comes from the preset; the shape of the element in the making stays.
void TypeSelector::Copy(Control& control, std::size_t preset) {
  const Setup& setup = control.setup;
  PropertySet set;
  auto lined = [&set](const LinePreset& row) {
    set.SetLayer(static_cast<std::uint32_t>(row.layer));
    set.SetWidth(static_cast<std::uint32_t>(row.width));
    set.SetColour(static_cast<std::uint32_t>(row.colour));
    set.SetStyle(static_cast<std::uint32_t>(row.style));
    set.SetSection(static_cast<std::uint32_t>(row.section));
  };
  switch (kind_) {
  case PresetKind::kLine:
    lined(setup.lineSelections.rows[preset]);
    break;
  case PresetKind::kFilling: {
    const FillingPreset& row = setup.fillingSelections.rows[preset];
    lined(row);
    set.gap = row.gap * control.drawing.paperUnit; // presets give the gap on paper
    set.hatchAngle = static_cast<std::int16_t>(row.angle);
    break;
  }
  case PresetKind::kText:
  case PresetKind::kMeasure: {
    const TextPreset& row = kind_ == PresetKind::kText ? setup.textSelections.rows[preset]
                                                       : setup.measureSelections.rows[preset];
    set.SetLayer(static_cast<std::uint32_t>(row.layer));
    set.SetWidth(static_cast<std::uint32_t>(row.width));
    set.SetColour(static_cast<std::uint32_t>(row.colour));
    set.SetPositioning(static_cast<std::uint32_t>(row.positioning));
    set.SetFont(static_cast<std::uint32_t>(row.font));
    set.SetHeight(static_cast<std::uint32_t>(row.height));
    set.SetWidthRatio(static_cast<std::uint32_t>(row.widthRatio));
    set.SetSlant(static_cast<std::uint32_t>(row.slant));
    set.angle = row.angle;
    break;
  }
  }
  set.SetShape(keptShape_);
  Target(control) = set;
}

int TypeSelector::Step(Control& control) {
  PropertySet& target = Target(control);
  std::size_t& last = control.properties.lastPreset[static_cast<std::size_t>(kind_)];
  if (stage_ == Stage::kStart) {
    keptShape_ = target.shape();
    BuildNames(control);
    static constexpr std::array<TextPair, kPresetKindCount> kPrompts{
        kSelectLineType, kSelectFillingType, kSelectTextType, kSelectMeasureType};
    SetPrompt(control, TextPair{}, kPrompts[static_cast<std::size_t>(kind_)]);
    stage_ = Stage::kList;
  }
  if (stage_ == Stage::kList) {
    const SelectArgs args{kAskRow,
                          kAskColumn,
                          ListHeight(control.screen),
                          static_cast<int>(longest_),
                          static_cast<int>(last),
                          true,
                          false};
    const int answer = SelectStr(control, control.prompts, args, names_);
    if (answer == kStillRunning) return kStillRunning;
    if (answer < 0 || static_cast<std::size_t>(answer) >= names_.size()) {
      stage_ = Stage::kStart;
      names_.clear();
      return kSelectorCancelled;
    }
    last = static_cast<std::size_t>(answer);
    Copy(control, last);
    stage_ = Stage::kCompleting;
  }
  if (completion_.Step(control, Target(control), ElementKind()) == kStillRunning) {
    return kStillRunning;
  }
  stage_ = Stage::kStart;
  names_.clear();
  return kSelectorDone;
}

} // namespace lumora
