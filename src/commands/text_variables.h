// Text variables: #name# references in the strings of texts, filled with values the user types
// or a script has set.
//
// The table is shared by Update texts, which empties it at its start, and by the script
// interpreter, which hands over its own table of script variables. Both fill one text at a time
// with a TextSubstitution:
//
//   TextSubstitution fill;                  // one per text, or reused after it has answered
//   std::string result;
//   int r = fill.Step(control, text, result, table);   // first call
//   while (r == kStillRunning) { ...next code...; r = fill.Step(control, text, result, table); }
//   if (r == kTextChanged) ...replace the text's string with result...
//
// A text "#NAME#value" (the whole text one reference followed by a value of one line) keeps its
// reference: only the value behind it is renewed, so the text can be updated again. Every other
// reference is consumed: #NAME# is replaced by the value and the text is scanned again.
#pragma once

#include "protocol/command_state.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

inline constexpr std::size_t kMaxVariables = 100;
inline constexpr std::size_t kVariableNameLimit = 19; // a name is shorter than this
inline constexpr std::size_t kVariableValueMax = 199;
// The longest text a substitution gives; a longer result leaves the text as it was.
inline constexpr std::size_t kSubstitutedTextMax = 999;
// Substitutions in one text before a value that names its own variable is given up.
inline constexpr int kMaxSubstitutions = 1000;

inline constexpr TextPair kTooManyVariables{"Too many variables !"_l1,
                                            "Liian paljon muuttujia !"_l1};
inline constexpr TextPair kUpdatingTexts{"Updating texts: "_l1, "Tekstien päivitys: "_l1};

struct Variable {
  std::string name;
  double number = 0.0; // the first number in text
  std::string text;
  bool numeric = false; // scripts' numeric variables; text variables are strings
};

struct VariableTable {
  std::vector<Variable> entries; // in order of creation
  std::size_t capacity = kMaxVariables;

  Variable* Find(std::string_view name);
  bool Full() const { return entries.size() >= capacity; }
  // Stores a string value under the name, replacing an entry or adding one at the end; false
  // when the table is full. The value is cut to kVariableValueMax.
  bool SetText(std::string_view name, std::string_view value);
};

// Results of TextSubstitution::Step besides kStillRunning.
inline constexpr int kTextUnchanged = 0; // nothing to fill, Esc, a full table, or no end
inline constexpr int kTextChanged = 1;

class TextSubstitution {
public:
  // Fills the references of source into result. While a question is open it answers
  // kStillRunning and is called again with the same arguments for the next code; source is read
  // only on the first call. result is written only with kTextChanged.
  int Step(Control& control, std::string_view source, std::string& result, VariableTable& table);

private:
  struct Reference {
    std::string before;
    std::string name;
    std::string after;
    bool kept = false;
  };

  int Scan(Control& control, std::string& result, VariableTable& table);
  // The first reference of the text being filled; false when there is none.
  bool Split(Reference& ref) const;
  // DATE and TIME from the clock, other names from the table; false when not known.
  bool Lookup(Control& control, VariableTable& table, const std::string& name,
              std::string& value) const;
  // Fills the reference; true when the scan goes on.
  bool Fill(const std::string& value);
  int Done(std::string& result);
  int Ask(Control& control, std::string& result, VariableTable& table);

  bool asking_ = false;
  bool changed_ = false;
  bool givenUp_ = false;
  int count_ = 0;
  std::string work_;
  Reference ref_;
  std::string answer_;
};

// The current date "5.12.2026" and time "9:05:07" with the setup's clock correction.
std::string DateText(const Control& control);
std::string TimeText(const Control& control);

} // namespace lumora
