// The values of scripts: variables, numeric and string expressions and conditions.
//
// Statements hand their items over one at a time: the parse cursor walks the statement's text
// and each call takes the next item up to a separator of the mode in force. Errors are
// reported through the reporter while reporting is on, and evaluation goes on with a stated
// value (mostly 0), so a bad line never stops a script by itself.
#pragma once

#include "commands/text_variables.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumora {

inline constexpr std::size_t kScriptVariables = 100;
inline constexpr std::size_t kScriptNameMax = 19;     // longest name kept
inline constexpr std::size_t kScriptTextMax = 199;    // longest text value kept
inline constexpr std::size_t kQuotedTextMax = 200;    // longest quoted text in a string
inline constexpr std::size_t kStringPartNameMax = 18; // longest name joined into a string
inline constexpr double kScriptTolerance = 0.001;
inline constexpr double kPii = 3.1415926535;
inline constexpr std::string_view kPiiName = "PII";

class ScriptReporter {
public:
  virtual void Report(std::string_view message) = 0;

protected:
  ~ScriptReporter() = default;
};

enum class Separators { kNormal, kFor, kCondition };

// The number-to-text rule of script values: six decimals at most, no trailing zeros.
std::string ScriptNumberText(double value);

// A double made a whole number, halves away from zero, held inside the range of int.
int RoundToInt(double value);

// Where the word first stands outside double quotes; npos when it does not.
std::size_t FindOutsideQuotes(std::string_view text, std::string_view word);

class ScriptValues {
public:
  explicit ScriptValues(ScriptReporter& reporter);

  // A fresh run: only PII, radians.
  void Reset();

  VariableTable& Table() { return table_; }
  bool degrees = false;
  bool reporting = true;
  Separators separators = Separators::kNormal;

  // ---- items of a statement ----
  // The statement's text and where its items start; a cursor of none means a required item
  // was missing.
  void Begin(std::string_view text, std::size_t cursor);
  std::optional<std::size_t>& Cursor() { return cursor_; }
  const std::string& Text() const { return text_; }
  bool AtEnd() const;
  // The next item, blanks before it removed; false when there is none.
  bool TakeItem(std::string& item);
  // The next item as a number; a missing item reports "No number found!", gives 0 and sets
  // the cursor to none.
  double Number();
  // The same, but quiet and answering whether there was an item.
  bool OptionalNumber(double& value);
  // The next item as a string cut to size; false when there is none.
  bool String(std::string& value, std::size_t size = kScriptTextMax);
  // The rest of the text up to THEN as a condition.
  bool Condition(std::string_view text);

  // ---- whole expressions ----
  double Evaluate(std::string_view expression);
  bool StringOf(std::string_view expression, std::string& value, std::size_t size);

  // ---- variables ----
  // A name as written left of "=" or in INPUT, FOR, NEXT: index evaluated into it, checked
  // and cut; false when it cannot name a variable.
  bool VariableName(std::string_view written, std::string& name);
  static bool IsStringName(std::string_view name);
  Variable* Find(std::string_view name) { return table_.Find(name); }
  bool SetNumber(const std::string& name, double value);
  bool SetText(const std::string& name, std::string_view value);
  double NumberOf(std::string_view name);

  void Report(std::string_view message);

private:
  bool IsSeparatorAt(std::string_view text, std::size_t i, std::size_t& length) const;
  bool ResolveBrackets(std::string& text);
  bool ResolveParentheses(std::string& text);
  bool ReplaceIndex(std::string& text, std::size_t open, std::size_t close);
  bool ReplaceCall(std::string& text, std::size_t open, std::size_t close);
  double Function(std::string_view name, std::string_view content);
  double Flat(std::string_view text);
  double Factor(std::string_view text, std::size_t& pos);
  double Checked(double value);
  bool NewTemporary(double value, std::string& name);
  void DropTemporaries();
  bool FlatCondition(std::string_view text);
  bool ResolveSubConditions(std::string& text);
  bool ConditionOperand(std::string_view text, std::size_t& pos, std::string& operand,
                        std::string& ender);

  ScriptReporter& reporter_;
  VariableTable table_;
  std::string text_;
  std::optional<std::size_t> cursor_;
};

} // namespace lumora
