// The pen protocol shared by the in-memory and the OpenGL canvases. It keeps the pen state,
// decides every pixel of both pens and of the one-pixel rings, and hands the pixels to two
// backend hooks, so every canvas shows the same pixels.
#pragma once

#include "view/canvas.h"
#include "view/pixel_walk.h"

#include <optional>
#include <span>
#include <unordered_set>
#include <vector>

namespace lumora {

class PenCanvas : public Canvas {
public:
  static constexpr std::size_t kBatchPixels = 4096;

  void SetBackground(Background background) override { background_ = background; }
  Background GetBackground() const override { return background_; }

  void SetClip(const PixelRect& clip) override {
    clip_ = clip;
    penClip_ = Clip();
  }
  PixelRect Clip() const override;

  void SetPen(int colourValue, int style, double widthPixels) override;
  void MoveTo(double x, double y) override;
  void LineTo(double x, double y) override;
  void LineStrip(std::span<const CanvasPoint> points) override;
  void LineStripInside(std::span<const CanvasPoint> points, const CanvasPixel* pixels) override;
  void EndPath() override;
  void Circle(double cx, double cy, double radius) override;
  void Arc(double cx, double cy, double radius, double startX, double startY, double endX,
           double endY) override;

protected:
  // A canvas calls this whenever its size changes: the pen keeps the clip cut to the window.
  void SizeChanged() { penClip_ = Clip(); }
  // Sizes the block for the part of rect inside the window and sets its rect; false, with the
  // block empty, when there is no memory for it.
  bool PrepareBlock(const PixelRect& rect, PixelBlock& block) const;
  // Whether the block covers some pixels and holds exactly the bytes of its rect.
  static bool BlockFits(const PixelBlock& block);

  // Every pixel lies inside the clip; the inverting pen passes each pixel once per figure.
  virtual void InvertPixels(std::span<const PixelPoint> pixels) = 0;
  virtual void PaintPixels(std::span<const PixelPoint> pixels, Rgb colour) = 0;

private:
  bool Inverting() const { return colour_.invert; }
  void EndStrip(bool flush);
  void InvertSegment(double x0, double y0, double x1, double y1);
  void PaintSegment(double x0, double y0, double x1, double y1);
  void PaintWalk(PixelPoint a, PixelPoint b);
  void PaintInside(PixelPoint a, PixelPoint b);
  void SolidInside(PixelPoint a, const CanvasPixel* pixels, std::size_t count);
  void Ring(double cx, double cy, double radius, const std::optional<Sector>& sector);
  void Plot(std::int64_t x, std::int64_t y, const PixelRect& clip);
  void Push(PixelPoint p);
  void FlushBatch();

  Background background_ = Background::kDark;
  std::optional<PixelRect> clip_;
  PixelRect penClip_; // Clip() as set or sized last; every segment is cut to it
  PenColour colour_;
  std::uint16_t pattern_ = kSolidPattern;
  int width_ = 1;
  bool hasCurrent_ = false;
  double currentX_ = 0.0;
  double currentY_ = 0.0;
  bool stripOpen_ = false;
  unsigned stripCounter_ = 0;                 // stipple position of the ordinary pen
  unsigned counter_ = 0;                      // stipple position of the inverting pen
  std::unordered_set<std::uint64_t> touched_; // pixels this figure has already inverted
  // Pixels decided but not yet painted: batchSize_ of them, never all slots, so a step of two
  // pixels always fits.
  std::vector<PixelPoint> batch_ = std::vector<PixelPoint>(kBatchPixels);
  std::size_t batchSize_ = 0;
};

} // namespace lumora
