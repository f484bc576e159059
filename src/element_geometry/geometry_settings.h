// The lengths element geometry measures with: the search unit of the current view, the area
// and corner tolerances fixed at start-up, and the arc accuracy of the setup.
#pragma once

namespace lumora {

// A search unit is this share of the width of the visible part of the drawing.
inline constexpr double kSearchUnitShare = 0.008;
// The area tolerance is this share of the sheet width; the corner tolerance a tenth of it.
inline constexpr double kAreaToleranceShare = 0.005;
inline constexpr double kCornerToleranceShare = 0.1;

struct GeometrySettings {
  double viewWidth = 0.0;     // width of the visible part of the drawing, drawing units
  double areaTolerance = 0.0; // taken from the sheet at start-up, not from each drawing read
  double arcAccuracy = 0.04;  // largest distance between an arc and its chords, drawing units
  bool partStretch = false;   // a part counts in a stretch area as soon as it touches it

  double SearchUnit() const { return kSearchUnitShare * viewWidth; }
  double CornerTolerance() const { return kCornerToleranceShare * areaTolerance; }
  // A radius of k search units; k = 0 means the whole visible width.
  double Radius(double k) const { return k == 0.0 ? viewWidth : k * SearchUnit(); }
};

// The settings for a view of the given width over a sheet of the given width.
inline GeometrySettings MakeGeometrySettings(double viewWidth, double sheetWidth,
                                             double arcAccuracy, bool partStretch) {
  return {viewWidth, kAreaToleranceShare * sheetWidth, arcAccuracy, partStretch};
}

} // namespace lumora
