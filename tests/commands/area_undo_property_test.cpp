// Random stretches, copies and moves on a drawing of every kind, driven by keys. Each one taken
// back must give the drawing back byte for byte; each one made final must leave a sound store
// that saves and reads back to the same report. LUMORA_AREA_SEEDS=N runs N more seeds.
#include "commands/edit_fixture.h"
#include "files/drawing_dump.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sstream>
#include <string>

namespace lumora {
namespace {

namespace fs = std::filesystem;

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The report's rows without the drawing's name and the list links, in order: a file read back
// may list the records the other way round.
std::multiset<std::string> Rows(const std::string& report) {
  std::multiset<std::string> rows;
  std::istringstream lines(report.substr(report.find('\n') + 1));
  for (std::string row; std::getline(lines, row);) rows.insert(row.substr(0, row.find(" next:")));
  return rows;
}

struct AreaRun {
  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas{1000, 800};
  Control& control = app.control;
  std::string home;
  std::mt19937 random;
  std::string steps; // what was done, for the failure message

  explicit AreaRun(unsigned seed) : random(seed) {
    home = (fs::temp_directory_path() /
            ("lumora-area-" + std::to_string(seed) + "-" + std::to_string(::getpid())))
               .string();
    fs::remove_all(home);
    fs::copy(LUMORA_SOURCE_DIR "/data", home, fs::copy_options::recursive);
    std::string problem;
    EXPECT_TRUE(StartHeadless(app, {home, "Perus_SET", 1000, 800}, canvas, problem)) << problem;
    app.language = Language::kEnglish;
    BuildSheet();
  }
  ~AreaRun() {
    std::error_code ignored;
    fs::remove_all(home, ignored);
  }

  // A closed line with its filling, a polyline, an arc, a circle, a text, a measure and a part
  // holding a nested part.
  void BuildSheet() {
    ElementStore& store = app.store;
    PropertySet line = control.properties.line;
    line.SetShape(kShapeClosed);
    const Point box[] = {{20, 20}, {60, 20}, {60, 40}, {20, 40}};
    LineElement* rectangle = store.AddLine(line, box, 4);
    line.SetShape(kShapeOpen);
    const Point poly[] = {{100, 20}, {150, 20}, {150, 60}};
    store.AddLine(line, poly, 3);
    line.SetShape(kShapeArc);
    const Point arc[] = {{100, 100}, {110, 100}, {100, 110}};
    store.AddLine(line, arc, 3);
    line.SetShape(kShapeCircle);
    const Point circle[] = {{200, 100}, {215, 100}};
    store.AddLine(line, circle, 2);
    store.AddFilling(control.properties.filling, &rectangle, 1);
    const Point at[] = {{30, 100}};
    store.AddText(control.properties.text, at, 1, "Hello");
    PropertySet measure = control.properties.text;
    measure.SetMitta(1);
    const Point ends[] = {{110, 70}, {100, 60}, {150, 60}};
    store.AddText(measure, ends, 3, "50.0");
    line.SetShape(kShapeOpen);
    const Point a[] = {{200, 20}, {240, 30}};
    const Point b[] = {{250, 20}, {260, 50}};
    PartElement* outer = store.AddPart("Outer", 1, 0);
    PartElement* inner = store.AddPart("Inner", 1, 0);
    store.AddMember(inner, store.AddLine(line, b, 2));
    store.AddMember(outer, store.AddLine(line, a, 2));
    store.AddMember(outer, inner);
    for (PartElement* part : {inner, outer}) Geometry(control).ElementChanged(*part);
  }

  void Key(int key) {
    TranslateInput(control, InputKind::kKey, 0, 0, key);
    DispatchInput(control);
  }
  void EnterAt(Point p) {
    control.In().cursor = p;
    Key(kCodeEnter);
    steps += " (" + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)) + ")";
  }
  Point RandomPoint() {
    std::uniform_int_distribution<int> x(0, 280);
    std::uniform_int_distribution<int> y(0, 130);
    return {double(x(random)), double(y(random))};
  }
  // Ends whatever command runs, never reaching the quit question.
  void Idle() {
    for (int i = 0; i < 6 && AnyLevelActive(control); ++i) Key(kCodeEsc);
  }
  std::string Saved(const std::string& name) {
    const std::string path = home + "/" + name;
    std::string problem;
    EXPECT_TRUE(WriteDrawingHeadless(app, path, problem)) << problem;
    return FileBytes(path);
  }

  // One command with random areas and points, left at the step where Backspace takes it back.
  void RandomCommand() {
    const bool stretch = random() % 2 == 0;
    steps += stretch ? " | F5" : " | Ctrl+F5";
    Key(stretch ? kCodeStretch : kCodeCopy);
    EnterAt(RandomPoint());
    EnterAt(RandomPoint());
    if (stretch) {
      EnterAt(RandomPoint());
      EnterAt(RandomPoint());
      return;
    }
    EnterAt(RandomPoint());
    const bool move = random() % 2 == 0;
    steps += move ? " y" : " n";
    Key(move ? 'y' : 'n');
    EnterAt(RandomPoint());
    if (random() % 2 == 0) {
      EnterAt(RandomPoint());
    }
    Key(kCodeTab);
    steps += " Tab";
  }
};

// A store found unsound names the seed and the steps that led to it.
void ExpectSound(const AreaRun& run, unsigned seed) {
  SCOPED_TRACE("seed " + std::to_string(seed) + ":" + run.steps);
  ExpectSoundStore(run.app);
}

void RunSeed(unsigned seed, int rounds) {
  AreaRun run(seed);
  for (int round = 0; round < rounds; ++round) {
    const std::string report = DrawingReport(run.app.drawing);
    const std::string saved = run.Saved("before.drw");
    run.RandomCommand();
    run.Key(kCodeBackspace);
    run.steps += " Backspace";
    run.Idle();
    ASSERT_EQ(report, DrawingReport(run.app.drawing)) << "seed " << seed << ":" << run.steps;
    ASSERT_EQ(saved, run.Saved("after.drw")) << "seed " << seed << ":" << run.steps;
    ExpectSound(run, seed);
    if (::testing::Test::HasFailure()) return;
    // The same kind of step made final.
    run.RandomCommand();
    run.Idle();
    run.steps += " Esc";
    ExpectSound(run, seed);
    if (::testing::Test::HasFailure()) return;
    const std::string now = DrawingReport(run.app.drawing);
    run.Saved("final.drw");
    std::string problem;
    ASSERT_TRUE(ReadDrawingHeadless(run.app, run.home + "/final.drw", problem, false)) << problem;
    ASSERT_EQ(Rows(now), Rows(DrawingReport(run.app.drawing)))
        << "seed " << seed << ":" << run.steps;
  }
}

TEST(AreaUndoProperty, TakenBackGivesTheDrawingBackAndFinalStepsLeaveItSound) {
  for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) RunSeed(seed, 4);
  const char* more = std::getenv("LUMORA_AREA_SEEDS");
  const int extra = more == nullptr ? 0 : std::atoi(more);
  for (int seed = 100; seed < 100 + extra; ++seed) RunSeed(static_cast<unsigned>(seed), 8);
}

} // namespace
} // namespace lumora
