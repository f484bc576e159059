// The attributes new elements are made with, one set per element kind, and what the property
// prompts remember between uses. One instance lives in the App for the whole run.
#pragma once

#include "model/property_set.h"
#include "protocol/functions.h"

#include <array>
#include <cstddef>

namespace lumora {

// The preset lists of the type selectors.
enum class PresetKind { kLine = 0, kFilling = 1, kText = 2, kMeasure = 3 };
inline constexpr std::size_t kPresetKindCount = 4;
inline constexpr std::size_t kDialogKindCount = 4;

struct CurrentProperties {
  PropertySet line;
  PropertySet filling;
  PropertySet text;
  PropertySet part; // with the part angle, the scale factors and the part's box

  // The value taken last by a layer, width or colour selector; 0 until one was taken.
  int lastLayer = 0;
  int lastWidth = 0;
  int lastColour = 0;
  std::array<std::size_t, kPresetKindCount> lastPreset{}; // the preset chosen last, by list
  std::array<std::size_t, kDialogKindCount> lastLine{};   // the dialog line chosen last, by kind
  // The nonzero radius the rounding was given last: offered at a corner not rounded yet.
  double lastRoundingRadius = 0.0;
  // The distance Clone line offers, the last one used while the program runs.
  double cloneDistance = 0.0;

  // The set of an element kind (kElementLine ... kElementPart); the line set for any other.
  PropertySet& Of(int kind) {
    switch (kind) {
    case kElementFilling:
      return filling;
    case kElementText:
      return text;
    case kElementPart:
      return part;
    default:
      return line;
    }
  }
};

} // namespace lumora
