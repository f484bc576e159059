// Cosine and sine within a known error, several times cheaper than the library's. Arc vertices
// are placed with them wherever the error cannot move a vertex into another pixel.
#pragma once

namespace lumora {

// Both results differ from the exact cosine and sine by less than this; the library's results
// (within an ulp of exact) therefore lie within it too.
inline constexpr double kQuickTrigError = 1e-11;
// Angles the quick forms take, in radians either way; beyond it they give the library's answer.
inline constexpr double kQuickTrigRange = 256.0;

struct CosSin {
  double cos = 1.0;
  double sin = 0.0;
};

CosSin QuickCosSin(double angle);

// The cosine and sine of a start angle and then of each angle a loop reaches by adding a fixed
// step to the last one, each pair turned on from the one before instead of evaluated anew.
// Error() bounds how far either value may lie from the exact one at the angle as the loop
// summed it, while that angle stays within kTurnRange; past kMaxTurnError it is of no use.
class TrigTurn {
public:
  static constexpr double kTurnRange = 16.0;
  static constexpr double kMaxTurnError = 1e-7;

  TrigTurn(double start, double step);
  const CosSin& Value() const { return value_; }
  double Error() const { return error_; }
  void Next();

private:
  CosSin value_;
  CosSin turn_;
  double error_;
};

} // namespace lumora
