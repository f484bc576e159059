// Numeric entry on the text entry: the old value proposed as text, the answer read as a number
// or as two numbers joined by one operator (+, -, * or /).
#pragma once

#include "ui/ask_str.h"

#include <string_view>

namespace lumora {

struct AskNumberArgs {
  int row = 1;
  int column = 2;
  int width = 0;
  TextPair title{};
  TextPair prompt{};
  double precision = 0.001; // the step the old value is shown to
};

// Results as AskStr; an empty answer is kEntryBack. On kEntryAccepted `result` is the number
// read, on any other result the old value.
int AskNumber(Control& control, PromptState& prompts, const AskNumberArgs& args, double& result,
              double oldValue);

// AskNumber to whole units, the result rounded.
int AskInteger(Control& control, PromptState& prompts, const AskNumberArgs& args, int& result,
               int oldValue);

// Two numbers in one entry, proposed as "x,y".
int AskTwoNumbers(Control& control, PromptState& prompts, const AskNumberArgs& args,
                  double& resultX, double& resultY, double oldX, double oldY);

// The value of an answer: a text without digits is 0; otherwise the first of "+", "-", "*",
// "/" found after the first digit joins the number at the start and the number after it. A
// minus in front of the first digit is the number's sign.
double EvaluateNumberText(std::string_view text);

// Whether an answer is a number expression: digits, points, signs and the operators, blanks,
// exponents after a mantissa, and in a pair one comma. Letters are refused, not read as 0.
bool IsNumberText(std::string_view text, bool pair);

inline constexpr TextPair kNotANumber{"Not a number !"_l1, "Ei ole luku !"_l1};

} // namespace lumora
