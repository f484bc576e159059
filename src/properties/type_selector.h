// The type selectors: a preset of the setup (line, filling, text or measure) becomes the current
// attributes of its kind, and whatever the preset leaves open is asked for. The add commands run
// them as their first step.
#pragma once

#include "properties/current_properties.h"
#include "properties/value_selector.h"

#include <optional>
#include <string>
#include <vector>

namespace lumora {

// Completes a set: each attribute it leaves at 0 is taken from what was chosen last, or asked
// with its selector at (3, 2) while the caller waits. kStillRunning, then kSelectorDone.
class Completion {
public:
  int Step(Control& control, PropertySet& set, int kind);

private:
  // Fills the next open attribute it can without asking; true when a selector must ask.
  bool NeedsSelector(Control& control, PropertySet& set, int kind);

  std::size_t next_ = 0;
  std::optional<ValueSelector> running_;
};

class TypeSelector {
public:
  explicit TypeSelector(PresetKind kind) : kind_(kind) {}

  // kStillRunning, then 1 when a preset was chosen and completed, 0 when cancelled.
  int Step(Control& control);
  // Whether the preset list is open; while the presets are completed, each selector that asks
  // shows its own header and prompt.
  bool Listing() const { return stage_ != Stage::kCompleting; }

private:
  enum class Stage { kStart, kList, kCompleting };

  int ElementKind() const;
  PropertySet& Target(Control& control) const;
  void BuildNames(const Control& control);
  void Copy(Control& control, std::size_t preset);

  PresetKind kind_;
  Stage stage_ = Stage::kStart;
  std::uint32_t keptShape_ = 0;
  std::vector<std::string> names_;
  std::size_t longest_ = 1;
  Completion completion_;
};

} // namespace lumora
