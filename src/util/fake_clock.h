// A clock for tests and event files: time stands still until a wait or Advance moves it, so a
// two-second message costs no real time. Its local time zone is UTC.
#pragma once

#include "util/clock.h"

#include <cmath>
#include <vector>

namespace lumora {

class FakeClock final : public Clock {
public:
  // 5.12.2026 08:30:00 UTC: a fixed, recognisable start.
  static constexpr double kDefaultStart = 1796459400.0;

  explicit FakeClock(double start = kDefaultStart) : now_(start) {}

  double Seconds() const override { return now_; }

  LocalDateTime LocalTime(long long correction = 0) const override {
    return CalendarOf(static_cast<long long>(std::floor(now_)) + correction);
  }

  void Wait(double seconds) override {
    if (!(seconds > 0.0) || !std::isfinite(seconds)) return;
    waits_.push_back(seconds);
    now_ += seconds;
  }

  void Advance(double seconds) { now_ += seconds; }

  // Every wait that stood still, in order.
  const std::vector<double>& Waits() const { return waits_; }
  void ClearWaits() { waits_.clear(); }

private:
  double now_;
  std::vector<double> waits_;
};

} // namespace lumora
