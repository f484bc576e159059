#include "view/quick_trig.h"

#include <cmath>

namespace lumora {
namespace {

constexpr double kTwoOverPi = 0.63661977236758134308;
// Half pi in two parts: the first has only 33 significant bits, so a multiple of it by a
// quarter-turn count below 2^20 is exact.
constexpr double kHalfPiHigh = 1.57079632673412561417e+00;
constexpr double kHalfPiLow = 6.07710050650619224932e-11;

// Taylor coefficients; on a quarter turn the first terms left out (r^15 / 15!, r^16 / 16!) stay
// below 3e-14, far inside kQuickTrigError with the rounding of the evaluation added.
constexpr double kS3 = -1.0 / 6.0;
constexpr double kS5 = 1.0 / 120.0;
constexpr double kS7 = -1.0 / 5040.0;
constexpr double kS9 = 1.0 / 362880.0;
constexpr double kS11 = -1.0 / 39916800.0;
constexpr double kS13 = 1.0 / 6227020800.0;
constexpr double kC2 = -1.0 / 2.0;
constexpr double kC4 = 1.0 / 24.0;
constexpr double kC6 = -1.0 / 720.0;
constexpr double kC8 = 1.0 / 40320.0;
constexpr double kC10 = -1.0 / 3628800.0;
constexpr double kC12 = 1.0 / 479001600.0;
constexpr double kC14 = -1.0 / 87178291200.0;

constexpr long kQuarterTurns = 4;

} // namespace

CosSin QuickCosSin(double angle) {
  if (!(std::fabs(angle) <= kQuickTrigRange)) return {std::cos(angle), std::sin(angle)};
  // The nearest whole number of quarter turns (a half rounds away from zero).
  const double scaled = angle * kTwoOverPi;
  const double turns = static_cast<double>(static_cast<long>(scaled + (scaled < 0 ? -0.5 : 0.5)));
  const double r = (angle - turns * kHalfPiHigh) - turns * kHalfPiLow; // |r| <= pi / 4
  const double r2 = r * r;
  const double s =
      r + r * r2 * (kS3 + r2 * (kS5 + r2 * (kS7 + r2 * (kS9 + r2 * (kS11 + r2 * kS13)))));
  const double c =
      1.0 +
      r2 * (kC2 + r2 * (kC4 + r2 * (kC6 + r2 * (kC8 + r2 * (kC10 + r2 * (kC12 + r2 * kC14))))));
  switch (((static_cast<long>(turns) % kQuarterTurns) + kQuarterTurns) % kQuarterTurns) {
  case 0:
    return {c, s};
  case 1:
    return {-s, c};
  case 2:
    return {-c, -s};
  default:
    return {s, -c};
  }
}

TrigTurn::TrigTurn(double start, double step)
    : value_(QuickCosSin(start)), turn_(QuickCosSin(step)), error_(kStartError) {
  static_assert(kStartError >= 1.4143 * kQuickTrigError);
}

} // namespace lumora
