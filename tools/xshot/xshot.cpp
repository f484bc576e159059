// lumora_xshot: the window tests' eyes. Reads a window's pixels straight from the X server and
// answers the questions the shell tests ask of a screenshot, so that no image tool has to be
// installed beside the test.
//
//   lumora_xshot shot WINDOW OUT.png                    the window's client area, 0 0 top left
//   lumora_xshot wait WINDOW X Y RRGGBB SECONDS         until that pixel shows the colour
//   lumora_xshot wait-change WINDOW REF.png X Y W H SECONDS   until the rectangle differs
//   lumora_xshot settle WINDOW QUIET SECONDS            until the window is unchanged for QUIET s
//   lumora_xshot size PNG                               prints WIDTHxHEIGHT
//   lumora_xshot pixel PNG X Y                          prints R,G,B
//   lumora_xshot count PNG X Y W H RRGGBB               prints the pixels of that colour
//   lumora_xshot compare A.png B.png T N [DIFF.png]     prints the pixels whose channels differ
//                                                       by more than T; exit 1 above N
//   lumora_xshot close WINDOW                           the window manager's close request
//   lumora_xshot pointer hidden|shown SECONDS           until the mouse pointer looks so
//
// WINDOW is an id as xdotool prints it. Exit 0 when the answer is yes, 1 when it is no (a
// timeout, too many differing pixels, pictures of different sizes), 2 on a usage or X error.
#include "view/png.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using lumora::RgbImage;

constexpr int kChannels = 3;
constexpr int kYes = 0;
constexpr int kNo = 1;
constexpr int kTrouble = 2;
constexpr auto kPollInterval = std::chrono::milliseconds(20);
constexpr int kDimShift = 2;

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

int Trouble(const std::string& line) {
  std::fprintf(stderr, "lumora_xshot: %s\n", line.c_str());
  return kTrouble;
}

// Any X error (a window that is gone, a rectangle outside it) ends the helper: the test that
// called it fails with the reason instead of reading a half-made picture.
int OnXError(Display* display, XErrorEvent* error) {
  char text[256] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "lumora_xshot: X error: %s\n", text);
  std::exit(kTrouble);
}

std::optional<long> Number(std::string_view text) {
  const std::string copy(text);
  char* end = nullptr;
  const long value = std::strtol(copy.c_str(), &end, 0);
  if (copy.empty() || *end != '\0') return std::nullopt;
  return value;
}

std::optional<std::array<std::uint8_t, kChannels>> Colour(std::string_view text) {
  if (text.size() != 6) return std::nullopt;
  const std::string copy(text);
  char* end = nullptr;
  const unsigned long value = std::strtoul(copy.c_str(), &end, 16);
  if (*end != '\0') return std::nullopt;
  return std::array<std::uint8_t, kChannels>{std::uint8_t(value >> 16), std::uint8_t(value >> 8),
                                             std::uint8_t(value)};
}

const std::uint8_t* PixelAt(const RgbImage& image, int x, int y) {
  return &image.rgb[(std::size_t(y) * std::size_t(image.width) + std::size_t(x)) * kChannels];
}

bool Inside(const RgbImage& image, const Rect& r) {
  return r.x >= 0 && r.y >= 0 && r.width > 0 && r.height > 0 && r.x + r.width <= image.width &&
         r.y + r.height <= image.height;
}

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

DisplayPtr OpenDisplay() {
  DisplayPtr display(XOpenDisplay(nullptr));
  if (display) XSetErrorHandler(OnXError);
  return display;
}

// Channel value of a pixel under one of the visual's colour masks, scaled to 0..255.
std::uint8_t Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1UL) == 0) ++shift;
  const unsigned long bits = mask >> shift;
  return std::uint8_t(((pixel >> shift) & bits) * 255UL / bits);
}

// The rectangle of the window's client area, top row first; nothing while it is not viewable.
std::optional<RgbImage> Grab(Display* display, Window window, std::optional<Rect> part) {
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display, window, &attributes) == 0 ||
      attributes.map_state != IsViewable) {
    return std::nullopt;
  }
  const Rect r = part.value_or(Rect{0, 0, attributes.width, attributes.height});
  if (r.x < 0 || r.y < 0 || r.width <= 0 || r.height <= 0 || r.x + r.width > attributes.width ||
      r.y + r.height > attributes.height) {
    return std::nullopt;
  }
  XImage* image = XGetImage(display, window, r.x, r.y, unsigned(r.width), unsigned(r.height),
                            AllPlanes, ZPixmap);
  if (image == nullptr) return std::nullopt;
  RgbImage out;
  out.width = r.width;
  out.height = r.height;
  out.rgb.resize(std::size_t(r.width) * std::size_t(r.height) * kChannels);
  for (int y = 0; y < r.height; ++y) {
    for (int x = 0; x < r.width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      std::uint8_t* rgb = &out.rgb[(std::size_t(y) * std::size_t(r.width) + x) * kChannels];
      rgb[0] = Channel(pixel, image->red_mask);
      rgb[1] = Channel(pixel, image->green_mask);
      rgb[2] = Channel(pixel, image->blue_mask);
    }
  }
  XDestroyImage(image);
  return out;
}

// Polls until `done` says yes or the seconds are over.
template <typename Done> int Await(double seconds, Done done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (done()) return kYes;
    if (std::chrono::steady_clock::now() >= end) return kNo;
    std::this_thread::sleep_for(kPollInterval);
  }
}

std::optional<Rect> RectOf(char** argv) {
  const auto x = Number(argv[0]), y = Number(argv[1]), w = Number(argv[2]), h = Number(argv[3]);
  if (!x || !y || !w || !h) return std::nullopt;
  return Rect{int(*x), int(*y), int(*w), int(*h)};
}

int Shot(Window window, const std::string& out) {
  const DisplayPtr display = OpenDisplay();
  if (!display) return Trouble("no display");
  const std::optional<RgbImage> image = Grab(display.get(), window, std::nullopt);
  if (!image) return Trouble("the window is not shown");
  return lumora::WritePng(out, *image) ? kYes : Trouble("cannot write " + out);
}

int WaitForColour(Window window, int x, int y, std::array<std::uint8_t, kChannels> colour,
                  double seconds) {
  const DisplayPtr display = OpenDisplay();
  if (!display) return Trouble("no display");
  return Await(seconds, [&] {
    const std::optional<RgbImage> image = Grab(display.get(), window, Rect{x, y, 1, 1});
    return image && std::equal(colour.begin(), colour.end(), image->rgb.begin());
  });
}

int WaitForChange(Window window, const std::string& reference, const Rect& r, double seconds) {
  RgbImage before;
  if (!lumora::ReadPng(reference, before)) return Trouble("cannot read " + reference);
  if (!Inside(before, r)) return Trouble("the rectangle is outside " + reference);
  const DisplayPtr display = OpenDisplay();
  if (!display) return Trouble("no display");
  return Await(seconds, [&] {
    const std::optional<RgbImage> now = Grab(display.get(), window, r);
    if (!now) return false;
    for (int y = 0; y < r.height; ++y) {
      const std::uint8_t* was = PixelAt(before, r.x, r.y + y);
      const std::uint8_t* is = PixelAt(*now, 0, y);
      if (!std::equal(was, was + std::size_t(r.width) * kChannels, is)) return true;
    }
    return false;
  });
}

int Settle(Window window, double quiet, double seconds) {
  const DisplayPtr display = OpenDisplay();
  if (!display) return Trouble("no display");
  std::optional<RgbImage> last;
  auto since = std::chrono::steady_clock::now();
  return Await(seconds, [&] {
    std::optional<RgbImage> now = Grab(display.get(), window, std::nullopt);
    const auto time = std::chrono::steady_clock::now();
    if (!now || !last || now->rgb != last->rgb) {
      last = std::move(now);
      since = time;
      return false;
    }
    return time - since >= std::chrono::duration<double>(quiet);
  });
}

int CountColour(const RgbImage& image, const Rect& r, std::array<std::uint8_t, kChannels> colour) {
  long count = 0;
  for (int y = r.y; y < r.y + r.height; ++y) {
    for (int x = r.x; x < r.x + r.width; ++x) {
      const std::uint8_t* p = PixelAt(image, x, y);
      if (std::equal(colour.begin(), colour.end(), p)) ++count;
    }
  }
  std::printf("%ld\n", count);
  return kYes;
}

// Differing pixels red over a dimmed copy of the first picture.
// Only the pixels inside `area` count; the whole picture when it is empty.
int Compare(const RgbImage& a, const RgbImage& b, int tolerance, long allowed,
            const std::string& diffPath, const Rect& area) {
  if (a.width != b.width || a.height != b.height) {
    std::printf("size %dx%d against %dx%d\n", a.width, a.height, b.width, b.height);
    return kNo;
  }
  const bool whole = area.width <= 0 || area.height <= 0;
  RgbImage diff = a;
  long differing = 0;
  for (std::size_t k = 0; k < a.rgb.size(); k += kChannels) {
    const int pixel = int(k / kChannels);
    const int x = pixel % a.width, y = pixel / a.width;
    const bool inside = whole || (x >= area.x && x < area.x + area.width && y >= area.y &&
                                  y < area.y + area.height);
    bool differs = false;
    for (int c = 0; c < kChannels; ++c)
      differs |= inside && std::abs(a.rgb[k + c] - b.rgb[k + c]) > tolerance;
    differing += differs ? 1 : 0;
    for (int c = 0; c < kChannels; ++c) {
      diff.rgb[k + c] = differs ? (c == 0 ? 0xFF : 0) : std::uint8_t(a.rgb[k + c] >> kDimShift);
    }
  }
  std::printf("%ld\n", differing);
  if (!diffPath.empty() && differing > 0) lumora::WritePng(diffPath, diff);
  return differing > allowed ? kNo : kYes;
}

int Close(Window window) {
  const DisplayPtr display = OpenDisplay();
  if (!display) return Trouble("no display");
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display.get(), window, False, NoEventMask, &event);
  XSync(display.get(), False);
  return kYes;
}

// Whether the pointer the server shows now has a visible pixel; nullopt without XFixes.
std::optional<bool> PointerVisible() {
  const DisplayPtr display = OpenDisplay();
  if (!display) return std::nullopt;
  int event = 0;
  int error = 0;
  if (!XFixesQueryExtension(display.get(), &event, &error)) return std::nullopt;
  XFixesCursorImage* image = XFixesGetCursorImage(display.get());
  if (image == nullptr) return std::nullopt;
  bool visible = false;
  const long count = long(image->width) * long(image->height);
  for (long k = 0; k < count && !visible; ++k) visible = (image->pixels[k] >> 24) != 0;
  XFree(image);
  return visible;
}

int WaitForPointer(bool shown, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    const std::optional<bool> visible = PointerVisible();
    if (!visible) return Trouble("the server tells nothing of its pointer");
    if (*visible == shown) return kYes;
    if (std::chrono::steady_clock::now() >= end) return kNo;
    std::this_thread::sleep_for(kPollInterval);
  }
}

int Usage() {
  return Trouble(
      "usage: shot WINDOW OUT.png | wait WINDOW X Y RRGGBB SECONDS | "
      "wait-change WINDOW REF.png X Y W H SECONDS | settle WINDOW QUIET SECONDS | size "
      "PNG | pixel PNG X Y | "
      "count PNG X Y W H RRGGBB | compare A.png B.png T N [DIFF.png [X Y W H]] | close WINDOW | "
      "pointer hidden|shown SECONDS");
}

std::optional<RgbImage> Picture(const char* path) {
  RgbImage image;
  if (!lumora::ReadPng(path, image)) return std::nullopt;
  return image;
}

int Run(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string_view command = argv[1];
  if (command == "pointer" && argc == 4) {
    const std::string_view look = argv[2];
    if (look != "hidden" && look != "shown") return Usage();
    return WaitForPointer(look == "shown", std::atof(argv[3]));
  }
  const std::optional<long> id = Number(argv[2]);
  if (command == "shot" && argc == 4 && id) return Shot(Window(*id), argv[3]);
  if (command == "close" && argc == 3 && id) return Close(Window(*id));
  if (command == "wait" && argc == 7 && id) {
    const auto x = Number(argv[3]), y = Number(argv[4]);
    const auto colour = Colour(argv[5]);
    if (!x || !y || !colour) return Usage();
    return WaitForColour(Window(*id), int(*x), int(*y), *colour, std::atof(argv[6]));
  }
  if (command == "settle" && argc == 5 && id) {
    return Settle(Window(*id), std::atof(argv[3]), std::atof(argv[4]));
  }
  if (command == "wait-change" && argc == 9 && id) {
    const std::optional<Rect> r = RectOf(argv + 4);
    if (!r) return Usage();
    return WaitForChange(Window(*id), argv[3], *r, std::atof(argv[8]));
  }
  if (command == "compare" && (argc == 6 || argc == 7 || argc == 11)) {
    const auto a = Picture(argv[2]), b = Picture(argv[3]);
    const auto tolerance = Number(argv[4]), allowed = Number(argv[5]);
    if (!a || !b) return Trouble("cannot read the pictures");
    if (!tolerance || !allowed) return Usage();
    std::optional<Rect> area = Rect{};
    if (argc == 11) area = RectOf(argv + 7);
    if (!area) return Usage();
    return Compare(*a, *b, int(*tolerance), *allowed, argc >= 7 ? argv[6] : "", *area);
  }
  const bool size = command == "size" && argc == 3;
  if (size || (command == "pixel" && argc == 5) || (command == "count" && argc == 8)) {
    const std::optional<RgbImage> image = Picture(argv[2]);
    if (!image) return Trouble(std::string("cannot read ") + argv[2]);
    if (size) {
      std::printf("%dx%d\n", image->width, image->height);
      return kYes;
    }
    if (command == "pixel") {
      const auto x = Number(argv[3]), y = Number(argv[4]);
      if (!x || !y || !Inside(*image, Rect{int(*x), int(*y), 1, 1})) return Usage();
      const std::uint8_t* p = PixelAt(*image, int(*x), int(*y));
      std::printf("%d,%d,%d\n", p[0], p[1], p[2]);
      return kYes;
    }
    const std::optional<Rect> r = RectOf(argv + 3);
    const auto colour = Colour(argv[7]);
    if (!r || !colour || !Inside(*image, *r)) return Usage();
    return CountColour(*image, *r, *colour);
  }
  return Usage();
}

} // namespace

int main(int argc, char** argv) {
  return Run(argc, argv);
}
