// The screen in memory: an RGB framebuffer of the window's size that draws exactly what the
// window would show where the rules are exact (the inverting pen, its stipple, the rings,
// glyphs), draws ordinary lines with a plain deterministic rasteriser, and writes PNG files.
#pragma once

#include "view/pen_canvas.h"
#include "view/png.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace lumora {

// The parts of a canvas changed since they were last taken: a handful of rectangles that cover
// every changed pixel. A rectangle close to one already held joins it; past the limit the two
// whose union wastes least are merged, so a long thin line stays a thin rectangle while many
// small figures end up in few.
class ChangedRects {
public:
  static constexpr std::size_t kLimit = 16;

  // Rectangles with no pixels are ignored; the caller cuts r to the canvas.
  void Add(const PixelRect& r);
  std::span<const PixelRect> Rects() const { return {rects_.data(), count_}; }
  void Clear() { count_ = 0; }

private:
  void Drop(std::size_t k);
  // Merges rects_[k] with every other it now overlaps, repeatedly.
  void Absorb(std::size_t k);

  std::array<PixelRect, kLimit + 1> rects_{};
  std::size_t count_ = 0;
};

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

  // Whether the canvas remembers what it changes (off unless asked). A screen that shows the
  // canvas copies only the changed parts; Changed() lists them until ForgetChanged().
  void TrackChanges(bool on);
  // Counts the whole canvas as changed, as when the screen lost what it showed.
  void ChangedAll();
  std::span<const PixelRect> Changed() const { return changed_.Rects(); }
  void ForgetChanged() { changed_.Clear(); }
  // Every pixel, three bytes each, bottom row first, Width() pixels a row.
  const std::uint8_t* Data() const { return pixels_.data(); }

protected:
  void InvertPixels(std::span<const PixelPoint> pixels) override;
  void PaintPixels(std::span<const PixelPoint> pixels, Rgb colour) override;

private:
  std::uint8_t* At(std::int64_t x, std::int64_t y) {
    return &pixels_[(std::size_t(y) * std::size_t(width_) + std::size_t(x)) * 3];
  }
  void Set(std::int64_t x, std::int64_t y, Rgb colour);
  // Counts the part of r inside the canvas as changed, when changes are tracked.
  void Touch(const PixelRect& r);
  void Touch(std::span<const PixelPoint> pixels);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> pixels_; // bottom row first, like the window
  bool tracking_ = false;
  ChangedRects changed_;
};

} // namespace lumora
