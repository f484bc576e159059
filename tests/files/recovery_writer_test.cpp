#include "file_test_env.h"
#include "files/recovery_writer.h"
#include "model/drawing.h"
#include "recovery_test_codec.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace lumora::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory))
    if (!entry.path().filename().string().ends_with(".lock"))
      names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void AddStep(RecoveryWriter& writer, DrawingFixture& at, LineStepCodec& codec, double y) {
  codec.next = {Point{0, y}, Point{100, y}};
  ASSERT_TRUE(codec.Apply(at.store, codec.Encode(at.store)));
  ASSERT_TRUE(writer.Step(codec.Encode(at.store), 1000));
}

TEST(RecoveryWriter, ALogLeftByADeadProgramRebuildsItsDrawing) {
  const std::string folder = ScratchDirectory("recovery_rebuild") + "/RECOVER";
  DrawingFixture live;
  LineStepCodec codec;
  live.Line(1, {{0, 0}, {10, 10}});
  SetDrawingName(live.drawing, "house");
  live.drawing.changes = 0;
  std::string logPath;
  {
    RecoveryWriter writer(live.drawing, live.env);
    ASSERT_TRUE(writer.Open(folder, 1000));
    logPath = writer.LogPath();
    // A checkpoint is no save: the drawing keeps its saved state and its name.
    EXPECT_EQ(live.drawing.changes, 0u);
    EXPECT_EQ(DrawingName(live.drawing), "house");
    for (int k = 1; k <= 3; ++k) AddStep(writer, live, codec, 10.0 * k);

    // A second program in the same folder keeps a log of its own, and a live log is nobody's
    // orphan.
    DrawingFixture other;
    RecoveryWriter second(other.drawing, other.env);
    ASSERT_TRUE(second.Open(folder, 1000));
    EXPECT_NE(second.LogPath(), logPath);
    EXPECT_TRUE(FindOrphanedLogs(folder).empty());
    second.Remove(); // a clean quit leaves nothing behind
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"slot1.1.drw", "slot1.log"}));
  } // the writer goes without Remove, as a killed program's would

  std::vector<OrphanedLog> orphans = FindOrphanedLogs(folder);
  ASSERT_EQ(orphans.size(), 1u);
  EXPECT_EQ(orphans[0].logPath, logPath);
  const RecoveryLogContents log = ReadRecoveryLogFile(logPath);
  ASSERT_EQ(log.steps.size(), 3u);
  EXPECT_EQ(log.header.name, "house");

  DrawingFixture back;
  const RebuildResult rebuilt =
      RebuildFromLog(back.store, back.env, back.state, logPath, log, codec);
  EXPECT_TRUE(rebuilt.read);
  EXPECT_EQ(rebuilt.applied, 3u);
  EXPECT_FALSE(rebuilt.damaged);
  EXPECT_EQ(NodeCount(back.drawing.lines), 4u);
  EXPECT_EQ(DrawingName(back.drawing), "house");
  EXPECT_NE(back.drawing.changes, 0u); // recovered work is unsaved work

  // While start-up holds the orphan, no new program takes its slot.
  RecoveryWriter next(back.drawing, back.env);
  ASSERT_TRUE(next.Open(folder, 2000));
  EXPECT_NE(next.LogPath(), logPath);

  // Declined: the log and its checkpoint are kept aside and never offered again.
  const std::string aside = PutLogAside(logPath, log.header.checkpoint, "20261207-2040");
  EXPECT_EQ(fs::path(aside).filename(), "aside-20261207-2040-slot1.log");
  EXPECT_TRUE(fs::exists(CheckpointPathOf(aside, 1)));
  orphans.clear();
  EXPECT_TRUE(FindOrphanedLogs(folder).empty());
}

TEST(RecoveryWriter, ALogCutInItsLastStepRecoversEveryStepBeforeIt) {
  const std::string folder = ScratchDirectory("recovery_cut") + "/RECOVER";
  DrawingFixture live;
  LineStepCodec codec;
  std::string logPath;
  std::uintmax_t beforeLast = 0;
  {
    RecoveryWriter writer(live.drawing, live.env);
    ASSERT_TRUE(writer.Open(folder, 1000));
    logPath = writer.LogPath();
    AddStep(writer, live, codec, 1);
    AddStep(writer, live, codec, 2);
    beforeLast = fs::file_size(logPath);
    AddStep(writer, live, codec, 3);
  }
  const std::string whole = Slurp(logPath);
  for (std::size_t cut = beforeLast; cut < whole.size(); ++cut) {
    fs::resize_file(logPath, cut);
    DrawingFixture back;
    const RebuildResult rebuilt = RebuildFromLog(back.store, back.env, back.state, logPath,
                                                 ReadRecoveryLogFile(logPath), codec);
    ASSERT_EQ(rebuilt.applied, 2u) << "cut at " << cut;
    EXPECT_EQ(rebuilt.damaged, cut != beforeLast);
    EXPECT_EQ(NodeCount(back.drawing.lines), 2u);
  }
}

TEST(RecoveryWriter, ALogOutgrowingTheDrawingIsReplacedByACheckpoint) {
  const std::string folder = ScratchDirectory("recovery_checkpoint") + "/RECOVER";
  DrawingFixture live;
  LineStepCodec codec;
  for (int k = 0; k < 20; ++k) live.Line(1, {{0, 0}, {10.0 * k, 10}});
  RecoveryWriter writer(live.drawing, live.env, 0);
  ASSERT_TRUE(writer.Open(folder, 1000));
  for (int k = 0; k < 40; ++k) AddStep(writer, live, codec, k);
  writer.Sync();
  // The log never stays longer than the drawing it would rebuild; one checkpoint is kept.
  EXPECT_LT(writer.StepCount(), 40u);
  const RecoveryLogContents log = ReadRecoveryLogFile(writer.LogPath());
  EXPECT_GT(log.header.checkpoint, 1u);
  EXPECT_LE(writer.LogBytes(),
            fs::file_size(CheckpointPathOf(writer.LogPath(), log.header.checkpoint)) + 64);
  EXPECT_EQ(Names(folder).size(), 2u); // the log and the one checkpoint it names

  DrawingFixture back;
  RebuildFromLog(back.store, back.env, back.state, writer.LogPath(), log, codec);
  EXPECT_EQ(NodeCount(back.drawing.lines), 60u);
  EXPECT_TRUE(back.env.errors.empty());
}

} // namespace
} // namespace lumora::test
