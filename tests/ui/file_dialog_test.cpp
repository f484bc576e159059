#include "model/drawing.h"
#include "ui/ask_file_name.h"
#include "ui/ask_fixture.h"
#include "ui/text_window.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

namespace fs = std::filesystem;

constexpr int kDown = 1103;
constexpr int kCtrlF11 = 3011;
constexpr TextPair kTitle{"Saving: "_l1, "Tallennus: "_l1};

struct DialogFixture : AskFixture {
  fs::path home;
  Drawing drawing;
  AskFileName dialog;
  FileDialogArgs args;
  std::string path;
  int result = kStillRunning;

  explicit DialogFixture(int command) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    home = fs::path(LUMORA_TEST_TMP) / "file_dialog" / test->name();
    fs::remove_all(home);
    fs::create_directories(home / "DRAWINGS");
    fs::create_directories(home / "PARTS");
    control.drawing = &drawing;
    args.command = command;
    args.title = kTitle;
    args.home = home.string();
  }
  int Start() { return result = dialog.Ask(control, prompts, args, path); }
  int Key(int key) {
    Translate(key);
    return result = dialog.Ask(control, prompts, args, path);
  }
  // Replaces the proposed name with `name` and enters it.
  int Name(std::string_view name) {
    Key(kCtrlF11);
    for (char c : name) Key(static_cast<unsigned char>(c));
    return Key(kCodeEnter);
  }
  void Touch(const fs::path& file) { std::ofstream(home / file) << "x"; }
  std::string In(std::string_view file) const { return (home / file).string(); }
};

TEST(FileDialog, SavingANameGivesItsPathInTheDrawingDirectory) {
  DialogFixture f(kCommandSave);
  SetDrawingName(f.drawing, "Old");
  EXPECT_EQ(f.Start(), kStillRunning);
  EXPECT_EQ(f.Cells(1, 2, 25), "Saving: WRITE NAME ? Old ");
  EXPECT_EQ(f.Name("Plan"), kFileAccepted);
  EXPECT_EQ(f.path, f.In("DRAWINGS/Plan.drw"));
  EXPECT_EQ(DrawingName(f.drawing), "Plan");
  // A script keeps its name as it is.
  f.Start();
  EXPECT_EQ(f.Name("make.txt"), kFileAccepted);
  EXPECT_EQ(f.path, f.In("DRAWINGS/make.txt"));
}

TEST(FileDialog, AMissingSubdirectoryIsCreatedAfterTheQuestion) {
  for (const char* typed : {"Sub/Plan", "Sub\\Plan"}) {
    DialogFixture f(kCommandSave);
    f.Start();
    EXPECT_EQ(f.Name(typed), kStillRunning);
    EXPECT_TRUE(f.Shown("New directory !"));
    EXPECT_EQ(f.Cells(1, 2, 44), "Saving: New 'Sub' directory:  DO WE CREATE ?");
    EXPECT_EQ(f.Key('n'), kStillRunning); // back to the name as typed
    EXPECT_FALSE(fs::exists(f.home / "DRAWINGS/Sub"));
    EXPECT_EQ(f.Key(kCodeEnter), kStillRunning);
    EXPECT_EQ(f.Key('y'), kFileAccepted);
    EXPECT_TRUE(fs::is_directory(f.home / "DRAWINGS/Sub"));
    EXPECT_EQ(f.path, f.In("DRAWINGS/Sub/Plan.drw"));
    EXPECT_EQ(f.prompts.files.drawingSubdirectory, "Sub");
  }
}

TEST(FileDialog, OneLevelOfSubdirectoryAndBack) {
  DialogFixture f(kCommandSave);
  f.Start();
  f.Name("..");
  EXPECT_TRUE(f.Shown("Not in directory !"));
  EXPECT_EQ(f.result, kStillRunning);
  fs::create_directories(f.home / "DRAWINGS/Sub");
  EXPECT_EQ(f.Name("Sub/Plan"), kFileAccepted); // an existing one is entered without asking
  f.Start();
  f.canvas.glyphs.clear();
  f.Name("Other/Plan");
  EXPECT_TRUE(f.Shown("Already in directory !"));
  EXPECT_FALSE(fs::exists(f.home / "DRAWINGS/Other"));
  EXPECT_EQ(f.Name("../Top"), kFileAccepted);
  EXPECT_EQ(f.path, f.In("DRAWINGS/Top.drw"));
  EXPECT_EQ(f.prompts.files.drawingSubdirectory, "");
  f.Start();
  f.canvas.glyphs.clear();
  f.Name("A/B/Plan");
  EXPECT_TRUE(f.Shown("Already in directory !"));
}

TEST(FileDialog, TypedNamesNeverReachAShell) {
  DialogFixture f(kCommandSave);
  f.Start();
  f.Name("a;touch pwned/Plan");
  EXPECT_EQ(f.Key('y'), kFileAccepted);
  EXPECT_TRUE(fs::is_directory(f.home / "DRAWINGS/a;touch pwned"));
  EXPECT_FALSE(fs::exists(f.home / "DRAWINGS/pwned"));
  EXPECT_FALSE(fs::exists("pwned"));
  // A directory that cannot be made is reported like a file that cannot be opened, and the
  // name is asked again.
  DialogFixture g(kCommandSave);
  g.Touch("DRAWINGS/Busy");
  g.Start();
  g.Name("Busy/Plan");
  EXPECT_EQ(g.Key('y'), kStillRunning);
  EXPECT_TRUE(g.Shown("Opening of \"" + g.home.string()));
  EXPECT_EQ(g.control.state.inputMode, kModeTextEntry);
  EXPECT_EQ(g.Key(kCodeEsc), kEntryEsc);
}

TEST(FileDialog, AnExistingFileIsReplacedOnlyAfterTheQuestion) {
  DialogFixture f(kCommandSave);
  f.Touch("DRAWINGS/Plan.drw");
  f.Start();
  EXPECT_EQ(f.Name("Plan"), kStillRunning);
  EXPECT_TRUE(f.Shown("File exists !"));
  EXPECT_EQ(f.Cells(1, 2, 39), "Saving: File 'Plan' exists:  REPLACED !");
  EXPECT_EQ(f.Key('n'), kFileNotReplaced);
  f.Start();
  f.Name("Plan");
  EXPECT_EQ(f.Key(kCodeEnter), kFileNotReplaced); // the proposed answer is no
  f.Start();
  f.Name("Plan");
  EXPECT_EQ(f.Key('y'), kFileAccepted);
}

TEST(FileDialog, ReadingChoosesFromTheList) {
  DialogFixture f(kCommandReadDrawing);
  f.Touch("DRAWINGS/B.drw");
  f.Touch("DRAWINGS/A.drw");
  f.Touch("DRAWINGS/notes.doc");
  fs::create_directories(f.home / "DRAWINGS/Sub");
  f.Touch("DRAWINGS/Sub/C.drw");
  EXPECT_EQ(f.Start(), kStillRunning);
  EXPECT_EQ(f.Cells(3, 2, 4), "A   ");
  EXPECT_EQ(f.Cells(4, 2, 4), "B   ");
  EXPECT_EQ(f.Cells(5, 2, 4), "Sub/");
  EXPECT_EQ(f.Cells(6, 2, 4), "    ");
  f.Key(kDown);
  f.Key(kDown);
  f.Key(kCodeEnter); // into Sub
  EXPECT_EQ(f.Cells(3, 2, 2), "..");
  EXPECT_EQ(f.Cells(4, 2, 2), "C ");
  f.Key(kCodeEnter); // out again
  EXPECT_EQ(f.Cells(3, 2, 2), "A ");
  f.Key(kDown);
  EXPECT_EQ(f.Key(kCodeEnter), kFileAccepted);
  EXPECT_EQ(f.path, f.In("DRAWINGS/B.drw"));
  EXPECT_EQ(DrawingName(f.drawing), "B");
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
}

TEST(FileDialog, AFileGoneBeforeItIsChosenIsNoticed) {
  DialogFixture f(kCommandAddPart);
  f.Touch("PARTS/Bolt.part");
  f.Touch("PARTS/Nut.part");
  f.Start();
  fs::remove(f.home / "PARTS/Bolt.part");
  EXPECT_EQ(f.Key(kCodeEnter), kStillRunning);
  EXPECT_TRUE(f.Shown("File '" + f.home.string())); // the rest is cut at the window's edge
  EXPECT_EQ(f.Key('q'), kStillRunning);             // the notice goes; the list is back
  EXPECT_EQ(f.Cells(3, 2, 4), "Nut ");
  EXPECT_EQ(f.Key(kCodeEnter), kFileAccepted);
  EXPECT_EQ(f.prompts.files.partName, "Nut");
}

TEST(FileDialog, EmptyDirectoriesCopyAndPartNames) {
  DialogFixture f(kCommandReadDrawing);
  EXPECT_EQ(f.Start(), kEntryBack);
  EXPECT_TRUE(f.Shown("No files !"));

  DialogFixture copy(kCommandCopy);
  EXPECT_EQ(copy.Start(), kFileAccepted);
  EXPECT_EQ(copy.path, copy.In("PARTS/Copy.part"));

  DialogFixture part(kCommandSavePart);
  part.prompts.files.partName = "Bolt";
  part.Start();
  EXPECT_EQ(part.Key(kCodeEnter), kFileAccepted);
  EXPECT_EQ(part.path, part.In("PARTS/Bolt.part"));
}

} // namespace
} // namespace lumora
