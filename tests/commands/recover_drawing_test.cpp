#include "commands/recover_drawing.h"
#include "control/dispatch_fixture.h"
#include "control/headless_app.h"
#include "control/recover_headless.h"
#include "control/recovery_startup.h"
#include "files/file_test_env.h"
#include "files/recovery_test_codec.h"
#include "model/drawing.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace lumora {
namespace {

namespace fs = std::filesystem;

// A program that drew `lines` lines on the drawing "house" (with `changes` unsaved before its
// log began) and died, or quit; its folder.
std::string DeadProgram(const std::string& name, int lines, std::uint32_t changes = 0,
                        bool quit = false) {
  const std::string folder = test::ScratchDirectory(name) + "/RECOVER";
  test::DrawingFixture dead;
  test::LineStepCodec codec;
  SetDrawingName(dead.drawing, "house");
  dead.drawing.changes = changes;
  RecoveryWriter writer(dead.drawing, dead.env);
  EXPECT_TRUE(writer.Open(folder, 1000));
  for (int k = 0; k < lines; ++k) {
    codec.next = {Point{0, 10.0 * k}, Point{100, 10.0 * k}};
    writer.Step(codec.Encode(dead.store), 1000);
  }
  if (quit) writer.Remove(); // what a clean quit leaves: nothing
  return folder;
}

// A program started over the folder; its start-up asks at once when there is work to recover.
struct RecoverFixture : DispatchFixture {
  test::LineStepCodec codec;
  RecoveryWriter& writer = app.recovery;

  explicit RecoverFixture(const std::string& folder, Language shown = Language::kEnglish) {
    language = shown;
    app.home = fs::path(folder).parent_path().string();
    StartRecovery(app, codec);
  }
};

TEST(RecoverDrawing, YesRebuildsTheDrawingAsUnsavedAndGoesOnInAFreshLog) {
  const std::string folder = DeadProgram("recover_yes", 3);
  RecoverFixture f(folder);
  EXPECT_TRUE(f.Shown("Recover unsaved drawing 'house' (3 steps, saved at 1970-01-01 00:16) ?"));
  f.Key('y');
  EXPECT_EQ(test::NodeCount(f.app.drawing.lines), 3u);
  EXPECT_EQ(DrawingName(f.app.drawing), "house");
  EXPECT_NE(f.app.drawing.changes, 0u);
  // The dead program's log is gone; the live one starts from what was recovered.
  EXPECT_FALSE(fs::exists(folder + "/slot1.log"));
  const RecoveryLogContents fresh = ReadRecoveryLogFile(f.writer.LogPath());
  EXPECT_EQ(fresh.header.name, "house");
  EXPECT_TRUE(fresh.header.unsaved);
  EXPECT_TRUE(fresh.steps.empty());
}

TEST(RecoverDrawing, NoKeepsTheLogAsideAndTheDrawingEmpty) {
  const std::string folder = DeadProgram("recover_no", 2);
  RecoverFixture f(folder, Language::kFinnish);
  // The longer wording leaves the name little room: the answers keep to the row.
  EXPECT_TRUE(f.Shown(
      "Palautetaanko tallentamaton piirustus 'h...' (2 vaihetta, tallennettu 1.1. 00:16) ?"));
  f.Key('e');
  EXPECT_EQ(f.app.drawing.lines, nullptr);
  // Kept aside under the date of the answer, with the checkpoint it starts from.
  const std::string stamp = FileStamp(f.clock.LocalTime());
  EXPECT_TRUE(fs::exists(folder + "/aside-" + stamp + "-slot1.log"));
  EXPECT_TRUE(fs::exists(folder + "/aside-" + stamp + "-slot1.1.drw"));
  EXPECT_FALSE(TakeRecoveryOffer(folder, f.app.fileEnv, "x").has_value());
}

TEST(RecoverDrawing, OnlyUnsavedWorkIsOfferedAndADamagedLogIsKeptAsideWithAMessage) {
  test::RecordingReporter reporter;
  // A program that quit cleanly, and one whose last checkpoint was just after a save.
  EXPECT_FALSE(TakeRecoveryOffer(DeadProgram("recover_quit", 2, 0, true), reporter, "s"));
  const std::string folder = DeadProgram("recover_empty", 0);
  EXPECT_FALSE(TakeRecoveryOffer(folder, reporter, "s"));
  EXPECT_FALSE(fs::exists(folder + "/slot1.log"));
  EXPECT_TRUE(reporter.errors.empty());
  // A checkpoint of unsaved work is worth offering even before its first step.
  const auto unsaved = TakeRecoveryOffer(DeadProgram("recover_unsaved", 0, 1), reporter, "s");
  ASSERT_TRUE(unsaved.has_value());
  EXPECT_EQ(RecoveryTitle(*unsaved, Language::kEnglish),
            "Recover unsaved drawing 'house' (0 steps, saved at 1970-01-01 00:16) ");

  const std::string damaged = DeadProgram("recover_damaged", 2);
  fs::resize_file(damaged + "/slot1.log", 5);
  EXPECT_FALSE(TakeRecoveryOffer(damaged, reporter, "s"));
  ASSERT_EQ(reporter.errors.size(), 1u);
  EXPECT_EQ(reporter.errors[0], "Damaged recovery log kept aside: aside-s-slot1.log");
  EXPECT_TRUE(fs::exists(damaged + "/aside-s-slot1.log"));

  // A log whose checkpoint is gone has nothing to do its steps on: kept aside, never offered.
  const std::string orphan = DeadProgram("recover_no_checkpoint", 2);
  for (const auto& entry : fs::directory_iterator(orphan))
    if (entry.path().extension() == ".drw") fs::remove(entry.path());
  EXPECT_FALSE(TakeRecoveryOffer(orphan, reporter, "s"));
  ASSERT_EQ(reporter.errors.size(), 2u);
  EXPECT_TRUE(fs::exists(orphan + "/aside-s-slot1.log"));

  // One step is one; a long name is cut so that the answers keep to the row.
  auto one = TakeRecoveryOffer(DeadProgram("recover_one", 1), reporter, "s");
  ASSERT_TRUE(one.has_value());
  EXPECT_EQ(RecoveryTitle(*one, Language::kFinnish),
            "Palautetaanko tallentamaton piirustus 'house' (1 vaihe, tallennettu 1.1. 00:16) ");
  one->log.header.name = std::string(60, 'x');
  EXPECT_EQ(RecoveryTitle(*one, Language::kEnglish),
            "Recover unsaved drawing '" + std::string(16, 'x') +
                "...' (1 step, saved at 1970-01-01 00:16) ");
  for (const Language language : {Language::kEnglish, Language::kFinnish})
    EXPECT_LE(RecoveryTitle(*one, language).size(), 82u);
}

TEST(RecoverDrawing, ALogIsWrittenAsADrawingFileByHand) {
  const std::string folder = DeadProgram("recover_by_hand", 3);
  test::LineStepCodec codec;
  std::string report;
  {
    HeadlessApp headless;
    EXPECT_TRUE(RecoverLogHeadless(headless.app, folder + "/slot1.log", folder + "/out.drw", codec,
                                   report));
    EXPECT_EQ(report, "3 of 3 steps recovered");
    EXPECT_FALSE(RecoverLogHeadless(headless.app, folder + "/slot1.1.drw", folder + "/x.drw", codec,
                                    report));
    EXPECT_FALSE(fs::exists(folder + "/x.drw"));
  }
  test::DrawingFixture back;
  ASSERT_EQ(back.Read(folder + "/out.drw"), 1);
  EXPECT_EQ(test::NodeCount(back.drawing.lines), 3u);
}

} // namespace
} // namespace lumora
