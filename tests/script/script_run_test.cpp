#include "control/script_driver.h"
#include "model/elements.h"
#include "protocol/functions.h"
#include "screen/text_window.h"
#include "support/started_app.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace lumora {
namespace {

namespace fs = std::filesystem;

struct ScriptRunTest : StartedApp {
  fs::path home;

  ScriptRunTest() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    home = fs::path(LUMORA_TEST_TMP) / "script" / test->name();
    fs::remove_all(home);
    fs::create_directories(home / "SETUP");
    fs::create_directories(home / "PARTS");
    app.home = home.string();
  }

  std::string Write(const std::string& name, const std::string& text) {
    const fs::path path = home / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  int Drive(const std::string& text, std::vector<std::string> answers = {},
            long long limit = 10'000'000) {
    return DriveScript(app, Write("s.txt", text), {answers, limit});
  }
  double Number(const std::string& name) {
    const Variable* v = app.script.Values().Find(name);
    return v != nullptr ? v->number : -999.0;
  }
  std::string Read(const std::string& name) {
    std::ifstream in(home / "SETUP" / name, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  std::vector<Point> Points(const LineElement* line) {
    return {line->points, line->points + line->ps0()};
  }
};

void ExpectNear(const Point& p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-6);
  EXPECT_NEAR(p.y, y, 1e-6);
}

TEST_F(ScriptRunTest, ElementsFollowThePlacement) {
  const std::string path = Write("l.txt", "LINE 1, 0, 0, 100, 0, 100, 100\n"
                                          "ARC 1, 0, 0, 10, 0, 0, 5\n");
  ASSERT_EQ(DriveScript(app, path, {{}, 1000, nullptr, {10, 20, 1, 1, 90}, false}), 1);
  ASSERT_EQ(Lines(), 2);
  const LineElement* arc = app.drawing.lines; // newest first
  const LineElement* line = arc->next;
  ASSERT_EQ(line->ps0(), 3u);
  const std::vector<Point> p = Points(line);
  ExpectNear(p[0], 10, 20);
  ExpectNear(p[1], 10, 120);
  ExpectNear(p[2], -90, 120);
  EXPECT_EQ(arc->shape(), kShapeArc);
  ExpectNear(Points(arc)[2], 10 - 10, 20); // (0, 10) turned a quarter and moved
}

TEST_F(ScriptRunTest, LoopsCountAsTheyShould) {
  ASSERT_EQ(Drive("A = 0; FOR I = 1 TO 3; A = A + 1; NEXT I\n"
                  "B = 0; FOR I = 5 TO 1; B = B + 1; NEXT I\n"
                  "C = 0; FOR I = 1 TO 2 STEP 0; C = C + 1; NEXT I\n"
                  "D = 0; FOR I = 0 TO 1 STEP 0.1; D = D + 1; NEXT I\n"
                  "E = 0; DO; E = E + 1; LOOP WHILE E < 5\n"
                  "F = 0; DO; F = F + 1; IF F = 4 THEN BREAK\nLOOP\n"
                  "G = 0; H = 0; FOR J = 1 TO 4; G = G + 1; IF J > 2 THEN CONTINUE\n"
                  "H = H + 1; NEXT J\n"
                  "K = 0; DO; FOR J = 1 TO 2; K = K + 1; NEXT J; BREAK; LOOP; K = K + 10\n"),
            1);
  EXPECT_EQ(Number("A"), 3);
  EXPECT_EQ(Number("B"), 1);
  EXPECT_EQ(Number("C"), 2);
  EXPECT_EQ(Number("D"), 11);
  EXPECT_EQ(Number("E"), 5);
  EXPECT_EQ(Number("F"), 4);
  EXPECT_EQ(Number("G"), 4);
  EXPECT_EQ(Number("H"), 2);
  EXPECT_EQ(Number("K"), 12); // BREAK passes the inner, finished FOR by
}

TEST_F(ScriptRunTest, BranchesLabelsAndComments) {
  ASSERT_EQ(Drive("A = 2\n"
                  "IF A = 1 THEN PRINT \"x\"\n"
                  "ELSE PRINT \"y\"\n"
                  "IF A > 1\n IF A > 5\n  B = 1\n ELSE\n  B = 2\n END IF\nELSE\n B = 3\nENDIF\n"
                  "IF 2 OR 0 THEN C = 1\n"
                  "REM at 12:00\n"
                  "X = 1 ** 1:2\n"
                  "* a comment: with a colon\n"
                  "GOTO AHEAD\n"
                  "N = 0\n"
                  "TOP: N = N + 1\n"
                  "IF N < 3 THEN GOTO TOP\n"
                  "GOTO NOWHERE\n"),
            1);
  EXPECT_EQ(Number("B"), 2);
  EXPECT_EQ(Number("C"), 1);
  EXPECT_EQ(Number("X"), 1);
  EXPECT_EQ(Number("N"), 3);
  const std::string printed = Read("PRINTINGS.txt");
  EXPECT_NE(printed.find("\ny"), std::string::npos);
  EXPECT_EQ(printed.find("\nx"), std::string::npos);
  const std::string errors = Read("ERRORS.txt");
  EXPECT_EQ(errors.find("ERROR REPORT OF FILE '"), 0u);
  EXPECT_NE(errors.find("GOTO AHEAD   [17. row]:\n  You can not GOTO forward!"), std::string::npos);
  EXPECT_NE(errors.find("Line name to GOTO not found!"), std::string::npos);
}

TEST_F(ScriptRunTest, SplitLinesQuotesAndIfDepth) {
  std::string deep;
  for (int i = 0; i < 21; ++i) deep += "IF 1\n";
  for (int i = 0; i < 21; ++i) deep += "END IF\n";
  ASSERT_EQ(Drive("A = 1; B = 2\nC = 1 + &\n 2\nPRINT \"a;b&c\"\n" + deep), 1);
  EXPECT_EQ(Number("B"), 2);
  EXPECT_EQ(Number("C"), 3);
  EXPECT_NE(Read("PRINTINGS.txt").find("\na;bc"), std::string::npos);
  const std::string errors = Read("ERRORS.txt");
  EXPECT_NE(errors.find("Maximum depth of IF commands exceeded!"), std::string::npos);
  EXPECT_NE(errors.find("No IF before END IF!"), std::string::npos);
}

TEST_F(ScriptRunTest, QuestionsTakeAnswersAndEscCancels) {
  const std::string script = "L = 5\nINPUT \"Length\", L\nINPUT \"Name\", N$\n"
                             "INPUT_YES_NO \"Round\", R\n"
                             "INPUT_SELECT \"Kind\", K, \"a\", \"b\", \"c\"\n"
                             "LINE 1, 0, 0, L, 0\n";
  ASSERT_EQ(Drive(script, {"40", "Bolt", "y", "3"}), 1);
  EXPECT_EQ(Number("L"), 40);
  EXPECT_EQ(app.script.Values().Find("N$")->text, "Bolt");
  EXPECT_EQ(Number("R"), 1);
  EXPECT_EQ(Number("K"), 3);
  EXPECT_EQ(Lines(), 1);
  EXPECT_EQ(Drive(script, {"40"}), 0); // no answer left
  ASSERT_EQ(Drive("L = 12.5\nTEXT 1, \"#L#\", 0, 0\nUPDATE\n"), 1);
  ASSERT_NE(app.drawing.texts, nullptr);
  EXPECT_STREQ(app.drawing.texts->text, "#L#12.5");
  EXPECT_FALSE(app.script.Running());
}

TEST_F(ScriptRunTest, EndlessRunsStopAndFullTablesEnd) {
  EXPECT_EQ(Drive("TOP: LINE 1, 0, 0, 1, 1\nGOTO TOP\n", {}, 5000), -1);
  EXPECT_GT(Lines(), 100); // what was made stays
  EXPECT_EQ(Drive("WAIT 99999999\nA = 1\n", {}, 1), -1);
  EXPECT_EQ(Number("A"), -999);
  std::string many = "DO\n";
  for (int i = 0; i < 600; ++i) many += "A = " + std::to_string(i) + "\n";
  EXPECT_EQ(Drive(many + "LOOP\n"), -1);
  EXPECT_NE(Read("ERRORS.txt").find("Maximum amount of saving read lines exceeded!"),
            std::string::npos);
}

TEST_F(ScriptRunTest, PartsAndSheetStatementsAreGuarded) {
  Write("PARTS/inner.txt.part", "LINE 1, 0, 0, 1, 1\n");
  const std::string path = Write("p.txt", "PART \"inner.txt\", 0, 0\nLIMITS 0, 0, 10, 10\n"
                                          "SCALE 5\nLINE 1, 0, 0, 2, 2\n");
  PartElement* group = app.store.AddPart("", 0, 0);
  const double scale = app.drawing.scale;
  ASSERT_EQ(DriveScript(app, path, {{}, 1000, group, {}, false}), 1);
  EXPECT_EQ(app.drawing.scale, scale);
  EXPECT_EQ(Lines(), 1);
  const std::string errors = Read("ERRORS.txt");
  EXPECT_NE(errors.find("Program part not allowed to be called from program!"), std::string::npos);
  EXPECT_NE(errors.find("Limits of area cannot be changed when adding part!"), std::string::npos);
  EXPECT_NE(errors.find("Scale cannot be changed when adding part!"), std::string::npos);

  ASSERT_EQ(Drive("LINE 1, 0, 0, 2, 2\nSCALE 0\nLIMITS 0, 0, 420, 297\nLIMITS 1, 2\n"), -1);
  EXPECT_EQ(Lines(), 0); // the limits cleared the drawing
  EXPECT_EQ(app.drawing.limits.xmax, 420);
  EXPECT_EQ(app.drawing.scale, 1);
}

TEST_F(ScriptRunTest, BadBytesNeverCrash) {
  std::string junk = "LINE 1, 0, 0, 5, 5\n" + std::string(300, 'A') + "\n" +
                     std::string("\0\x01\xff(\"[", 7) + "\n";
  junk += "PRINT \"open\nX = (1+\nLINE \nFOR = TO\nNEXT \nLOOP\nELSE\nGOTO \n";
  junk += "INPUT_FILE \"Pick\"\nINPUT_FILE \"Pick\", \"absent\"\nLINE 1, 0, 0, 6, 6\nIF ((";
  EXPECT_EQ(Drive(junk), 1);
  EXPECT_EQ(Lines(), 2); // the lines before and after the junk
  const std::string errors = Read("ERRORS.txt");
  for (const char* message :
       {"Too long line!", "Could not find any key word!", "No closing quotation mark found!",
        "No closing parenthesis found!", "No name for textfile found!", "Opening of \""}) {
    EXPECT_NE(errors.find(message), std::string::npos) << message;
  }
  EXPECT_EQ(DriveScript(app, (home / "none.txt").string(), {}), 0);
}

// The data files of a part family: the kind picks the file of its sizes.
struct DataFileTest : ScriptRunTest {
  DataFileTest() {
    fs::create_directories(home / "DATA");
    Write("DATA/kinds.txt", "KIND, FILE\nbolt, bolts\nnut, nuts.TXT\n");
    Write("DATA/bolts.txt", "D, L\r\nM6, 30\r\nM8, 40\r\n\r\n");
    Write("DATA/nuts.TXT", "D, H\nM10, 8\n");
  }
  std::string Text(const std::string& name) {
    const Variable* v = app.script.Values().Find(name);
    return v != nullptr ? v->text : "(none)";
  }
};

TEST_F(DataFileTest, TheCascadeSetsTheHeadingsNames) {
  const std::string script = "INPUT_FILE \"Pick\", \"kinds\"\nLINE 1, 0, 0, L, 0\n";
  ASSERT_EQ(Drive(script, {"1", "2"}), 1);
  EXPECT_EQ(Text("KIND"), "bolt");
  EXPECT_EQ(Text("FILE"), "bolts");
  EXPECT_EQ(Text("D"), "M8");
  EXPECT_EQ(Number("L"), 40); // a value's first number serves in expressions
  EXPECT_EQ(Lines(), 1);
  EXPECT_EQ(OpenWindowCount(app.screen), 0);
  ASSERT_EQ(Drive(script, {"2", "1"}), 1); // ".TXT" already in the name
  EXPECT_EQ(Text("H"), "8");
  EXPECT_EQ(Drive(script, {"1"}), 0); // Esc at the second level cancels
  EXPECT_EQ(OpenWindowCount(app.screen), 0);
  EXPECT_FALSE(app.script.Running());
}

TEST_F(DataFileTest, BackspaceGoesBackALevel) {
  // Driven key by key: the second level's window stands beside the first.
  const ScriptRunArgs args{Write("s.txt", "INPUT_FILE \"Pick\", \"kinds\"\n"), nullptr, {}, true};
  auto key = [&](int code) {
    app.control.In().code = code;
    app.control.In().rawKey = code;
    return app.script.Run(args);
  };
  app.control.In().code = 0;
  ASSERT_EQ(app.script.Run(args), kStillRunning);
  EXPECT_EQ(OpenWindowCount(app.screen), 1);
  EXPECT_NE(MirrorRow(app.screen, 3).find("KIND, FILE"), std::string::npos);
  EXPECT_EQ(key(kCodeDown), kStillRunning);
  EXPECT_EQ(key(kCodeEnter), kStillRunning);
  EXPECT_EQ(OpenWindowCount(app.screen), 2);
  EXPECT_NE(MirrorRow(app.screen, 5).find("D, H"), std::string::npos);
  RedrawWindows(app.screen); // a full repaint leaves empty boxes for their owners to fill
  app.control.state.windowRedrawCounter = 2;
  EXPECT_EQ(key(kContinueTick), kStillRunning);
  EXPECT_NE(MirrorRow(app.screen, 4).find("bolt, bolts"), std::string::npos);
  EXPECT_NE(MirrorRow(app.screen, 6).find("M10, 8"), std::string::npos);
  EXPECT_EQ(key(kCodeBackspace), kStillRunning);
  EXPECT_EQ(OpenWindowCount(app.screen), 1);
  EXPECT_EQ(key(kCodeBackspace), kStillRunning); // the first level has none before it
  EXPECT_EQ(key(kCodeUp), kStillRunning);
  EXPECT_EQ(key(kCodeEnter), kStillRunning);
  EXPECT_NE(MirrorRow(app.screen, 6).find("M6, 30"), std::string::npos);
  EXPECT_EQ(key(kCodeEnter), 1);
  EXPECT_EQ(Text("KIND"), "bolt");
  EXPECT_EQ(Text("L"), "30");
  EXPECT_EQ(OpenWindowCount(app.screen), 0);
}

TEST_F(DataFileTest, AFileNamingItselfStopsAtTheThirdLevel) {
  Write("DATA/self.txt", "FILE$, N\nself, 1\nself, 2\n");
  ASSERT_EQ(Drive("INPUT_FILE \"Pick\", \"self\"\n", {"1", "2", "2", "1"}), 1);
  EXPECT_EQ(Number("N"), 2);
  EXPECT_EQ(Text("FILE$"), "self");
}

TEST_F(DataFileTest, LongFilesAreCutWithAReport) {
  std::string many = "N\n";
  for (int i = 1; i <= 90; ++i) many += std::to_string(i) + std::string(100, 'x') + "\n";
  Write("DATA/many.txt", many);
  ASSERT_EQ(Drive("INPUT_FILE \"Pick\", \"many\", 10, 5\n", {"200"}), 1);
  EXPECT_EQ(Text("N").size(), 79u);
  EXPECT_EQ(Number("N"), 79); // the 80th line is the last
  EXPECT_NE(Read("ERRORS.txt").find("Maximum size of INPUT_FILE reached!"), std::string::npos);
}

// Whatever the run asks, the function that started it finds its prompt and step as it left
// them.
TEST_F(ScriptRunTest, TheCommandStateComesBack) {
  BeginFunction(app.control, Level::kMain, kCodeAddPart, 1);
  SetPrompt(app.control, TextPair{"Part: ", "Osa: "}, TextPair{"WHERE", "MISSÄ"});
  InputRecord& in = app.control.In();
  in.pointCount = 2;
  in.snapMode = kSnapPoint;
  const CommandState& state = app.control.state;
  const int mode = state.inputMode;
  const std::string prompt = app.control.Slot(Level::kMain).prompt[0];
  ASSERT_EQ(
      Drive("PRINT \"hello\"\nINPUT \"Size\", S\nINPUT_SELECT \"Kind\", K, \"a\"\n", {"5", "1"}),
      1);
  EXPECT_EQ(app.control.Slot(Level::kMain).prompt[0], prompt);
  EXPECT_EQ(state.inputMode, mode);
  EXPECT_EQ(in.pointCount, 2);
  EXPECT_EQ(in.snapMode, kSnapPoint);
  EXPECT_EQ(app.control.Slot(Level::kMain).code, kCodeAddPart);
}

} // namespace
} // namespace lumora
