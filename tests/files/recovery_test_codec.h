// A stand-in for the undo journal's step codec: a step is one straight line, its two end
// points as four doubles.
#pragma once

#include "files/step_codec.h"
#include "model/element_store.h"
#include "model/property_set.h"

#include <array>
#include <cstring>

namespace lumora::test {

class LineStepCodec final : public StepCodec {
public:
  std::array<Point, 2> next{};

  void Begin(ElementStore&) override {}
  std::vector<std::byte> Encode(ElementStore&) override {
    std::vector<std::byte> bytes(sizeof(double) * 4);
    const std::array<double, 4> values{next[0].x, next[0].y, next[1].x, next[1].y};
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
  }
  bool Apply(ElementStore& store, std::span<const std::byte> step) override {
    std::array<double, 4> values{};
    if (step.size() != sizeof(values)) return false;
    std::memcpy(values.data(), step.data(), sizeof(values));
    const std::array<Point, 2> points{Point{values[0], values[1]}, Point{values[2], values[3]}};
    PropertySet set;
    set.SetShape(1);
    return store.AddLine(set, points.data(), 2) != nullptr;
  }
};

} // namespace lumora::test
