#include "platform/gl_canvas.h"

#define GL_GLEXT_PROTOTYPES 1
#include "view/screen_font.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <new>

namespace lumora {
namespace {

constexpr int kByteValues = 256;
constexpr GLint kDefaultAlignment = 4;
constexpr double kPixelCentre = 0.5;

} // namespace

void GlCanvas::SetSize(int width, int height) {
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  glViewport(0, 0, width_, height_);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, width_, 0.0, height_, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void GlCanvas::InitScreenCharacters() {
  if (glyphBase_ != 0) return;
  glyphBase_ = glGenLists(kByteValues);
  if (glyphBase_ == 0) return;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (int code = 0; code < kByteValues; ++code) {
    const auto glyph = ScreenGlyph(static_cast<unsigned char>(code));
    glNewList(glyphBase_ + code, GL_COMPILE);
    // A code without a glyph still takes its place, so the text stays on its grid.
    if (glyph.empty()) {
      glBitmap(0, 0, 0, 0, kGlyphAdvance, 0, nullptr);
    } else {
      glBitmap(kGlyphWidth, kGlyphHeight, 0, kGlyphOriginY, kGlyphAdvance, 0, glyph.data());
    }
    glEndList();
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, kDefaultAlignment);
}

void GlCanvas::ScissorToClip() {
  const PixelRect clip = Clip();
  glEnable(GL_SCISSOR_TEST);
  glScissor(clip.x, clip.y, clip.width, clip.height);
}

void GlCanvas::Points(std::span<const PixelPoint> pixels) {
  glPointSize(1.0f);
  glBegin(GL_POINTS);
  for (const PixelPoint& p : pixels) {
    glVertex2d(double(p.x) + kPixelCentre, double(p.y) + kPixelCentre);
  }
  glEnd();
}

void GlCanvas::InvertPixels(std::span<const PixelPoint> pixels) {
  ScissorToClip();
  glEnable(GL_COLOR_LOGIC_OP);
  glLogicOp(GL_INVERT);
  Points(pixels);
  glDisable(GL_COLOR_LOGIC_OP);
  glDisable(GL_SCISSOR_TEST);
}

void GlCanvas::PaintPixels(std::span<const PixelPoint> pixels, Rgb colour) {
  ScissorToClip();
  glColor3ub(colour.r, colour.g, colour.b);
  Points(pixels);
  glDisable(GL_SCISSOR_TEST);
}

void GlCanvas::FillRect(const PixelRect& rect, Rgb colour) {
  const PixelRect r = Intersect(rect, {0, 0, width_, height_});
  if (r.width <= 0 || r.height <= 0) return;
  glColor3ub(colour.r, colour.g, colour.b);
  glRecti(r.x, r.y, r.x + r.width, r.y + r.height);
}

void GlCanvas::DrawGlyphs(int x, int y, std::string_view text, Rgb colour) {
  InitScreenCharacters();
  if (glyphBase_ == 0 || text.empty()) return;
  glColor3ub(colour.r, colour.g, colour.b);
  glWindowPos2i(x, y); // latches the colour; valid even left of or below the window
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glListBase(glyphBase_);
  glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
  glFlush();
  glPixelStorei(GL_UNPACK_ALIGNMENT, kDefaultAlignment);
}

bool GlCanvas::ReadBlock(const PixelRect& rect, PixelBlock& block) {
  if (!PrepareBlock(rect, block)) return false;
  const PixelRect& r = block.rect;
  if (block.rgb.empty()) return true;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(r.x, r.y, r.width, r.height, GL_RGB, GL_UNSIGNED_BYTE, block.rgb.data());
  glPixelStorei(GL_PACK_ALIGNMENT, kDefaultAlignment);
  return true;
}

void GlCanvas::WriteBlock(const PixelBlock& block) {
  if (!BlockFits(block)) return;
  const PixelRect& r = block.rect;
  glWindowPos2i(r.x, r.y);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glDrawPixels(r.width, r.height, GL_RGB, GL_UNSIGNED_BYTE, block.rgb.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, kDefaultAlignment);
}

void GlCanvas::Flush() {
  glFlush();
}

} // namespace lumora
