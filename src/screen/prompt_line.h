// The prompt line: message row 1 shows the prompt of the active functions, or the program's own
// request when none is active. It is rewritten only when something it depends on has changed,
// so that a pass which changes nothing does not make the line flicker.
#pragma once

#include "util/text_pair.h"

#include <string>

namespace lumora {

struct TextScreen;

// Where a level's prompt is written; width 0 means the message width.
struct PromptPlace {
  int row = 1;
  int column = 2;
  int width = 0;
  friend bool operator==(const PromptPlace&, const PromptPlace&) = default;
};

// One level's active function and its prompt in the current language (title and request).
struct LevelPrompt {
  int code = 0; // 0 = no function active on this level
  std::string text;
  PromptPlace place;
  friend bool operator==(const LevelPrompt&, const LevelPrompt&) = default;
};

// Everything the prompt line shows or depends on, gathered by the dispatcher after each pass.
struct PromptLineInput {
  LevelPrompt help;     // help function
  LevelPrompt helpMenu; // help-menu function
  LevelPrompt property; // property function
  LevelPrompt main;     // main function
  int directionShown = 0;
  int snapMode = 0;
  double cursorAngle = 0.0;
  std::string note; // what was just done, after the prompt
  friend bool operator==(const PromptLineInput&, const PromptLineInput&) = default;
};

struct PromptLineMemory {
  bool valid = false;
  Language language = Language::kEnglish;
  PromptLineInput shown;
};

inline constexpr TextPair kIdlePrompt{"Lumora-program: ^SELECT FUNCTION ! "_l1,
                                      "Lumora-ohjelma: ^VALITSE TOIMINTA ! "_l1};

// Writes the prompt line when it differs from what was last written; true when it wrote.
bool RefreshPromptLine(TextScreen& screen, const PromptLineInput& input);

// Makes the next refresh write the line (after a full repaint or anything else over row 1).
void ForgetPromptLine(TextScreen& screen);

} // namespace lumora
