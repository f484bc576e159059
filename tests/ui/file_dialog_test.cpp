#include "model/drawing.h"
#include "screen/text_window.h"
#include "ui/ask_file_name.h"
#include "ui/ask_fixture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

namespace fs = std::filesystem;

constexpr int kDown = 1103;

struct DialogFixture : AskFixture {
  fs::path home;
  Drawing& drawing = app.drawing;
  AskFileName dialog;
  FileDialogArgs args;
  std::string path;

  explicit DialogFixture(int command, std::string_view name = "") {
    home = fs::path(LUMORA_TEST_TMP) / "file_dialog" /
           ::testing::UnitTest::GetInstance()->current_test_info()->name() / name;
    fs::remove_all(home);
    fs::create_directories(home / "DRAWINGS");
    fs::create_directories(home / "PARTS");
    args = {command, {"Saving: ", "Tallennus: "}, home.string(), {}};
    call = [this] { return dialog.Ask(control, prompts, args, path); };
  }
  // Replaces the proposed name with `name` and enters it.
  int Name(std::string_view name) {
    Key(3011);
    Type(name);
    return Key(kCodeEnter);
  }
  void Touch(const fs::path& file) { std::ofstream(home / file) << "x"; }
  std::string In(std::string_view file) const { return (home / file).string(); }
};

TEST(FileDialog, SavingANameGivesItsPathInTheDrawingDirectory) {
  DialogFixture f(kCodeSave);
  SetDrawingName(f.drawing, "Old");
  f.Call();
  EXPECT_EQ(f.Cells(1, 2, 25), "Saving: WRITE NAME ? Old ");
  EXPECT_EQ(f.Name("Plan"), kFileAccepted);
  EXPECT_EQ(f.path, f.In("DRAWINGS/Plan.drw"));
  EXPECT_EQ(f.dialog.Name(), "Plan");
  EXPECT_EQ(DrawingName(f.drawing), "Old"); // renamed only once the file is written
}

TEST(FileDialog, AMissingSubdirectoryIsCreatedAfterTheQuestion) {
  for (const char* typed : {"Sub/Plan", "Sub\\Plan"}) {
    DialogFixture f(kCodeSave, typed[3] == '/' ? "slash" : "backslash");
    f.Call();
    EXPECT_EQ(f.Name(typed), kStillRunning);
    EXPECT_TRUE(f.Shown("New directory !"));
    EXPECT_EQ(f.Cells(1, 2, 44), "Saving: New 'Sub' directory:  DO WE CREATE ?");
    f.Key('n'); // back to the name as typed
    EXPECT_FALSE(fs::exists(f.home / "DRAWINGS/Sub"));
    f.Key(kCodeEnter);
    EXPECT_EQ(f.Key('y'), kFileAccepted);
    EXPECT_EQ(f.path, f.In("DRAWINGS/Sub/Plan.drw"));
    EXPECT_EQ(f.prompts.files.drawingSubdirectory, "Sub");
  }
}

TEST(FileDialog, OneLevelOfSubdirectoryAndBack) {
  DialogFixture f(kCodeSave);
  f.Call();
  f.Name("..");
  EXPECT_TRUE(f.Shown("Not in directory !"));
  fs::create_directories(f.home / "DRAWINGS/Sub");
  EXPECT_EQ(f.Name("Sub/Plan"), kFileAccepted); // an existing one is entered without asking
  for (const char* deeper : {"Other/Plan", "A/B/Plan"}) {
    f.canvas.glyphs.clear();
    f.Call();
    EXPECT_EQ(f.Name(deeper), kStillRunning);
    EXPECT_TRUE(f.Shown("Already in directory !"));
    f.Key(kCodeEsc);
  }
  f.Call();
  EXPECT_EQ(f.Name("../Top"), kFileAccepted);
  EXPECT_EQ(f.path, f.In("DRAWINGS/Top.drw"));
}

TEST(FileDialog, DirectoriesAreMadeWithoutAShell) {
  DialogFixture f(kCodeSave);
  f.Call();
  f.Name("a;touch pwned/Plan");
  EXPECT_EQ(f.Key('y'), kFileAccepted);
  EXPECT_TRUE(fs::is_directory(f.home / "DRAWINGS/a;touch pwned"));
  EXPECT_FALSE(fs::exists(f.home / "DRAWINGS/pwned") || fs::exists("pwned"));
  // One that cannot be made is reported like a file that cannot be opened; the name is asked
  // again.
  f.Touch("DRAWINGS/Busy");
  f.prompts.files.drawingSubdirectory.clear();
  f.Call();
  f.Name("Busy/Plan");
  EXPECT_EQ(f.Key('y'), kStillRunning);
  EXPECT_TRUE(f.Shown("/DRAWINGS/Busy\"-file not succeeded !"));
  EXPECT_EQ(f.control.state.inputMode, kModeTextEntry);
}

TEST(FileDialog, APatternOnlyFiltersTheDirectoryWeAreIn) {
  DialogFixture f(kCodeSave);
  for (const char* name : {"House", "Plan", "Span"})
    f.Touch(std::string("DRAWINGS/") + name + ".drw");
  f.Call();
  f.Name("*an"); // a star anywhere, not only at the end
  EXPECT_EQ(f.Cells(3, 2, 5) + f.Cells(4, 2, 5), "Plan Span ");
  f.Key(kCodeEsc);
  // Before the separator a star is still a pattern: it names no directory to make or enter,
  // and before ".." it leaves nothing.
  fs::create_directories(f.home / "DRAWINGS/Sub");
  f.prompts.files.drawingSubdirectory = "Sub";
  for (const char* typed : {"*/Plan", "S*\\Plan", "*../../*"}) {
    f.canvas.glyphs.clear();
    f.Call();
    EXPECT_EQ(f.Name(typed), kStillRunning) << typed;
    EXPECT_TRUE(f.Shown("No files !")) << typed;
    EXPECT_EQ(f.control.state.inputMode, kModeTextEntry) << typed; // the name is asked again
    EXPECT_EQ(f.prompts.files.drawingSubdirectory, "Sub") << typed;
    f.Key(kCodeEsc);
  }
  EXPECT_EQ(fs::directory_iterator(f.home / "DRAWINGS/Sub"), fs::directory_iterator());
}

TEST(FileDialog, AnExistingFileIsReplacedOnlyAfterTheQuestion) {
  DialogFixture f(kCodeSave);
  f.Touch("DRAWINGS/Plan.drw");
  for (int answer : {int{'n'}, kCodeEnter, int{'y'}}) {
    f.Call();
    EXPECT_EQ(f.Name("Plan"), kStillRunning);
    EXPECT_TRUE(f.Shown("File exists !"));
    EXPECT_EQ(f.Cells(1, 2, 39), "Saving: File 'Plan' exists:  REPLACED !");
    // Enter takes the proposed answer, which is no.
    EXPECT_EQ(f.Key(answer), answer == 'y' ? kFileAccepted : kFileNotReplaced);
  }
}

TEST(FileDialog, ReadingChoosesFromTheList) {
  DialogFixture f(kCodeReadDrawing);
  f.Touch("DRAWINGS/B.drw");
  f.Touch("DRAWINGS/A.drw");
  f.Touch("DRAWINGS/notes.doc");
  fs::create_directories(f.home / "DRAWINGS/Sub");
  f.Touch("DRAWINGS/Sub/C.drw");
  f.Call();
  EXPECT_EQ(f.Cells(3, 2, 4) + f.Cells(4, 2, 4) + f.Cells(5, 2, 4) + f.Cells(6, 2, 4),
            "A   B   Sub/    ");
  f.Keys({kDown, kDown});
  f.Key(kCodeEnter); // into Sub
  EXPECT_EQ(f.Cells(3, 2, 2) + f.Cells(4, 2, 2), "..C ");
  f.Key(kCodeEnter); // out again
  f.Key(kDown);
  EXPECT_EQ(f.Key(kCodeEnter), kFileAccepted);
  EXPECT_EQ(f.path, f.In("DRAWINGS/B.drw"));
  EXPECT_EQ(f.dialog.Name(), "B");
}

TEST(FileDialog, AFileGoneBeforeItIsChosenIsNoticed) {
  DialogFixture f(kCodeAddPart);
  f.Touch("PARTS/Bolt.part");
  f.Touch("PARTS/Nut.part");
  f.Call();
  fs::remove(f.home / "PARTS/Bolt.part");
  EXPECT_EQ(f.Key(kCodeEnter), kStillRunning);
  EXPECT_TRUE(f.Shown("/PARTS/Bolt.part' is not found ! ")); // the path may lose its start
  f.Key('q');                                                // the notice goes; the list is back
  EXPECT_EQ(f.Cells(3, 2, 4), "Nut ");
  EXPECT_EQ(f.Key(kCodeEnter), kFileAccepted);
  EXPECT_EQ(f.prompts.files.partName, "Nut");
}

TEST(FileDialog, EmptyDirectoriesAndCopy) {
  DialogFixture f(kCodeReadDrawing);
  EXPECT_EQ(f.Call(), kEntryBack);
  EXPECT_TRUE(f.Shown("No files !"));
  f.args.command = kCodeCopy;
  EXPECT_EQ(f.Call(), kFileAccepted);
  EXPECT_EQ(f.path, f.In("Copy.part")); // never a user's own part called Copy
}

} // namespace
} // namespace lumora
