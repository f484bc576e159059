#include "control/event_player_checks.h"

#include "control/app.h"
#include "control/event_cycle.h"
#include "control/event_player_canvas.h"
#include "control/startup_headless.h"
#include "files/drawing_dump.h"
#include "files/drawing_writer.h"
#include "sound/recording_sound_player.h"
#include "util/latin1.h"
#include "util/quoted.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace lumora {
namespace {

constexpr long kPixelLimit = 100000;
constexpr int kChannels = 3;
constexpr int kDimShift = 2; // unchanged pixels of a difference picture at a quarter

std::string Shown(std::string_view latin1) {
  return Quoted(Latin1ToUtf8(latin1));
}

bool ReadInteger(std::string_view& line, long limit, long& value) {
  const std::string word(NextWord(line));
  if (word.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtol(word.c_str(), &end, 10);
  return *end == '\0' && errno == 0 && value >= -limit && value <= limit;
}

bool ReadDouble(std::string_view& line, double& value) {
  const std::string word(NextWord(line));
  if (word.empty()) return false;
  char* end = nullptr;
  value = std::strtod(word.c_str(), &end);
  return *end == '\0' && std::isfinite(value);
}

template <typename Element> int CountOf(const Element* element) {
  int count = 0;
  for (; element != nullptr; element = element->next) ++count;
  return count;
}

std::string OutPath(const PlayOptions& options, std::string_view name) {
  if (options.outDir.empty()) return std::string(name);
  std::error_code ignored;
  std::filesystem::create_directories(options.outDir, ignored);
  return options.outDir + "/" + std::string(name);
}

std::string WithoutPng(std::string_view name) {
  if (name.ends_with(".png")) name.remove_suffix(4);
  return std::string(name);
}

// Red where the pictures differ, the rest dimmed.
RgbImage DiffImage(const RgbImage& out, const RgbImage& golden) {
  RgbImage diff;
  diff.width = std::max(out.width, golden.width);
  diff.height = std::max(out.height, golden.height);
  diff.rgb.assign(std::size_t(diff.width) * std::size_t(diff.height) * kChannels, 0);
  auto at = [](const RgbImage& image, int x, int y) -> const std::uint8_t* {
    if (x >= image.width || y >= image.height) return nullptr;
    return &image.rgb[(std::size_t(y) * std::size_t(image.width) + std::size_t(x)) * kChannels];
  };
  for (int y = 0; y < diff.height; ++y) {
    for (int x = 0; x < diff.width; ++x) {
      const std::uint8_t* a = at(out, x, y);
      const std::uint8_t* b = at(golden, x, y);
      std::uint8_t* d = &diff.rgb[(std::size_t(y) * std::size_t(diff.width) + x) * kChannels];
      if (a != nullptr && b != nullptr && std::equal(a, a + kChannels, b)) {
        for (int c = 0; c < kChannels; ++c) d[c] = static_cast<std::uint8_t>(a[c] >> kDimShift);
      } else {
        d[0] = 0xFF;
      }
    }
  }
  return diff;
}

bool Screenshot(EventChecks& checks, std::string_view name, std::string& problem) {
  const RgbImage image = checks.canvas.Image();
  const PlayOptions& options = checks.options;
  if (options.goldenDir.empty()) {
    if (WritePng(OutPath(options, name), image)) return true;
    return problem = "cannot write " + OutPath(options, name), false;
  }
  const std::string goldenPath = options.goldenDir + "/" + std::string(name);
  RgbImage golden;
  const bool haveGolden = ReadPng(goldenPath, golden);
  if (haveGolden && golden.width == image.width && golden.height == image.height &&
      golden.rgb == image.rgb) {
    return true;
  }
  const std::string base = OutPath(options, WithoutPng(name));
  WritePng(base + ".out.png", image);
  WritePng(base + ".diff.png", DiffImage(image, golden));
  problem = haveGolden ? "screenshot " + std::string(name) + " differs from " + goldenPath +
                             "; see " + base + ".diff.png"
                       : "no golden picture " + goldenPath + "; see " + base + ".out.png";
  return false;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool ExpectRow(EventChecks& checks, int row, std::string_view text, std::string& problem) {
  const std::string wanted = Utf8ToLatin1(text);
  const std::string_view shown = MirrorRow(checks.app.screen, row);
  if (Contains(shown, wanted)) return true;
  problem = "expected row " + std::to_string(row) + " to contain " + Shown(wanted) + ", it shows " +
            Shown(shown);
  return false;
}

bool ExpectMessage(EventChecks& checks, std::string_view text, std::string& problem) {
  const std::string wanted = Utf8ToLatin1(text);
  std::string all;
  for (const std::string& shown : checks.recorder.Texts()) {
    if (Contains(shown, wanted)) return true;
    all += shown;
  }
  if (Contains(all, wanted)) return true;
  problem = "expected a message " + Shown(wanted) + ", none was shown";
  return false;
}

bool ExpectSound(EventChecks& checks, std::string_view rest, std::string& problem) {
  long id = 0;
  if (!ReadInteger(rest, kPixelLimit, id))
    return problem = "expect-sound wants a cue number", false;
  std::string heard;
  for (const std::string& path : checks.sounds.Played()) {
    const int cue = SoundCueOfPath(path);
    if (cue == id) return true;
    heard += ' ';
    heard += std::to_string(cue);
  }
  problem = "expected sound " + std::to_string(id) + ", heard" + (heard.empty() ? " none" : heard);
  return false;
}

// Every cue heard since the previous event line, in order: a cue that must not sound is caught
// as well as one that is missing.
bool ExpectSounds(EventChecks& checks, std::string_view rest, std::string& problem) {
  std::string wanted;
  long id = 0;
  while (ReadInteger(rest, kPixelLimit, id)) {
    wanted += ' ';
    wanted += std::to_string(id);
  }
  if (wanted.empty()) return problem = "expect-sounds wants cue numbers", false;
  std::string heard;
  for (const std::string& path : checks.sounds.Played()) {
    heard += ' ';
    heard += std::to_string(SoundCueOfPath(path));
  }
  if (heard == wanted) return true;
  problem = "expected the sounds" + wanted + ", heard" + (heard.empty() ? " none" : heard);
  return false;
}

bool ExpectCount(EventChecks& checks, std::string_view rest, std::string& problem) {
  const std::string kind(NextWord(rest));
  long wanted = 0;
  if (!ReadInteger(rest, kPixelLimit, wanted))
    return problem = "expect-count wants a number", false;
  const Drawing& d = checks.app.drawing;
  int count = 0;
  if (kind == "lines") {
    count = CountOf(d.lines);
  } else if (kind == "fillings") {
    count = CountOf(d.fillings);
  } else if (kind == "texts") {
    count = CountOf(d.texts);
  } else if (kind == "parts") {
    count = CountOf(d.parts);
  } else {
    return problem = "no element kind '" + kind + "'", false;
  }
  if (count == wanted) return true;
  problem = "expected " + std::to_string(wanted) + " " + kind + ", the drawing holds " +
            std::to_string(count);
  return false;
}

// The drawing report of the current drawing, as the report command would write it.
bool CurrentReport(EventChecks& checks, std::string& report, std::string& problem) {
  const std::string path = OutPath(checks.options, "current-report.txt");
  if (DumpDrawing(checks.app.drawing, checks.app.fileEnv, path) != 1) {
    return problem = "cannot write the drawing report " + path, false;
  }
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  report = text.str();
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  return true;
}

bool ExpectDump(EventChecks& checks, std::string_view line, std::string& problem) {
  std::string report;
  if (!CurrentReport(checks, report, problem)) return false;
  const std::string wanted = Utf8ToLatin1(line);
  std::istringstream lines(report);
  for (std::string shown; std::getline(lines, shown);) {
    if (!shown.empty() && shown.back() == '\r') shown.pop_back();
    if (shown == wanted) return true;
  }
  problem = "expected the drawing report to hold the line " + Shown(wanted);
  return false;
}

bool ExpectSameDump(EventChecks& checks, std::string_view rest, std::string& problem) {
  const std::string name(NextWord(rest));
  if (name.empty()) return problem = "expect-same-dump wants a file name", false;
  std::ifstream earlier(OutPath(checks.options, name), std::ios::binary);
  if (!earlier) return problem = "no report " + name + " was dumped before", false;
  std::ostringstream text;
  text << earlier.rdbuf();
  std::string report;
  if (!CurrentReport(checks, report, problem)) return false;
  if (report == text.str()) return true;
  return problem = "the drawing report differs from " + name, false;
}

// The drawing area holds exactly what a full redraw of the drawing paints on a clean canvas:
// nothing a change erased or drew on the way was left behind. The cursor's overlays are off for
// the look.
bool ExpectRedrawn(EventChecks& checks, std::string& problem) {
  App& app = checks.app;
  const SoftCanvas& canvas = checks.canvas;
  const PixelRect area = DrawingAreaRect(app.view);
  // Rows are kept bottom first, and the drawing area starts at the bottom.
  const std::size_t bytes = std::size_t(area.width) * std::size_t(area.height) * kChannels;
  if (area.width != canvas.Width() || area.height > canvas.Height())
    return problem = "expect-redrawn: no drawing area on the canvas", false;
  const unsigned drawn = app.overlays.drawn;
  EraseOverlays(app, drawn);
  const std::vector<std::uint8_t> shown(canvas.Data(), canvas.Data() + bytes);
  DrawOverlays(app, drawn);
  SoftCanvas fresh(canvas.Width(), canvas.Height());
  fresh.SetBackground(canvas.GetBackground());
  fresh.SetClip(area);
  const RenderScene now = app.Scene();
  Redraw(RenderScene{fresh, now.view, now.drawing, now.fonts, now.arcAccuracy, now.measure,
                     now.hatches, now.store},
         false);
  std::size_t differing = 0;
  for (std::size_t k = 0; k < bytes; k += kChannels)
    differing += std::equal(&shown[k], &shown[k] + kChannels, fresh.Data() + k) ? 0 : 1;
  if (differing == 0) return true;
  const std::string base = OutPath(checks.options, "redrawn");
  WritePng(base + ".full.png", fresh.Image());
  problem = "the drawing area differs from a full redraw in " + std::to_string(differing) +
            " pixels; see " + base + ".full.png";
  return false;
}

bool Load(EventChecks& checks, const std::string& name, std::string& problem) {
  const std::string path = name.starts_with('/') ? name : checks.eventDirectory + "/" + name;
  return ReadDrawingHeadless(checks.app, path, problem);
}

} // namespace

std::string_view NextWord(std::string_view& line) {
  const std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos) {
    line = {};
    return {};
  }
  line.remove_prefix(start);
  const std::size_t end = std::min(line.find_first_of(" \t"), line.size());
  const std::string_view word = line.substr(0, end);
  line.remove_prefix(end);
  if (!line.empty()) line.remove_prefix(1); // the one blank that ends the word
  return word;
}

bool ReadPixel(std::string_view& line, WindowPixel& pixel, std::string& problem) {
  long x = 0;
  long y = 0;
  if (!ReadInteger(line, kPixelLimit, x) || !ReadInteger(line, kPixelLimit, y)) {
    return problem = "wants a window pixel X Y", false;
  }
  pixel = {int(x), int(y)};
  return true;
}

bool ReadPoint(std::string_view& line, Point& point, std::string& problem) {
  if (!ReadDouble(line, point.x) || !ReadDouble(line, point.y)) {
    return problem = "wants a drawing point X Y", false;
  }
  return true;
}

void EventChecks::NewEvent() {
  recorder.Forget();
  sounds.Clear();
}

bool EventChecks::Expect(std::string_view word, std::string_view rest, std::string& problem) {
  if (word == "expect-prompt") return ExpectRow(*this, 1, rest, problem);
  if (word == "expect-text") {
    long row = 0;
    if (!ReadInteger(rest, kPixelLimit, row)) return problem = "expect-text wants a row", false;
    return ExpectRow(*this, int(row), rest, problem);
  }
  if (word == "expect-message") return ExpectMessage(*this, rest, problem);
  if (word == "expect-sound") return ExpectSound(*this, rest, problem);
  if (word == "expect-sounds") return ExpectSounds(*this, rest, problem);
  if (word == "expect-count") return ExpectCount(*this, rest, problem);
  if (word == "expect-silence") {
    if (recorder.Texts().empty() && sounds.Played().empty()) return true;
    return problem = "expected nothing shown or heard since the previous event line", false;
  }
  if (word == "expect-dump") return ExpectDump(*this, rest, problem);
  if (word == "expect-same-dump") return ExpectSameDump(*this, rest, problem);
  if (word == "expect-redrawn") return ExpectRedrawn(*this, problem);
  if (word == "expect-quit") {
    if (app.window.quit) return true;
    return problem = "expected the program to have ended, it still runs", false;
  }
  return problem = "unknown expectation '" + std::string(word) + "'", false;
}

bool EventChecks::Output(std::string_view word, std::string_view rest, std::string& problem) {
  const std::string name(NextWord(rest));
  if (name.empty()) return problem = std::string(word) + " wants a file name", false;
  if (word == "screenshot") return Screenshot(*this, name, problem);
  if (word == "load") return Load(*this, name, problem);
  const std::string path = OutPath(options, name);
  int written = 0;
  if (word == "save") {
    written = WriteDrawingFile(app.drawing, app.fileEnv, path, nullptr, app.view.globalOrigin,
                               app.drawing.limits);
  } else {
    written = DumpDrawing(app.drawing, app.fileEnv, path);
  }
  if (written == 1) return true;
  return problem = "cannot write " + path, false;
}

} // namespace lumora
