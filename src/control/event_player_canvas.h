// The canvas of the event player: draws on a SoftCanvas and remembers every glyph string, so an
// event file can ask whether a message box showed a text that is gone again.
#pragma once

#include "view/soft_canvas.h"

#include <string>
#include <vector>

namespace lumora {

class GlyphRecordingCanvas final : public Canvas {
public:
  explicit GlyphRecordingCanvas(SoftCanvas& target) : target_(target) {}

  // The glyph strings drawn since the last Forget, oldest first.
  const std::vector<std::string>& Texts() const { return texts_; }
  void Forget() { texts_.clear(); }

  int Width() const override { return target_.Width(); }
  int Height() const override { return target_.Height(); }
  void SetBackground(Background background) override { target_.SetBackground(background); }
  Background GetBackground() const override { return target_.GetBackground(); }
  void SetClip(const PixelRect& clip) override { target_.SetClip(clip); }
  PixelRect Clip() const override { return target_.Clip(); }
  void SetPen(int colourValue, int style, double widthPixels) override {
    target_.SetPen(colourValue, style, widthPixels);
  }
  void MoveTo(double x, double y) override { target_.MoveTo(x, y); }
  void LineTo(double x, double y) override { target_.LineTo(x, y); }
  void LineStrip(std::span<const CanvasPoint> points) override { target_.LineStrip(points); }
  void EndPath() override { target_.EndPath(); }
  void Circle(double cx, double cy, double radius) override { target_.Circle(cx, cy, radius); }
  void Arc(double cx, double cy, double radius, double startX, double startY, double endX,
           double endY) override {
    target_.Arc(cx, cy, radius, startX, startY, endX, endY);
  }
  void FillRect(const PixelRect& rect, Rgb colour) override { target_.FillRect(rect, colour); }
  void DrawGlyphs(int x, int y, std::string_view text, Rgb colour) override {
    texts_.emplace_back(text);
    target_.DrawGlyphs(x, y, text, colour);
  }
  bool ReadBlock(const PixelRect& rect, PixelBlock& block) override {
    return target_.ReadBlock(rect, block);
  }
  void WriteBlock(const PixelBlock& block) override { target_.WriteBlock(block); }
  void Flush() override { target_.Flush(); }

private:
  SoftCanvas& target_;
  std::vector<std::string> texts_;
};

} // namespace lumora
