// lumora-cli bench-open DRAWING [--home DIR] [--setup NAME]: how long the program takes over
// the user's own drawing. Reads it, redraws the whole sheet on a 1000 x 800 SoftCanvas, and
// picks and snaps at points spread over the sheet, printing each time.
#include "app/cli_options.h"
#include "control/headless_app.h"
#include "control/startup_headless.h"
#include "control/translate_view.h"
#include "protocol/input_record.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <vector>

namespace lumora {
namespace {

constexpr std::string_view kUsage =
    "usage: lumora-cli bench-open DRAWING [--home DIR] [--setup NAME]";
constexpr int kWidth = 1000;
constexpr int kHeight = 800;
constexpr int kRedraws = 3;
constexpr int kProbeSide = 5; // picks and snaps at kProbeSide x kProbeSide points
constexpr double kPickReach = 5.0;
constexpr double kMillisecond = 1e3;
constexpr double kMegabyte = 1e6;

using Timer = std::chrono::steady_clock;

double Milliseconds(Timer::time_point from) {
  return std::chrono::duration<double, std::milli>(Timer::now() - from).count();
}

int Refuse(const std::string& line) {
  std::fprintf(stderr, "lumora-cli bench-open: %s\n", line.c_str());
  return 1;
}

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) * 1024.0 / kMegabyte;
}

template <class Element> long ListLength(const Element* head) {
  long n = 0;
  for (; head != nullptr; head = head->next) ++n;
  return n;
}

// Points spread evenly inside the sheet, away from its edges.
std::vector<Point> Probes(const Box& limits) {
  std::vector<Point> probes;
  for (int j = 0; j < kProbeSide; ++j) {
    for (int i = 0; i < kProbeSide; ++i) {
      probes.push_back({limits.xmin + (limits.xmax - limits.xmin) * (i + 0.5) / kProbeSide,
                        limits.ymin + (limits.ymax - limits.ymin) * (j + 0.5) / kProbeSide});
    }
  }
  return probes;
}

// The mean and the longest time of one search at each probe.
template <class Search>
void TimeSearches(std::string_view what, const std::vector<Point>& probes, Search search) {
  double total = 0;
  double longest = 0;
  for (const Point& p : probes) {
    const Timer::time_point start = Timer::now();
    search(p);
    const double took = Milliseconds(start);
    total += took;
    longest = std::max(longest, took);
  }
  std::printf("%-18s %9.3f ms mean, %9.3f ms longest (%zu points)\n", std::string(what).c_str(),
              total / static_cast<double>(probes.size()), longest, probes.size());
}

} // namespace

int RunBenchOpenCommand(int argc, char** argv) {
  HeadlessOptions options;
  std::vector<std::string> positional;
  std::string problem;
  if (!TakeArguments(argc, argv, false, options, positional, problem)) return Refuse(problem);
  if (positional.size() != 1) return Refuse(std::string(kUsage));
  options.width = kWidth;
  options.height = kHeight;
  const std::string drawing = LocateDrawing(positional[0], options.home);
  std::error_code error;
  const auto bytes = std::filesystem::file_size(drawing, error);
  if (error) return Refuse("cannot read '" + drawing + "'");

  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas(1, 1);
  if (!StartHeadless(app, options, canvas, problem)) return Refuse(problem);

  const Timer::time_point readStart = Timer::now();
  if (!ReadDrawingHeadless(app, drawing, problem, false)) return Refuse(problem);
  const double readTime = Milliseconds(readStart);
  const Drawing& d = app.drawing;
  std::printf("drawing            %s: %.2f MB, %ld lines, %ld fillings, %ld texts, %ld parts\n",
              drawing.c_str(), static_cast<double>(bytes) / kMegabyte, ListLength(d.lines),
              ListLength(d.fillings), ListLength(d.texts), ListLength(d.parts));
  std::printf("read               %9.3f ms, %.1f MB/s, peak resident %.1f MB\n", readTime,
              static_cast<double>(bytes) / kMegabyte / (readTime / kMillisecond),
              PeakResidentMegabytes());

  app.view.viewBox = app.drawing.limits;
  FitView(app.view, kWidth, kHeight);
  canvas.SetClip(DrawingAreaRect(app.view));
  double best = 0;
  for (int k = 0; k < kRedraws; ++k) {
    const Timer::time_point start = Timer::now();
    Redraw(app.Scene(), false);
    const double took = Milliseconds(start);
    best = k == 0 ? took : std::min(best, took);
  }
  std::printf("redraw             %9.3f ms, whole sheet on %d x %d (best of %d)\n", best, kWidth,
              kHeight, kRedraws);

  const std::vector<Point> probes = Probes(app.drawing.limits);
  TimeSearches("pick", probes,
               [&app](const Point& p) { app.geometry.PickElement(p, kPickReach, true); });
  const struct {
    std::string_view name;
    int mode;
  } snaps[] = {{"snap line", kSnapLine},
               {"snap point", kSnapPoint},
               {"snap intersection", kSnapIntersection}};
  for (const auto& snap : snaps) {
    TimeSearches(snap.name, probes, [&app, &snap](const Point& p) {
      InputRecord in;
      in.cursorLinesOff = 1;
      in.snapMode = snap.mode;
      in.cursor = p;
      SnapSearch(app.view, app.store, in);
    });
  }
  return 0;
}

} // namespace lumora
