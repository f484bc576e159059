#include "commands/text_variables.h"

#include "setup/setup.h"
#include "sound/my_beep.h"
#include "ui/ask_str.h"
#include "util/clock.h"
#include "util/number_text.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr char kMark = '#';
constexpr char kLineSeparator = '|';
// Only the start of a text is searched for a reference.
constexpr std::size_t kSearchedLength = 199;
constexpr std::size_t kAnswerSize = kVariableValueMax + 1;

constexpr std::string_view kDateName = "DATE";
constexpr std::string_view kTimeName = "TIME";

std::string TwoDigits(int value) {
  return (value < 10 ? "0" : "") + std::to_string(value);
}

} // namespace

Variable* VariableTable::Find(std::string_view name) {
  auto found = std::find_if(entries.begin(), entries.end(),
                            [&](const Variable& v) { return v.name == name; });
  return found != entries.end() ? &*found : nullptr;
}

bool VariableTable::SetText(std::string_view name, std::string_view value) {
  Variable* entry = Find(name);
  if (entry == nullptr) {
    if (Full()) return false;
    entries.push_back({std::string(name), 0.0, {}, false});
    entry = &entries.back();
  }
  entry->text = std::string(value.substr(0, kVariableValueMax));
  std::size_t pos = 0;
  entry->number = TextToNumber(entry->text, pos);
  entry->numeric = false;
  return true;
}

std::string DateText(const Control& control) {
  const LocalDateTime t = control.clock.LocalTime(control.setup.clockCorrection);
  return std::to_string(t.day) + "." + std::to_string(t.month) + "." + std::to_string(t.year);
}

std::string TimeText(const Control& control) {
  const LocalDateTime t = control.clock.LocalTime(control.setup.clockCorrection);
  return std::to_string(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second);
}

int TextSubstitution::Step(Control& control, std::string_view source, std::string& result,
                           VariableTable& table) {
  if (asking_) return Ask(control, result, table);
  changed_ = false;
  givenUp_ = false;
  count_ = 0;
  work_ = std::string(source);
  return Scan(control, result, table);
}

bool TextSubstitution::Split(Reference& ref) const {
  const std::size_t open = work_.find(kMark);
  if (open == std::string::npos || open >= kSearchedLength) return false;
  const std::size_t close = work_.find(kMark, open + 1);
  if (close == std::string::npos) return false;
  const std::size_t length = close - open - 1;
  if (length == 0 || length >= kVariableNameLimit) return false;
  ref.before = work_.substr(0, open);
  ref.name = work_.substr(open + 1, length);
  ref.after = work_.substr(close + 1);
  ref.kept = open == 0 && ref.after.find(kLineSeparator) == std::string::npos &&
             ref.after.find(kMark) == std::string::npos;
  return true;
}

bool TextSubstitution::Lookup(Control& control, VariableTable& table, const std::string& name,
                              std::string& value) const {
  if (name.find(kDateName) != std::string::npos) {
    value = DateText(control);
    return true;
  }
  if (name.find(kTimeName) != std::string::npos) {
    value = TimeText(control);
    return true;
  }
  const Variable* entry = table.Find(name);
  if (entry == nullptr) return false;
  value = entry->text;
  return true;
}

bool TextSubstitution::Fill(const std::string& value) {
  // A value that brings its own reference back would go round for ever.
  if (++count_ > kMaxSubstitutions) {
    givenUp_ = true;
    return false;
  }
  changed_ = true;
  if (ref_.kept) {
    work_ = std::string(1, kMark) + ref_.name + kMark + value;
    return false;
  }
  work_ = ref_.before + value + ref_.after;
  return true;
}

int TextSubstitution::Done(std::string& result) {
  asking_ = false;
  // Nothing of a text is cut away: a result too long for a text is no result.
  if (!changed_ || givenUp_ || work_.size() > kSubstitutedTextMax) return kTextUnchanged;
  result = work_;
  return kTextChanged;
}

int TextSubstitution::Scan(Control& control, std::string& result, VariableTable& table) {
  while (Split(ref_)) {
    std::string value;
    if (!Lookup(control, table, ref_.name, value)) {
      if (table.Full()) {
        Message(control, kSoundError, kTooManyVariables);
        return kTextUnchanged;
      }
      asking_ = true;
      answer_.clear();
      return Ask(control, result, table);
    }
    if (!Fill(value)) break;
  }
  return Done(result);
}

int TextSubstitution::Ask(Control& control, std::string& result, VariableTable& table) {
  const std::string en = "^ GIVE TEXT FOR #" + ref_.name + "# ? ";
  const std::string fi = std::string("^ ANNA TEKSTI #") + ref_.name + "#:LLE ? ";
  AskStrArgs args;
  args.title = kUpdatingTexts;
  args.prompt = {en, fi};
  args.size = kAnswerSize;
  args.initial = ref_.kept ? std::string_view(ref_.after) : std::string_view();
  args.ctrlEnterAccepts = true;
  const int answer = AskStr(control, control.prompts, args, answer_);
  if (answer == kStillRunning) return kStillRunning;
  asking_ = false;
  // Backspace on an empty answer, where the caller allows a step back, accepts it as well.
  if (answer != kEntryAccepted && answer != kEntryBack) {
    return kTextUnchanged;
  }
  table.SetText(ref_.name, answer_);
  const std::string value = answer_.substr(0, kVariableValueMax);
  if (!Fill(value)) return Done(result);
  return Scan(control, result, table);
}

} // namespace lumora
