// The screen in memory: an RGB framebuffer of the window's size that draws exactly what the
// window would show where the rules are exact (the inverting pen, its stipple, the rings,
// glyphs), draws ordinary lines with a plain deterministic rasteriser, and writes PNG files.
#pragma once

#include "view/pen_canvas.h"
#include "view/png.h"

#include <string>

namespace lumora {

// The largest side a canvas accepts; a larger window size is refused.
inline constexpr int kMaxCanvasSide = 16384;

class SoftCanvas : public PenCanvas {
public:
  // Starts cleared to black; a size out of range gives an empty canvas (check Width()).
  SoftCanvas(int width, int height);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // New size, cleared to black. False (size unchanged) when out of range or out of memory.
  bool Resize(int width, int height);

  // Pixel (x, y), y counted from the bottom; black outside the canvas.
  Rgb Pixel(int x, int y) const;
  RgbImage Image() const;
  bool WritePng(const std::string& path) const;

  void FillRect(const PixelRect& rect, Rgb colour) override;
  void DrawGlyphs(int x, int y, std::string_view text, Rgb colour) override;
  bool ReadBlock(const PixelRect& rect, PixelBlock& block) override;
  void WriteBlock(const PixelBlock& block) override;
  void Flush() override {}

protected:
  void InvertPixels(std::span<const PixelPoint> pixels) override;
  void PaintPixels(std::span<const PixelPoint> pixels, Rgb colour) override;

private:
  std::uint8_t* At(std::int64_t x, std::int64_t y) {
    return &pixels_[(std::size_t(y) * std::size_t(width_) + std::size_t(x)) * 3];
  }
  void Set(std::int64_t x, std::int64_t y, Rgb colour);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> pixels_; // bottom row first, like the window
};

} // namespace lumora
