// The screen as the rest of the program sees it: a pen that draws paths, a pixel-inverting pen
// for figures that must vanish when drawn again, 8x13 glyph strings, filled rectangles, and
// pixel blocks saved and restored under text windows.
//
// Coordinates are window pixels as doubles, origin at the LOWER LEFT corner of the window, y up,
// one unit per pixel. Pixel (ix, iy) covers [ix, ix + 1) x [iy, iy + 1). The drawing area sits at
// the bottom left of the window (the message band is the top 32 rows), so these are also the
// coordinates of the drawing area's orthographic projection. The view transform (drawing units
// to pixels) and the arc accuracy belong to the renderer: it hands the canvas pixel positions,
// and widths already converted with PenWidthPixels.
//
// Pen protocol (one figure = SetPen ... EndPath):
//   SetPen(v, style, width)  colour value v = element colour x mode (ResolvePenColour): 0 turns
//                            on the inverting pen; 100 or more is the highlight grey; negative
//                            values erase in the background colour; 1..99 are colours.
//   MoveTo(x, y)             starts a new strip (ends the previous one) at the point.
//   LineTo(x, y)             draws from the current point; without one it acts as MoveTo.
//   EndPath()                ends the strip, flushes, and sets the width back to 1 pixel.
// The inverting pen complements the red, green and blue bytes of every pixel it touches, with
// the style's stipple applied per plotted pixel. Within one figure a pixel is inverted at most
// once (joints and crossings stay visible), so drawing the same figure again restores the
// screen exactly.
//
// Pen primitives are clipped to the clip rectangle (SetClip; the whole window by default).
// Fills, glyphs and pixel blocks are clipped only to the window.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace lumora {

// A point in canvas coordinates; left uninitialised by default, so buffers of them cost nothing
// until written.
struct CanvasPoint {
  double x;
  double y;
};

// The pixel holding a canvas point, the floor of its coordinates; uninitialised like the point.
struct CanvasPixel {
  std::int64_t x;
  std::int64_t y;
};

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// A rectangle of whole pixels; (x, y) is its lower left pixel.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Pixels read from the screen: rgb holds width x height x 3 bytes, bottom row first.
struct PixelBlock {
  PixelRect rect;
  std::vector<std::uint8_t> rgb;
};

enum class Background { kDark, kLight };

// The colour value that turns on the inverting pen (an element's colour in DrawMode::kInvert).
inline constexpr int kInvertingColour = 0;

// Stipple patterns of the line styles, 16 bits applied one bit per pixel.
inline constexpr std::uint16_t kSolidPattern = 0xFFFF;
inline constexpr std::uint16_t kLongDashPattern = 0x00FF;
inline constexpr std::uint16_t kDotPattern = 0x0101;
inline constexpr std::uint16_t kDashDotPattern = 0x1C47;
std::uint16_t StipplePattern(int style);

// Glyph metrics of the screen character set.
inline constexpr int kGlyphWidth = 8;
inline constexpr int kGlyphHeight = 13;
inline constexpr int kGlyphOriginY = 2; // the glyph's bottom row lies 2 pixels below the baseline
inline constexpr int kGlyphAdvance = 10;
inline constexpr int kFirstGlyph = 32;
inline constexpr int kLastGlyph = 249;

// Widest line any canvas draws; a width zoomed beyond this is drawn at this width.
inline constexpr double kMaxLineWidthPixels = 255.0;

Rgb BackgroundColour(Background background);
Rgb ForegroundColour(Background background); // colour 1: white on dark, black on light

// What a colour value means on a given background.
struct PenColour {
  bool invert = false; // the inverting pen; rgb is unused
  Rgb rgb;
};
PenColour ResolvePenColour(int colourValue, Background background);

// A line width as the drawing states it (millimetres on paper; below 0.001 a pixel count, -p
// giving p pixels and 0 one pixel) in screen pixels, at least 1 and at most the widest line.
double PenWidthPixels(double width, double paperUnit, double pixelsPerUnit);

class Canvas {
public:
  virtual ~Canvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // The background decides colour 1, colour 7 and the erase colour of later pens.
  virtual void SetBackground(Background background) = 0;
  virtual Background GetBackground() const = 0;

  virtual void SetClip(const PixelRect& clip) = 0;
  virtual PixelRect Clip() const = 0;

  // The pen: see the protocol above. widthPixels is rounded to whole pixels.
  virtual void SetPen(int colourValue, int style, double widthPixels) = 0;
  virtual void MoveTo(double x, double y) = 0;
  virtual void LineTo(double x, double y) = 0;
  // The same as LineTo through each point in turn, which a canvas may do faster.
  virtual void LineStrip(std::span<const CanvasPoint> points) {
    for (const CanvasPoint& p : points) LineTo(p.x, p.y);
  }
  // The same as LineStrip, for points the caller has found inside the clip, given also by their
  // pixels (one per point).
  virtual void LineStripInside(std::span<const CanvasPoint> points, const CanvasPixel* /*pixels*/) {
    LineStrip(points);
  }
  virtual void EndPath() = 0;

  // Pixel-exact rings for the inverting pen: the midpoint circle of the truncated radius around
  // the truncated centre, and the part of it inside the counter-clockwise sector from the
  // direction of the start point to that of the end point (the whole ring when both point the
  // same way). In the other modes the same one pixel ring is drawn in the pen colour. They
  // belong to the current figure (call EndPath).
  virtual void Circle(double cx, double cy, double radius) = 0;
  virtual void Arc(double cx, double cy, double radius, double startX, double startY, double endX,
                   double endY) = 0;

  virtual void FillRect(const PixelRect& rect, Rgb colour) = 0;

  // Latin-1 bytes in the screen character set; (x, y) is the raster position of the first glyph
  // (its baseline), each glyph advances 10 pixels. Codes without a glyph draw nothing but still
  // take their place.
  virtual void DrawGlyphs(int x, int y, std::string_view text, Rgb colour) = 0;

  // Reads the part of rect inside the window into block (its rect becomes that part). Returns
  // false, leaving block empty, when the memory cannot be had.
  virtual bool ReadBlock(const PixelRect& rect, PixelBlock& block) = 0;
  // Puts a block back where it was read; a block whose size does not match is ignored.
  virtual void WriteBlock(const PixelBlock& block) = 0;

  virtual void Flush() = 0;
};

} // namespace lumora
