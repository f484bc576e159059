// The value selectors: one attribute of a PropertySet chosen from its setup list or typed.
// Each is a step machine called once per code with the same arguments until it answers.
#pragma once

#include "model/property_set.h"
#include "ui/ask_yes_no.h"
#include "util/text_pair.h"

#include <string>
#include <vector>

namespace lumora {

struct Control;

enum class Attribute {
  kLayer,
  kWidth,
  kColour,
  kStyle,
  kSection,
  kGap,
  kAngle, // of the filling, the text or the part, by the kind
  kPositioning,
  kFont,
  kHeight,
  kWidthRatio,
  kSlant,
  kPartSize,   // one ratio for both scale factors
  kPartWidth,  // the part's width, the height optionally in proportion
  kPartHeight, // the part's height, the width optionally in proportion
  kMirroring,
};

// Results besides kStillRunning.
inline constexpr int kSelectorCancelled = 0;
inline constexpr int kSelectorDone = 1;

inline constexpr TextPair kTooSmallOrTooBig{"Too small or too big !"_l1,
                                            "Liian pieni tai liian suuri !"_l1};
inline constexpr TextPair kTooSmall{"Too small !"_l1, "Liian pieni !"_l1};

// An attribute's value as a property dialog shows it, named by the setup's lists; kind is the
// dialog's (it tells which angle). Empty for what has no value to show.
std::string ValueText(const Control& control, Attribute attribute, int kind,
                      const PropertySet& set);

class ValueSelector {
public:
  // The list opens at (row, column); kind is the dialog's: 1 line, 2 filling, 3 text, 4 part.
  ValueSelector(Attribute attribute, int kind, int row, int column)
      : attribute_(attribute), kind_(kind), row_(row), column_(column) {}

  // kStillRunning, kSelectorDone (the value may have changed) or kSelectorCancelled.
  int Step(Control& control, PropertySet& set);

private:
  enum class Stage { kStart, kList, kTyping, kQuestion };
  struct Entry {
    std::string text;
    double value = 0;
  };

  int Start(Control& control, PropertySet& set);
  int List(Control& control, PropertySet& set);
  int Type(Control& control, PropertySet& set);
  int Question(Control& control, PropertySet& set);
  int StartTyping(Control& control, PropertySet& set);
  int Finish(Control& control, PropertySet& set, int result);

  void BuildEntries(const Control& control);
  bool Typable() const;
  bool Integer() const;
  double Current(const Control& control, const PropertySet& set) const;
  bool TakeListed(Control& control, PropertySet& set, double value);
  // kSelectorDone when taken, kStillRunning when refused or a question follows.
  int TakeTyped(Control& control, PropertySet& set, double value);
  void ScalePart(PropertySet& set, bool both) const;

  Attribute attribute_;
  int kind_;
  int row_;
  int column_;
  Stage stage_ = Stage::kStart;
  std::vector<Entry> entries_;
  std::vector<std::string> names_;
  std::size_t longest_ = 1;
  double typed_ = 0;
  int typedInteger_ = 0;
  double pending_ = 0; // a typed gap or part size waiting for its question
  AskYesNo question_;
};

} // namespace lumora
