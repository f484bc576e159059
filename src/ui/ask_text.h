// Text entry for the texts of the drawing: one line on message row 2, or several lines in a
// window, split and joined at "|". A step machine like the other prompts.
#pragma once

#include "ui/ask_str.h"

namespace lumora {

struct AskTextArgs {
  TextPair title;
  TextPair prompt;
  std::size_t size = 1000; // the caller's buffer, with its terminator
  bool singleLine = false; // one line whatever the text window size of the setup
};

inline constexpr char kLineSeparator = '|';
inline constexpr int kMaxTextLines = 80;
inline constexpr std::size_t kTextLineSize = 100; // bytes of a line with its terminator
inline constexpr int kTextAcceptedEmpty = -13;    // accepted, but empty or starting with "|"

// Results as AskStr, with kTextAcceptedEmpty; the text is edited in `buffer`.
int AskText(Control& control, PromptState& prompts, const AskTextArgs& args, std::string& buffer);

} // namespace lumora
