// The yes/no question: title and question as the prompt of the current level, then the two
// choices after them. A step machine: the caller calls it once per code with the same
// arguments until it answers.
#pragma once

#include "protocol/command_state.h"
#include "ui/ask_state.h"
#include "util/text_pair.h"

namespace lumora {

inline constexpr int kAnswerYes = 1;
inline constexpr int kAnswerNo = 0;
inline constexpr int kAnswerBack = -8;
inline constexpr int kAnswerEsc = -27;

inline constexpr TextPair kChoiceYes{" yes "_l1, " kyllä "_l1};
inline constexpr TextPair kChoiceNo{" no "_l1, " ei "_l1};

class AskYesNo {
public:
  // kAnswerYes, kAnswerNo, kAnswerBack, kAnswerEsc, or kStillRunning until answered. Row 1 is
  // the prompt line of the current level; another row is written where it is given.
  int Ask(Control& control, int row, int column, int width, const TextPair& title,
          const TextPair& question, int defaultAnswer);

  bool Open() const { return open_; }
  int Choice() const { return choice_; }

private:
  void Show(Control& control);
  void DrawChoices(Control& control);
  void Select(Control& control, int choice);
  int Close(Control& control, int answer);
  int ChoiceWidth(const Control& control) const;

  bool open_ = false;
  int choice_ = kAnswerYes;
  int row_ = 1;
  int column_ = 1;
  int width_ = 0;
  TextPair title_;
  TextPair question_;
  SavedPromptState saved_;
};

} // namespace lumora
