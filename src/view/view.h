// The view: which part of the sheet the drawing area shows, and the mapping between drawing
// units and pixels. The sheet limits themselves are the drawing header's `limits`.
#pragma once

#include "geometry/primitives.h"

namespace lumora {

// Height of the message band at the top of the window; the drawing area is the rest.
inline constexpr int kMessageBandPixels = 32;

// A window pixel counted from the top left corner, as the mouse reports it.
struct WindowPixel {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const WindowPixel&, const WindowPixel&) = default;
};

struct View {
  Box viewBox{0.0, 0.0, 198.0, 281.0};
  Box previousViewBox{0.0, 0.0, 198.0, 281.0};

  Point globalOrigin{0.0, 0.0}; // anchor of the grid; X and Y are shown relative to it
  Point localOrigin{0.0, 0.0};  // Dx and Dy are shown relative to it
  bool directionShown = false;
  double cursorAngle = 0.0; // degrees, counter-clockwise from the x axis
  Point directionPoint{0.0, 0.0};
  bool followX = true;

  // The window the view was last fitted to.
  int windowWidth = 0;
  int windowHeight = 0;

  // Canvas pixels (origin at the lower left of the window, y up) per drawing unit, and the
  // canvas position of drawing coordinate 0.
  double scaleX = 1.0;
  double scaleY = 1.0;
  double offsetX = 0.0;
  double offsetY = 0.0;
  double twoPixelLength = 2.0; // drawing length of two pixels
};

// Makes the view box fit the drawing area of a window of the given size (the window less the
// message band) around its centre, and sets the scales and offsets.
void FitView(View& view, int windowWidth, int windowHeight);

// Width and height of the drawing area of the window the view was fitted to.
int DrawingAreaWidth(const View& view);
int DrawingAreaHeight(const View& view);

// The zoom: pixels per drawing unit.
double PixelsPerUnit(const View& view);

// Absolute drawing coordinates to canvas coordinates (y up) and back; the renderer's mapping.
inline Point DrawingToCanvas(const View& view, const Point& p) {
  return {p.x * view.scaleX + view.offsetX, p.y * view.scaleY + view.offsetY};
}
Point CanvasToDrawing(const View& view, const Point& c);

// A window pixel (top left origin) to drawing coordinates relative to the global origin, taken
// at the pixel's centre; DrawingToPixel is its inverse and names the pixel holding the point.
Point PixelToDrawing(const View& view, int px, int py);
WindowPixel DrawingToPixel(const View& view, const Point& relative);

double BoxWidth(const Box& box);
double BoxHeight(const Box& box);

} // namespace lumora
