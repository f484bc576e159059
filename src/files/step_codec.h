// How the recovery log holds a committed step: the undo journal turns the step it committed
// last into bytes, and does such bytes again on a drawing when a log is recovered. The log
// itself never looks inside them.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace lumora {

class ElementStore;

class StepCodec {
public:
  virtual ~StepCodec() = default;
  // The step the store's journal committed last, as bytes that Apply takes.
  virtual std::vector<std::byte> Encode(ElementStore& store) = 0;
  // The store holds what a checkpoint holds: just written, or just read back. Steps encoded or
  // applied from now on name its records from there.
  virtual void Begin(ElementStore& store) = 0;
  // Does a logged step again on the drawing of the store. False when the bytes do not make a
  // step that fits the drawing as it is: the log is then taken as damaged from there on, and
  // the store must be as the step found it.
  virtual bool Apply(ElementStore& store, std::span<const std::byte> step) = 0;
};

// For a program whose journal gives steps no bytes: no step is ever logged, and any step met
// in a log is refused, so what the log holds ends at its checkpoint.
class RefusingStepCodec final : public StepCodec {
public:
  std::vector<std::byte> Encode(ElementStore&) override { return {}; }
  void Begin(ElementStore&) override {}
  bool Apply(ElementStore&, std::span<const std::byte>) override { return false; }
};

} // namespace lumora
