#include "ui/ask_number.h"

#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "screen/text_screen.h"
#include "sound/my_beep.h"
#include "util/number_text.h"

#include <climits>
#include <cmath>

namespace lumora {
namespace {

constexpr std::size_t kNumberTextSize = 100;
constexpr std::size_t kFieldWidthLimit = kNumberTextSize - 1;
constexpr std::string_view kOperators = "+-*/";
constexpr std::string_view kDigits = "0123456789";
constexpr double kIntegerPrecision = 1.0;

double ReadAt(std::string_view text, std::size_t pos) {
  return TextToNumber(text, pos);
}

double Apply(char op, double left, double right) {
  switch (op) {
  case '+':
    return left + right;
  case '-':
    return left - right;
  case '*':
    return left * right;
  default:
    return left / right;
  }
}

AskStrArgs EntryArgs(const AskNumberArgs& args, std::string_view initial) {
  AskStrArgs entry;
  entry.row = args.row;
  entry.column = args.column;
  entry.width = args.width;
  entry.title = args.title;
  entry.prompt = args.prompt;
  entry.size = kNumberTextSize;
  entry.initial = initial;
  return entry;
}

// One call of the entry under a numeric answer: the proposal goes in on the first call. A
// finished entry with an empty text is back; one whose value is no usable number opens again.
int Entry(Control& control, PromptState& prompts, const AskNumberArgs& args,
          const std::string& proposal) {
  std::string& text = prompts.numberText;
  const bool first = !prompts.entry.open || prompts.entry.buffer != &text;
  const int result = AskStr(control, prompts, EntryArgs(args, first ? proposal : ""), text);
  if (result == kStillRunning) return kStillRunning;
  if (text.empty()) return kEntryBack;
  return result;
}

// A text that is no number, or a number that cannot be used (a division by zero, an overflow),
// is refused, and the entry opens again with the text as typed.
int Refuse(Control& control, PromptState& prompts, const AskNumberArgs& args) {
  Message(control, kSoundSmallError, kNotANumber);
  const std::string typed = prompts.numberText;
  AskStr(control, prompts, EntryArgs(args, typed), prompts.numberText);
  return kStillRunning;
}

} // namespace

namespace {

// A small reader of the forms an answer may take: blanks anywhere between the parts.
class NumberForm {
public:
  explicit NumberForm(std::string_view text) : text_(text) {}
  bool AtEnd() {
    Blanks();
    return at_ >= text_.size();
  }
  bool Take(std::string_view any) {
    Blanks();
    if (at_ < text_.size() && any.find(text_[at_]) != std::string_view::npos) {
      ++at_;
      return true;
    }
    return false;
  }
  // [sign] digits [. digits] [e [sign] digits], or the same starting with the point.
  bool Number() {
    Take("+-");
    Blanks();
    const std::size_t whole = Digits();
    std::size_t fraction = 0;
    if (at_ < text_.size() && text_[at_] == '.') {
      ++at_;
      fraction = Digits();
    }
    if (whole + fraction == 0) return false;
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
      if (Digits() == 0) return false;
    }
    return true;
  }

private:
  void Blanks() {
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
  }
  std::size_t Digits() {
    const std::size_t from = at_;
    while (at_ < text_.size() && kDigits.find(text_[at_]) != std::string_view::npos) ++at_;
    return at_ - from;
  }
  std::string_view text_;
  std::size_t at_ = 0;
};

// A pair: two numbers, each of which may be missing (it reads as 0), apart by one comma or by
// blanks.
bool Pair(NumberForm& form) {
  if (form.AtEnd()) return true;
  if (!form.Take(",")) {
    if (!form.Number()) return false;
    if (form.AtEnd()) return true;
    form.Take(",");
  }
  if (form.AtEnd()) return true;
  return form.Number() && form.AtEnd();
}

} // namespace

bool IsNumberText(std::string_view text, bool pair) {
  NumberForm form(text);
  if (pair) return Pair(form);
  // A number, or two joined by one operator.
  if (!form.Number()) return false;
  if (form.AtEnd()) return true;
  return form.Take(kOperators) && form.Number() && form.AtEnd();
}

double EvaluateNumberText(std::string_view text) {
  const std::size_t firstDigit = text.find_first_of(kDigits);
  if (firstDigit == std::string_view::npos) return 0.0;
  const std::string_view rest = text.substr(firstDigit);
  for (char op : kOperators) {
    std::size_t at = rest.find(op);
    // The sign of an exponent (2e-3) is part of its number, not an operator.
    while (at != std::string_view::npos && at > 0 && (rest[at - 1] == 'e' || rest[at - 1] == 'E'))
      at = rest.find(op, at + 1);
    if (at == std::string_view::npos) continue;
    return Apply(op, ReadAt(text, 0), ReadAt(text, firstDigit + at + 1));
  }
  return ReadAt(text, 0);
}

int AskNumber(Control& control, PromptState& prompts, const AskNumberArgs& args, double& result,
              double oldValue) {
  const int answer =
      Entry(control, prompts, args, NumberToText(oldValue, args.precision, kFieldWidthLimit));
  if (answer == kStillRunning) return kStillRunning;
  result = oldValue;
  if (answer != kEntryAccepted) return answer;
  if (!IsNumberText(prompts.numberText, false)) return Refuse(control, prompts, args);
  const double value = EvaluateNumberText(prompts.numberText);
  if (!std::isfinite(value)) return Refuse(control, prompts, args);
  result = value;
  return answer;
}

int AskInteger(Control& control, PromptState& prompts, const AskNumberArgs& args, int& result,
               int oldValue) {
  AskNumberArgs whole = args;
  whole.precision = kIntegerPrecision;
  double value = oldValue;
  const int answer = AskNumber(control, prompts, whole, value, oldValue);
  if (answer == kStillRunning) return kStillRunning;
  const double rounded = std::floor(value + 0.5);
  if (rounded < INT_MIN || rounded > INT_MAX) {
    result = oldValue;
    return Refuse(control, prompts, whole);
  }
  result = static_cast<int>(rounded);
  return answer;
}

int AskTwoNumbers(Control& control, PromptState& prompts, const AskNumberArgs& args,
                  double& resultX, double& resultY, double oldX, double oldY) {
  std::string proposal = NumberToText(oldX, args.precision, kFieldWidthLimit);
  const std::string second = NumberToText(oldY, args.precision, kFieldWidthLimit);
  if (!proposal.empty() || !second.empty()) proposal += "," + second;
  const int answer = Entry(control, prompts, args, proposal);
  if (answer == kStillRunning) return kStillRunning;
  resultX = oldX;
  resultY = oldY;
  if (answer != kEntryAccepted) return answer;
  if (!IsNumberText(prompts.numberText, true)) return Refuse(control, prompts, args);
  std::size_t pos = 0;
  const double x = TextToNumber(prompts.numberText, pos);
  const double y = TextToNumber(prompts.numberText, pos);
  if (!std::isfinite(x) || !std::isfinite(y)) return Refuse(control, prompts, args);
  resultX = x;
  resultY = y;
  return answer;
}

} // namespace lumora
