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
  // ERRORS.txt without its heading: every report as its line, row and message.
  std::string Reports() {
    const std::string all = Read("ERRORS.txt");
    const std::size_t heading = all.find('\n');
    return heading == std::string::npos ? std::string() : all.substr(heading);
  }
  static std::string Reported(const std::string& line, int row, const std::string& message) {
    return "\n" + line + "   [" + std::to_string(row) + ". row]:\n  " + message;
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

TEST_F(ScriptRunTest, OneLineIfsFindTheirThenAndKeepTheirElse) {
  ASSERT_EQ(Drive("N$ = \"Lumora\"\n"
                  "IF N$ = \"Lumora\" THEN A = 1\n"
                  "IF N$ = \"Other\" THEN B = 1\n"
                  "IF N$ = \"THEN\" THEN C = 1\n"
                  "T$ = \"THEN\"\n"
                  "IF T$ = \"THEN\" THEN D = 1\n"
                  "IF 1 THEN E = 1\n"
                  "ELSE E = 2\n"
                  "IF 0 THEN F = 1\n"
                  "ELSE F = 2\n"
                  "IF N$ = \"Lumora\" THEN G = 1\n"
                  "ELSE\n G = 2\nEND IF\n"
                  "IF 0\n IF 1 THEN H = 1\n ELSE H = 2\n K = 1\nENDIF\n"
                  "L = 1\n"
                  "IF 1\n DO\n  IF 1 THEN BREAK\n  ELSE\n   S = 5\n  END IF\n LOOP\n S = 1\n"
                  "ELSE\n S = 2\nEND IF\n"),
            1);
  EXPECT_EQ(Number("A"), 1);
  EXPECT_EQ(Number("B"), -999);
  EXPECT_EQ(Number("C"), -999);
  EXPECT_EQ(Number("D"), 1);
  EXPECT_EQ(Number("E"), 1); // a true IF's ELSE does not run
  EXPECT_EQ(Number("F"), 2);
  EXPECT_EQ(Number("G"), 1);
  EXPECT_EQ(Number("H"), -999); // the ELSE of an IF in a branch not taken keeps the branch off
  EXPECT_EQ(Number("K"), -999);
  EXPECT_EQ(Number("L"), 1);
  EXPECT_EQ(Number("S"), 1); // a BREAK passes the ELSE block of its own IF by
  EXPECT_EQ(Reports(), "");
}

// A loop of a label and a GOTO inside IF blocks runs as long as it says, and the blocks the
// GOTO leaves do not pile up; one around the label stays open.
TEST_F(ScriptRunTest, GotoOutOfIfBlocksClosesThem) {
  ASSERT_EQ(Drive("N = 0\nTOP: N = N + 1\nIF N < 30\n GOTO TOP\nEND IF\n"
                  "IF 0\n M = 1\nEND IF\n"
                  "IF 1\n K = 0\n INNER: K = K + 1\n IF K < 25\n  IF 1\n   GOTO INNER\n  ENDIF\n"
                  " ENDIF\n P = 1\nELSE\n P = 2\nENDIF\n",
                  {}, 10'000),
            1);
  EXPECT_EQ(Number("N"), 30);
  EXPECT_EQ(Number("M"), -999);
  EXPECT_EQ(Number("K"), 25);
  EXPECT_EQ(Number("P"), 1);
  EXPECT_EQ(Reports(), "");
}

TEST_F(ScriptRunTest, RequiredPointsReportUnknownNames) {
  ASSERT_EQ(Drive("LINE 1, 0, 0, XX, 10, YY, 5\nCIRCLE 1, CC, 0, 5, 0\n"
                  "ARC 1, 0, 0, 5, 0, ZZ, 1\nLINE 1, 0, 0\n"),
            1);
  EXPECT_EQ(Lines(), 3);
  EXPECT_EQ(Reports(), Reported("LINE 1, 0, 0, XX, 10, YY, 5", 1, "Variable 'XX' not found!") +
                           Reported("CIRCLE 1, CC, 0, 5, 0", 2, "Variable 'CC' not found!"));
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

TEST_F(ScriptRunTest, EndlessRunsStopAndWaitsEnd) {
  EXPECT_EQ(Drive("TOP: LINE 1, 0, 0, 1, 1\nGOTO TOP\n", {}, 5000), -1);
  EXPECT_GT(Lines(), 100); // what was made stays
  EXPECT_EQ(Drive("WAIT 86400\nA = 1\n", {}, 1), -1);
  EXPECT_EQ(Number("A"), -999);
  headless.clock.ClearWaits();
  ASSERT_EQ(Drive("WAIT 1e308\nWAIT 86401\nA = 1\n"), 1);
  EXPECT_EQ(Number("A"), 1);
  double waited = 0.0;
  for (const double seconds : headless.clock.Waits()) waited += seconds;
  EXPECT_LT(waited, 10.0); // only the boxes of the reports
  const std::string refused = "Waiting time over one day not allowed!";
  EXPECT_EQ(Reports(), Reported("WAIT 1e308", 1, refused) + Reported("WAIT 86401", 2, refused));
}

TEST_F(ScriptRunTest, LongLinesAndLongScripts) {
  const std::string first = "X = 1" + std::string(kScriptLineMax - 5, ' ');
  ASSERT_EQ(Drive(first + "Y = 22222  \nZ = X + Y\n"), 1);
  EXPECT_EQ(Number("Z"), 22223); // the rest of a long line is the next line
  EXPECT_EQ(Reports(), Reported(first, 1, "Too long line!"));

  std::string body;
  for (int i = 0; i < 600; ++i) body += "A = A + 1\n";
  ASSERT_EQ(Drive("A = 0\nFOR I = 1 TO 2\n" + body + "NEXT I\n"), 1);
  EXPECT_EQ(Number("A"), 1200);
  // Beyond its bound the table of saved lines ends the run rather than lose a line.
  EXPECT_EQ(Drive("DO\n" + std::string(kSavedLinesMax, '\n') + "LOOP\n"), -1);
  EXPECT_EQ(Reports(), Reported("", static_cast<int>(kSavedLinesMax) + 1,
                                "Maximum amount of saving read lines exceeded!"));
}

// The script an event file reads as the drawing: exactly its two faults are reported, each
// with its line and row.
TEST_F(ScriptRunTest, TheEventFilesChecksReportTheirFaults) {
  ASSERT_EQ(DriveScript(app, LUMORA_SOURCE_DIR "/tests/events/drawings/zx_checks.txt", {}), 1);
  EXPECT_EQ(Lines(), 603);
  EXPECT_EQ(Number("N"), 30);
  EXPECT_EQ(Reports(),
            Reported("LONGA = 45" + std::string(289, ' '), 17, "Too long line!") +
                Reported("LINE 1, XX, 20, LONGA, LONGB", 18, "Variable 'XX' not found!"));
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
