// The script interpreter: a resumable step machine over the lines of one script file.
//
// Run answers kStillRunning while a question is open or the run pauses (every 1000 lines, a
// WAIT, the box of an error report); the caller calls it again with the same arguments for the
// next code. A paused run goes on when called with any code but Esc, which ends it (-1). Only
// one run exists at a time: a call while a run is busy (a script's PART naming a script) is
// refused. Final results: 1 the end of the file, 0 cancelled at a question or no file, -1
// aborted.
#pragma once

#include "files/file_access.h"
#include "files/placement.h"
#include "geometry/primitives.h"
#include "protocol/command_state.h"
#include "script/script_expressions.h"
#include "ui/ask_state.h"
#include "ui/ask_yes_no.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace lumora {

struct PartElement;
struct TextElement;

struct ScriptRunArgs {
  std::string fileName;
  PartElement* group = nullptr; // receives every element made; none: the drawing itself
  Placement placement;
  bool draw = true;
};

inline constexpr std::size_t kScriptLineMax = 299;
// Loops and labels replay saved lines: room for a script of any practical length.
inline constexpr std::size_t kSavedLinesMax = 100'000;
inline constexpr std::size_t kIfDepthMax = 20;
inline constexpr int kStatementCountdown = 1000;
inline constexpr std::size_t kLabelMax = 20;

class ScriptRun final : public ScriptReporter {
public:
  ScriptRun(Control& control, std::ostream& console, std::ofstream& log);

  int Run(const ScriptRunArgs& args);
  bool Running() const { return running_; }
  // The run stands still and goes on by itself after PauseLeft() seconds on the next call.
  bool Paused() const { return running_ && resume_ == Resume::kPause; }
  double PauseLeft() const;
  ScriptValues& Values() { return values_; }
  // The kind of question open while the run waits for the user.
  enum class Question { kNone, kEntry, kYesNo, kSelect, kFile };
  Question Asking() const;
  // Lines executed since the run started.
  long long Executed() const { return executed_; }

  void Report(std::string_view message) override;

private:
  enum class Resume { kNone, kInput, kPause };
  enum class Flow { kNext, kWait, kEnd };
  enum class Input { kNone, kString, kNumber, kText, kYesNo, kSelect, kUpdate, kFile };

  struct SavedLine {
    std::string text;
    std::string label;
    int row = 0;
    int code = -1;
    std::string forVariable;
    double forEnd = 0.0;
    double forStep = 1.0;
    int doDepth = 0;
    std::size_t ifDepth = 0; // the IF blocks open when the line was read
  };

  int Start(const ScriptRunArgs& args);
  int Loop();
  int End(int result);
  void OpenReports();
  void Pause(double seconds);

  // ---- lines ----
  bool NextLine();
  bool ReadPhysical(std::string& line);
  bool SaveCurrent();
  void Trace(int code);

  // ---- statements ----
  Flow Execute(std::string_view line, bool fromThen);
  int Recognise(std::string_view line, std::size_t& cursor) const;
  Flow Statement(int code, std::string_view line, std::size_t cursor);
  Flow Assignment(std::string_view line, std::size_t equals);
  Flow Line(bool circle);
  Flow Text();
  Flow Measure();
  Flow Part();
  Flow Limits();
  Flow Paper();
  Flow Scale();
  Flow Print();
  Flow Wait();
  Flow AskInput(int code);
  Flow AskSelect();
  Flow Update();
  Flow Fill();
  Flow AskFile();
  Flow ContinueFile();
  Flow DataChosen(int index);
  bool OpenDataLevel(const std::string& file);
  void CloseDataLevels();
  void RewriteDataLevels();
  Flow Continue();
  Flow If(std::string_view rest);
  Flow Else(std::string_view rest);
  Flow EndIf();
  Flow Do();
  Flow LoopBack(std::string_view rest);
  Flow For(std::string_view rest);
  Flow Next(std::string_view rest);
  Flow BreakOut(bool resume);
  Flow GoTo(std::string_view rest);
  bool SkipLine(int code, std::string_view line, bool reopen);
  bool BlockIf(std::string_view line) const;
  static bool BlockElse(std::string_view line);

  // ---- helpers ----
  Point Mapped(double x, double y) const;
  int Layer() const;
  bool Adopt(LineElement* line);
  bool Adopt(TextElement* text);
  bool TopTaken() const;
  bool EnclosingTaken() const;
  Flow Abort();
  void SaveCommandState();
  void RestoreCommandState();

  Control& control_;
  std::ostream& console_;
  std::ofstream& log_;
  ScriptValues values_;
  ScriptRunArgs args_;
  Transform transform_;
  FilePtr file_;
  std::FILE* errors_ = nullptr;
  std::FILE* printings_ = nullptr;

  bool running_ = false;
  bool heldBefore_ = false; // whether steps were held before the run began
  Resume resume_ = Resume::kNone;
  double pauseUntil_ = 0.0;
  int result_ = 1;
  int countdown_ = kStatementCountdown;
  long long executed_ = 0;

  std::string line_; // the current line, after its label
  int row_ = 0;
  bool replayed_ = false;
  std::size_t current_ = 0; // index of the current line among the saved ones, when saved
  bool currentSaved_ = false;
  std::vector<SavedLine> saved_;
  std::size_t nextSaved_ = 0;
  bool saving_ = false;
  bool fileEnded_ = false;
  int rowsRead_ = 0;

  std::vector<bool> ifStack_;
  int doDepth_ = 0;
  int skipTarget_ = 0; // the code skipped up to; negative: executed when reached
  int skipNesting_ = 0;
  bool reopenable_ = false; // the line before was IF ... THEN statement
  bool reopenTruth_ = false;

  // The question open while the run waits.
  Input input_ = Input::kNone;
  std::string inputName_;
  std::string inputPrompt_;
  std::string inputBuffer_;
  double inputNumber_ = 0.0;
  std::vector<std::string> selectItems_;
  AskYesNo yesNo_;
  // The command state of the program as the run found it: its questions and PRINT lines use
  // the prompt of the function that started it, and the step of that function waits on.
  struct LevelPromptCopy {
    std::array<std::string, 2> prompt;
    std::array<std::string, 2> title;
    PromptPlace place;
  };
  SavedPromptState savedFlags_;
  InputRecord savedInput_;
  std::array<LevelPromptCopy, kLevelCount> savedPrompts_;

  // INPUT_FILE: the data files of the cascade, the first level first, each in its window.
  struct DataLevel {
    std::vector<std::string> lines; // the heading first
    int row = 0;
    int column = 0;
    int rows = 0;
    int width = 0;
    int chosen = 1;
  };
  std::vector<DataLevel> dataLevels_;
  int dataWidth_ = 0; // the widest and highest window the script allows; 0: any
  int dataHeight_ = 0;
  // UPDATE: the text being filled from the variables.
  TextElement* updating_ = nullptr;
  TextSubstitution fill_;
  std::string filled_;
};

} // namespace lumora
