// Random runs of real commands with the recovery log open: after every action the drawing a
// program rebuilds from the log (its checkpoint and the steps after it) equals the live one
// byte for byte, its store is sound, and its journal holds the same steps to undo. A log cut
// anywhere in its last step gives every step before it; a step that does not fit the drawing
// is refused and changes nothing.
#include "commands/edit_fixture.h"
#include "files/drawing_dump.h"
#include "files/journal_step_codec.h"
#include "files/recovery_files.h"
#include "files/recovery_journal.h"

#include <cstdlib>
#include <random>
#include <unistd.h>

namespace lumora {
namespace {

constexpr int kSeeds = 8;
constexpr int kActions = 60;

std::string Folder(const std::string& name) {
  const std::filesystem::path path = std::filesystem::path(LUMORA_TEST_TMP) / "recovery" /
                                     (name + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path.string();
}

struct LoggedRun : EditFixture {
  std::mt19937 random;
  std::string folder;

  LoggedRun(unsigned seed, const std::string& name) : EditFixture(320, 240), random(seed) {
    app.canvas = nullptr;
    app.screen.canvas = nullptr;
    BuildSample();
    // The sample's texts are made with no height, which no command makes and a drawing file
    // reads back as the least height.
    for (TextElement* t = app.drawing.texts; t != nullptr; t = t->next)
      if (t->height() == 0) t->SetHeight(1);
    store.CommitStep();
    folder = Folder(name);
    EXPECT_TRUE(app.recovery.Open(folder, 1000));
    app.recoveryJournal.Opened();
  }
  ~LoggedRun() override {
    app.recovery.Remove();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  void TestBody() override {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
  Point RandomPoint() { return {double(Below(280)), double(Below(260))}; }
  Point Target() {
    std::vector<Point> candidates{RandomPoint()};
    for (const LineElement* l = app.drawing.lines; l != nullptr; l = l->next)
      if (l->ps0() > 1) candidates.push_back(l->points[1]);
    return candidates[std::size_t(Below(int(candidates.size())))];
  }
  void At(Point p) {
    control.In().cursor = p;
    Key(kCodeEnter);
  }
  void Action() {
    switch (Below(14)) {
    case 0:
      Key(kCodeAddLine);
      Key(kCodeEnter);
      At(RandomPoint());
      At(RandomPoint());
      Key(kCodeTab);
      break;
    case 1:
      Key(kCodeAddArc);
      Key(kCodeEnter);
      for (int k = 0; k < 3; ++k) At(RandomPoint());
      break;
    case 2:
      Key(kCodeAddText);
      Key(kCodeEnter);
      Key('Q');
      Key(kCodeEnter);
      At(RandomPoint());
      break;
    case 3:
      Key(kCodeAddFilling);
      Key(kCodeEnter);
      At(Target());
      Key(kCodeTab);
      break;
    case 4:
      Key(kCodeDeleteElements);
      At(Target());
      break;
    case 5:
      Key(kCodeStretch);
      for (int i = 0; i < 4; ++i) At(i == 2 ? Target() : RandomPoint());
      break;
    case 6:
      Key(kCodeCopy);
      At(RandomPoint());
      At(RandomPoint());
      At(Target());
      Key('y');
      At(RandomPoint());
      Key(kCodeTab);
      break;
    case 7:
      Key(kCodeScale);
      Key(Below(2) == 0 ? kCodeUp : kCodeDown);
      Key(kCodeEnter);
      Key(kCodeEnter);
      Key('y');
      break;
    case 8:
    case 9:
      Key(kCodeUndo);
      break;
    case 10:
      Key(kCodeEdit);
      At(Target());
      At(RandomPoint());
      break;
    case 11:
      Key(kCodeCheckOverlaps);
      Key('y');
      break;
    case 12:
      Key(kCodeUpdateTexts);
      Key('y');
      break;
    default:
      Key(kCodeRedo);
      break;
    }
    for (int i = 0; i < 6 && AnyLevelActive(control); ++i) Key(kCodeEsc);
  }
};

struct Fresh : EditFixture {
  using EditFixture::EditFixture;
  void TestBody() override {}
};

// A program started afresh that rebuilds the drawing from the log the run left.
struct Rebuilt : StartedApp {
  JournalStepCodec codec;
  RebuildResult result;
  explicit Rebuilt(LoggedRun& run) : StartedApp(320, 240) {
    app.canvas = nullptr;
    app.screen.canvas = nullptr;
    run.app.recovery.Sync();
    const std::string& logPath = run.app.recovery.LogPath();
    const RecoveryLogContents log = ReadRecoveryLogFile(logPath);
    result = RebuildFromLog(app.store, app.fileEnv, app.fileState, logPath, log, codec);
    EXPECT_TRUE(result.read);
    EXPECT_FALSE(result.damaged);
    EXPECT_EQ(result.applied, log.steps.size());
  }
  void TestBody() override {}
};

// LUMORA_RECOVERY_SEEDS=N runs N more seeds.
TEST(RecoveryReplay, TheRebuiltDrawingEqualsTheLiveOneAfterEveryAction) {
  const char* more = std::getenv("LUMORA_RECOVERY_SEEDS");
  const unsigned seeds = kSeeds + (more == nullptr ? 0u : unsigned(std::atoi(more)));
  for (unsigned seed = 1; seed <= seeds; ++seed) {
    LoggedRun run(seed, "replay");
    for (int i = 0; i < kActions && !::testing::Test::HasFailure(); ++i) {
      run.Action();
      if (i == kActions / 2) {
        // A save starts a new log; steps taken back past it are a checkpoint of their own.
        run.app.drawing.changes = 0;
        run.Key(kCodeMainMenuKey);
        run.Key(kCodeEsc);
      }
      Rebuilt back(run);
      SCOPED_TRACE("seed " + std::to_string(seed) + " action " + std::to_string(i));
      EXPECT_EQ(back.app.store.CheckSoundness(), "");
      ASSERT_EQ(DrawingReport(back.app.drawing), DrawingReport(run.app.drawing));
      // The rebuilt history holds the logged steps: it can take back as many as were
      // logged since the checkpoint, and no more than the live one can.
      EXPECT_LE(back.app.store.Journal().done.size(), run.app.store.Journal().done.size());
    }
  }
}

// The drawing a log holds when only its first `size` bytes are there.
std::string RebuiltReport(const std::string& logPath, std::span<const unsigned char> bytes,
                          std::size_t& applied) {
  const RecoveryLogContents log = ReadRecoveryLog(bytes);
  Fresh back(320, 240);
  JournalStepCodec codec;
  const RebuildResult result =
      RebuildFromLog(back.app.store, back.app.fileEnv, back.app.fileState, logPath, log, codec);
  EXPECT_TRUE(result.read);
  EXPECT_EQ(back.app.store.CheckSoundness(), "");
  applied = result.applied;
  return DrawingReport(back.app.drawing);
}

TEST(RecoveryReplay, ALogCutInItsLastStepGivesEveryStepBeforeIt) {
  LoggedRun run(7, "cut");
  for (int k = 0; k < 3; ++k) run.Action();
  run.Key(kCodeAddLine);
  run.Key(kCodeEnter);
  run.At({5, 5});
  run.At({50, 70});
  run.Key(kCodeTab);
  run.Key(kCodeEsc);
  run.app.recovery.Sync();
  const std::string logPath = run.app.recovery.LogPath();
  std::ifstream in(logPath, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
  const RecoveryLogContents whole = ReadRecoveryLog(bytes);
  ASSERT_FALSE(whole.steps.empty());
  std::size_t applied = 0;
  ASSERT_EQ(RebuiltReport(logPath, bytes, applied), DrawingReport(run.app.drawing));
  ASSERT_EQ(applied, whole.steps.size());
  const std::size_t lastStep = whole.steps.back().size() + kRecoveryRecordFrame;
  const std::span<const unsigned char> all(bytes);
  const std::string before = RebuiltReport(logPath, all.first(bytes.size() - lastStep), applied);
  ASSERT_EQ(applied, whole.steps.size() - 1);
  EXPECT_NE(before, DrawingReport(run.app.drawing)) << "the last step changed nothing";
  for (std::size_t cut = bytes.size() - lastStep + 1; cut < bytes.size(); ++cut) {
    EXPECT_EQ(RebuiltReport(logPath, all.first(cut), applied), before) << "cut at " << cut;
    EXPECT_EQ(applied, whole.steps.size() - 1) << "cut at " << cut;
  }
}

TEST(RecoveryReplay, AStepThatDoesNotFitTheDrawingIsRefusedAndChangesNothing) {
  LoggedRun run(9, "refuse");
  run.Key(kCodeDeleteElements);
  run.At(run.app.drawing.lines->points[0]);
  run.Key(kCodeEsc);
  const std::vector<std::byte> step = run.app.recoveryJournal.codec().Encode(run.app.store);
  ASSERT_FALSE(step.empty());

  // Another drawing: the same sample with its lines in another colour.
  Fresh other(320, 240);
  other.BuildSample();
  other.store.CommitStep();
  JournalStepCodec codec;
  codec.Begin(other.store);
  for (LineElement* line = other.app.drawing.lines; line != nullptr; line = line->next)
    line->SetColour(line->colour() ^ 1);
  const std::string report = DrawingReport(other.app.drawing);
  const std::size_t steps = other.store.Journal().done.size();
  EXPECT_FALSE(codec.Apply(other.store, step));
  EXPECT_EQ(DrawingReport(other.app.drawing), report);
  EXPECT_EQ(other.store.CheckSoundness(), "");
  EXPECT_EQ(other.store.Journal().done.size(), steps);
  // Bytes cut short or trailing are no step either.
  for (std::size_t cut : {std::size_t{0}, std::size_t{3}, step.size() / 2, step.size() - 1})
    EXPECT_FALSE(codec.Apply(other.store, std::span(step).first(cut)));
  EXPECT_EQ(DrawingReport(other.app.drawing), report);
}

} // namespace
} // namespace lumora
