#include "script/script_expressions.h"

#include "util/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace lumora {
namespace {

constexpr std::string_view kTemporaryPrefix = "UnUseable";
// A function name runs back to one of these; the comma ends it as well, so calls nest.
constexpr std::string_view kOperators = "*/+-(),";
constexpr std::string_view kBadNameChars = ".+-*/()";
constexpr std::string_view kBadNameStart = ".0123456789[]";
constexpr std::size_t kConditionTextMax = 99;
constexpr double kDegreeToRadian = 0.017453292519444445;
constexpr double kRadianToDegree = 57.29577951471995;
constexpr double kPowFirstLimit = 9999999.9;
constexpr double kTextStep = 0.000001;
constexpr std::size_t kTextWidth = 400;

constexpr std::string_view kNoNumber = "No number found!";
constexpr std::string_view kEndOfText = "End of text found!";
constexpr std::string_view kNoText = "No text found!";
constexpr std::string_view kNoClosingParenthesis = "No closing parenthesis found!";
constexpr std::string_view kOneIndex = "Array can have just one index!";
constexpr std::string_view kDivideByZero = "Try to divide with zero!";
constexpr std::string_view kPowParameters = "POW-function needs two parameters!";
constexpr std::string_view kNoClosingQuote = "No closing quotation mark found!";
constexpr std::string_view kStringTooLong = "String variable too long!";
constexpr std::string_view kBadName = "Variable name includes letters that are not allowed!";
constexpr std::string_view kNameTooLong = "Variable name too long!";
constexpr std::string_view kTableFull = "Maximum amount of variables exceeded!";
constexpr std::string_view kOnlyEquals = "For texts just '='-comparision is allowed!";
constexpr std::string_view kNoCompared = "No text found for comparision found!";
constexpr std::string_view kNoCondition = "No statement for IF!";
constexpr std::string_view kNotDefined = "Value not defined!";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (c != ' ') out += c;
  return out;
}

bool Near(double a, double b) {
  return std::abs(a - b) <= kScriptTolerance;
}

std::string NotFound(std::string_view name) {
  return "Variable '" + std::string(name) + "' not found!";
}

// Splits at commas outside double quotes.
std::vector<std::string_view> SplitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (text[i] == ',' && !quoted) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(text.substr(start));
  return parts;
}

bool StartsWithWord(std::string_view text, std::size_t i, std::string_view word) {
  return text.substr(i, word.size()) == word;
}

} // namespace

std::string ScriptNumberText(double value) {
  return NumberToText(value, kTextStep, kTextWidth);
}

int RoundToInt(double value) {
  if (!std::isfinite(value)) return 0;
  const double rounded = value > 0.0 ? std::floor(value + 0.5) : std::ceil(value - 0.5);
  constexpr double kMax = std::numeric_limits<int>::max();
  constexpr double kMin = std::numeric_limits<int>::min();
  return static_cast<int>(std::clamp(rounded, kMin, kMax));
}

std::size_t FindOutsideQuotes(std::string_view text, std::string_view word) {
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (!quoted && text.substr(i, word.size()) == word) return i;
  }
  return std::string_view::npos;
}

ScriptValues::ScriptValues(ScriptReporter& reporter) : reporter_(reporter) {
  table_.capacity = kScriptVariables;
  Reset();
}

void ScriptValues::Reset() {
  table_.entries.clear();
  SetNumber(std::string(kPiiName), kPii);
  degrees = false;
  reporting = true;
  separators = Separators::kNormal;
  text_.clear();
  cursor_.reset();
}

void ScriptValues::Report(std::string_view message) {
  if (reporting) reporter_.Report(message);
}

double ScriptValues::Checked(double value) {
  if (std::isfinite(value)) return value;
  Report(kNotDefined);
  return 0.0;
}

// ---- items ----

void ScriptValues::Begin(std::string_view text, std::size_t cursor) {
  text_ = std::string(text);
  cursor_ = std::min(cursor, text_.size());
}

bool ScriptValues::AtEnd() const {
  return !cursor_ || Trim(std::string_view(text_).substr(*cursor_)).empty();
}

bool ScriptValues::IsSeparatorAt(std::string_view text, std::size_t i, std::size_t& length) const {
  length = 1;
  switch (separators) {
  case Separators::kNormal:
    return text[i] == ',' || text[i] == '=';
  case Separators::kFor:
    for (const std::string_view word : {std::string_view("TO"), std::string_view("STEP")}) {
      if (StartsWithWord(text, i, word)) {
        length = word.size();
        return true;
      }
    }
    return false;
  case Separators::kCondition:
    if (text[i] == '=' || text[i] == '<' || text[i] == '>') return true;
    for (const std::string_view word :
         {std::string_view("AND"), std::string_view("OR"), std::string_view("THEN")}) {
      if (StartsWithWord(text, i, word)) {
        length = word.size();
        return true;
      }
    }
    return false;
  }
  return false;
}

bool ScriptValues::TakeItem(std::string& item) {
  item.clear();
  if (!cursor_ || *cursor_ >= text_.size()) {
    Report(kEndOfText);
    return false;
  }
  const std::string_view text = text_;
  std::size_t i = *cursor_;
  while (i < text.size() && text[i] == ' ') ++i;
  const std::size_t start = i;
  int depth = 0;
  bool quoted = false;
  std::size_t length = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '(' || c == '[') ++depth;
    if ((c == ')' || c == ']') && depth > 0) --depth;
    if (depth == 0 && IsSeparatorAt(text, i, length)) break;
  }
  item = std::string(text.substr(start, i - start));
  while (!item.empty() && item.back() == ' ') item.pop_back();
  cursor_ = i < text.size() ? i + length : text.size();
  if (item.empty()) {
    Report(kNoText);
    return false;
  }
  return true;
}

double ScriptValues::Number() {
  std::string item;
  if (!TakeItem(item)) {
    Report(kNoNumber);
    cursor_.reset();
    return 0.0;
  }
  return Evaluate(item);
}

bool ScriptValues::OptionalNumber(double& value) {
  const bool was = reporting;
  reporting = false;
  std::string item;
  const bool found = TakeItem(item);
  reporting = was;
  if (found) value = Evaluate(item);
  return found;
}

bool ScriptValues::String(std::string& value, std::size_t size) {
  std::string item;
  if (!TakeItem(item)) return false;
  return StringOf(item, value, size);
}

// ---- numbers ----

double ScriptValues::Evaluate(std::string_view expression) {
  std::string text(expression);
  double value = 0.0;
  if (ResolveBrackets(text) && ResolveParentheses(text)) value = Flat(text);
  DropTemporaries();
  return value;
}

// Array indices, innermost first: NAME[expression] becomes NAME[whole number].
bool ScriptValues::ResolveBrackets(std::string& text) {
  for (;;) {
    const std::size_t close = text.find(']');
    if (close == std::string::npos) {
      // Braces held the finished indices while the outer ones were resolved.
      std::replace(text.begin(), text.end(), '{', '[');
      std::replace(text.begin(), text.end(), '}', ']');
      return true;
    }
    const std::size_t open = text.rfind('[', close);
    if (open == std::string::npos) {
      text.erase(close, 1); // a stray bracket closes nothing
      continue;
    }
    if (!ReplaceIndex(text, open, close)) return false;
  }
}

bool ScriptValues::ReplaceIndex(std::string& text, std::size_t open, std::size_t close) {
  std::string inner = text.substr(open + 1, close - open - 1);
  std::replace(inner.begin(), inner.end(), '{', '[');
  std::replace(inner.begin(), inner.end(), '}', ']');
  if (SplitCommas(inner).size() > 1) Report(kOneIndex);
  if (!ResolveParentheses(inner)) return false;
  const int index = RoundToInt(Flat(SplitCommas(inner).front()));
  text.replace(open, close - open + 1, "{" + std::to_string(index) + "}");
  return true;
}

// Parentheses, innermost first, each replaced by a temporary variable holding its value.
bool ScriptValues::ResolveParentheses(std::string& text) {
  for (;;) {
    const std::size_t close = text.find(')');
    const std::size_t open = close == std::string::npos ? text.rfind('(') : text.rfind('(', close);
    if (close == std::string::npos && open == std::string::npos) return true;
    if (close == std::string::npos) {
      Report(kNoClosingParenthesis);
      return false;
    }
    if (open == std::string::npos) {
      text.erase(close, 1); // a stray parenthesis closes nothing
      continue;
    }
    if (!ReplaceCall(text, open, close)) return false;
  }
}

bool ScriptValues::ReplaceCall(std::string& text, std::size_t open, std::size_t close) {
  std::size_t nameStart = open;
  while (nameStart > 0 && kOperators.find(text[nameStart - 1]) == std::string_view::npos)
    --nameStart;
  const std::string name =
      WithoutBlanks(std::string_view(text).substr(nameStart, open - nameStart));
  const std::string_view content = std::string_view(text).substr(open + 1, close - open - 1);
  const double value = name.empty() ? Flat(SplitCommas(content).front()) : Function(name, content);
  std::string temporary;
  if (!NewTemporary(value, temporary)) return false;
  text.replace(nameStart, close - nameStart + 1, temporary);
  return true;
}

double ScriptValues::Function(std::string_view name, std::string_view content) {
  const std::vector<std::string_view> parts = SplitCommas(content);
  const double x = Flat(parts.front());
  const double angle = degrees ? x * kDegreeToRadian : x;
  if (name == "ABS") return std::abs(x);
  if (name == "SQR") return Checked(x < 0.0 ? std::nan("") : std::sqrt(x));
  if (name == "POW") {
    if (parts.size() < 2 || x >= kPowFirstLimit) {
      Report(kPowParameters);
      return 0.0;
    }
    return Checked(std::pow(x, Flat(parts[1])));
  }
  if (name == "EXP") return Checked(std::exp(x));
  if (name == "LOG") return Checked(x <= 0.0 ? std::nan("") : std::log(x));
  if (name == "RND") return x > 0.0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5);
  if (name == "SIN") return std::sin(angle);
  if (name == "COS") return std::cos(angle);
  if (name == "TAN") return Checked(std::tan(angle));
  if (name == "ATN") return degrees ? std::atan(x) * kRadianToDegree : std::atan(x);
  Report("Unrecognized function call '" + std::string(name) + "'");
  return 0.0;
}

bool ScriptValues::NewTemporary(double value, std::string& name) {
  if (table_.Full()) {
    Report(kTableFull);
    return false;
  }
  for (int n = 1;; ++n) {
    name = std::string(kTemporaryPrefix) + std::to_string(n);
    if (table_.Find(name) == nullptr) break;
  }
  SetNumber(name, value);
  return true;
}

void ScriptValues::DropTemporaries() {
  std::erase_if(table_.entries, [](const Variable& v) {
    return std::string_view(v.name).starts_with(kTemporaryPrefix);
  });
}

// A sum of products, left to right, with no parentheses left.
double ScriptValues::Flat(std::string_view text) {
  std::size_t pos = 0;
  double total = 0.0;
  for (;;) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    double sign = 1.0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
      sign = text[pos] == '-' ? -1.0 : 1.0;
      ++pos;
    }
    double term = Factor(text, pos);
    for (;;) {
      while (pos < text.size() && text[pos] == ' ') ++pos;
      if (pos >= text.size() || (text[pos] != '*' && text[pos] != '/')) break;
      const char op = text[pos++];
      const double factor = Factor(text, pos);
      if (op == '*') {
        term = Checked(term * factor);
      } else if (Near(factor, 0.0)) {
        Report(kDivideByZero); // the division is left out
      } else {
        term = Checked(term / factor);
      }
    }
    total = Checked(total + sign * term);
    if (pos >= text.size()) return total;
    if (text[pos] != '+' && text[pos] != '-') {
      Report(kNoNumber); // something that joins nothing: the rest is not counted
      return total;
    }
  }
}

double ScriptValues::Factor(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (pos < text.size() && kNumberStart.find(text[pos]) != std::string_view::npos) {
    double value = 0.0;
    ReadNumber(text, pos, value);
    if (std::abs(value) == std::numeric_limits<double>::max()) {
      Report(kNotDefined); // beyond the range of a double
      return 0.0;
    }
    return value;
  }
  const std::size_t start = pos;
  while (pos < text.size() && std::string_view("+-*/").find(text[pos]) == std::string_view::npos)
    ++pos;
  const std::string_view name = Trim(text.substr(start, pos - start));
  if (name.empty()) {
    Report(kNoNumber);
    return 0.0;
  }
  return NumberOf(name.substr(0, kScriptNameMax));
}

// ---- strings ----

bool ScriptValues::StringOf(std::string_view expression, std::string& value, std::size_t size) {
  const std::string_view text = Trim(expression);
  if (text.empty()) {
    Report(kNoText);
    return false;
  }
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && text[i] == '"') {
      const std::size_t close = text.find('"', i + 1);
      std::string_view quoted = text.substr(
          i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
      if (close == std::string_view::npos) Report(kNoClosingQuote);
      if (quoted.size() > kQuotedTextMax) {
        Report(kStringTooLong);
        quoted = quoted.substr(0, kQuotedTextMax);
      }
      out += quoted;
      i = close == std::string_view::npos ? text.size() : close + 1;
    } else {
      std::size_t end = i;
      while (end < text.size() && text[end] != '+' && text[end] != '"') ++end;
      std::string name(Trim(text.substr(i, end - i)));
      i = end;
      if (!name.empty()) {
        if (!ResolveBrackets(name)) name.clear();
        name = name.substr(0, kStringPartNameMax);
        const Variable* found = table_.Find(name);
        if (found == nullptr)
          Report(NotFound(name));
        else
          out += found->text;
      }
      DropTemporaries();
    }
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && text[i] == '+') ++i;
  }
  value = out.substr(0, size);
  return true;
}

// ---- conditions ----

bool ScriptValues::Condition(std::string_view text) {
  std::string work(Trim(text));
  const std::size_t then = FindOutsideQuotes(work, "THEN");
  if (then != std::string_view::npos) work.erase(then);
  if (Trim(work).empty()) {
    Report(kNoCondition);
    return true;
  }
  const Separators was = separators;
  separators = Separators::kCondition;
  const bool truth = ResolveSubConditions(work) && FlatCondition(work);
  separators = was;
  return truth;
}

// Parenthesised parts are sub-conditions: each becomes 1 or 0.
bool ScriptValues::ResolveSubConditions(std::string& text) {
  for (;;) {
    const std::size_t close = text.find(')');
    const std::size_t open = close == std::string::npos ? text.rfind('(') : text.rfind('(', close);
    if (close == std::string::npos && open == std::string::npos) return true;
    if (close == std::string::npos) {
      Report(kNoClosingParenthesis);
      return false;
    }
    if (open == std::string::npos) {
      text.erase(close, 1);
      continue;
    }
    const bool inner = FlatCondition(std::string_view(text).substr(open + 1, close - open - 1));
    text.replace(open, close - open + 1, inner ? "1" : "0");
  }
}

bool ScriptValues::ConditionOperand(std::string_view text, std::size_t& pos, std::string& operand,
                                    std::string& ender) {
  std::size_t i = pos;
  bool quoted = false;
  std::size_t length = 0;
  for (; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (!quoted && IsSeparatorAt(text, i, length)) break;
  }
  operand = std::string(Trim(text.substr(pos, i - pos)));
  ender = i < text.size() ? std::string(text.substr(i, length)) : std::string();
  pos = i < text.size() ? i + length : text.size();
  return !operand.empty();
}

bool ScriptValues::FlatCondition(std::string_view text) {
  std::size_t pos = 0;
  std::string left;
  std::string op;
  std::string right;
  std::string next;
  for (;;) {
    ConditionOperand(text, pos, left, op);
    if (left.empty() && op.empty()) {
      Report(kNoCondition);
      return true;
    }
    const Variable* named = table_.Find(left);
    bool result = false;
    if (named != nullptr && !named->numeric) {
      const std::string own = named->text.substr(0, kConditionTextMax);
      if (op != "=") {
        Report(kOnlyEquals);
        return false;
      }
      ConditionOperand(text, pos, right, next);
      std::string compared;
      if (right.empty() || !StringOf(right, compared, kConditionTextMax)) {
        Report(kNoCompared);
        return false;
      }
      result = own == compared;
    } else {
      const double a = Evaluate(left);
      if (op.empty() || op == "THEN") return !Near(a, 0.0);
      ConditionOperand(text, pos, right, next);
      const double b = right.empty() ? 0.0 : Evaluate(right);
      if (right.empty()) Report(kNoNumber);
      if (op == "=")
        result = Near(a, b);
      else if (op == "<")
        result = a < b - kScriptTolerance;
      else if (op == ">")
        result = a > b + kScriptTolerance;
      else if (op == "AND")
        result = !Near(a, 0.0) && !Near(b, 0.0);
      else
        result = !Near(a, 0.0) || !Near(b, 0.0); // OR
    }
    if (next == "AND" && !result) return false;
    if (next == "OR" && result) return true;
    if (next != "AND" && next != "OR") return result;
  }
}

// ---- variables ----

bool ScriptValues::IsStringName(std::string_view name) {
  if (name.ends_with('$')) return true;
  const std::size_t bracket = name.find('[');
  return bracket != std::string_view::npos && bracket > 0 && name[bracket - 1] == '$';
}

bool ScriptValues::VariableName(std::string_view written, std::string& name) {
  name = WithoutBlanks(written);
  if (name.find('[') != std::string::npos && !ResolveBrackets(name)) {
    DropTemporaries();
    return false;
  }
  DropTemporaries();
  if (name.empty() || name.find_first_of(kBadNameChars) != std::string::npos ||
      kBadNameStart.find(name.front()) != std::string_view::npos) {
    Report(kBadName);
    return false;
  }
  if (name.size() > kScriptNameMax) {
    Report(kNameTooLong);
    name.resize(kScriptNameMax);
  }
  return true;
}

bool ScriptValues::SetNumber(const std::string& name, double value) {
  Variable* entry = table_.Find(name);
  if (entry == nullptr) {
    if (table_.Full()) {
      Report(kTableFull);
      return false;
    }
    table_.entries.push_back({name, 0.0, {}, true});
    entry = &table_.entries.back();
  }
  entry->number = value;
  entry->text = ScriptNumberText(value);
  entry->numeric = true;
  return true;
}

bool ScriptValues::SetText(const std::string& name, std::string_view value) {
  if (table_.Find(name) == nullptr && table_.Full()) {
    Report(kTableFull);
    return false;
  }
  if (value.size() > kScriptTextMax) Report(kStringTooLong);
  return table_.SetText(name, value.substr(0, kScriptTextMax));
}

double ScriptValues::NumberOf(std::string_view name) {
  const Variable* found = table_.Find(name);
  if (found == nullptr) {
    Report(NotFound(name));
    return 0.0;
  }
  return found->number;
}

} // namespace lumora
