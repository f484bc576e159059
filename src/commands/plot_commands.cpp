#include "commands/plot_commands.h"

#include "commands/quit.h"
#include "element_geometry/element_geometry.h"
#include "files/file_environment.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "model/store_messages.h"
#include "plot/plot_file.h"
#include "plot/plotter.h"
#include "plot/scale_change.h"
#include "properties/property_names.h"
#include "protocol/window_services.h"
#include "screen/messages.h"
#include "screen/text_screen.h"
#include "setup/setup.h"
#include "sound/my_beep.h"
#include "ui/ask_number.h"
#include "ui/select_str.h"
#include "util/quoted.h"
#include "view/view.h"
#include "view/view_cursor.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <new>
#include <system_error>

namespace lumora {
namespace {

constexpr int kQuestionRow = 1;
constexpr int kQuestionColumn = 2;
constexpr int kListRow = 3;
constexpr int kListColumn = 2;
constexpr double kSmallest = 0.001; // the smallest scale or paper side, and the list's tolerance
constexpr double kWholeMillimetre = 1.0;
constexpr double kTenthMillimetre = 0.1;

// A filling never shown yet has no hatch: the plot makes it as the screen would.
class GeometryHatches final : public HatchSource {
public:
  explicit GeometryHatches(Control& control) : control_(control) {}
  void MakeHatch(FillingElement& filling) override {
    control_.geometry.settings.arcAccuracy = control_.setup.arcAccuracy;
    control_.geometry.BuildHatch(filling);
  }

private:
  Control& control_;
};

bool EmptyBox(const Box& box) {
  return !(box.xmin + kSmallest < box.xmax) || !(box.ymin + kSmallest < box.ymax);
}

bool Same(double a, double b) {
  return std::abs(a - b) < kSmallest;
}

constexpr TextPair kPrintedNote{"Printed "_l1, "Tulostettu "_l1};
constexpr TextPair kScaleNote{"Scale 1:"_l1, "Mittakaava 1:"_l1};
constexpr TextPair kPlotAreaNote{"Plotting area "_l1, "Tulostus alue "_l1};

// The page's path as the user knows it: within the program directory, from there on.
std::string HomeRelative(const std::string& home, const std::string& path) {
  const std::string inside = home.empty() || home.ends_with('/') ? home : home + "/";
  return !inside.empty() && path.starts_with(inside) ? path.substr(inside.size()) : path;
}

void NoteScale(Control& control) {
  ShowNote(control.screen, kScaleNote, NumberText(control.drawing.scale, kSmallest));
}

int Longest(const std::vector<std::string>& names) {
  std::size_t longest = 0;
  for (const std::string& name : names) longest = std::max(longest, name.size());
  return static_cast<int>(longest);
}

} // namespace

// ---- Print ----

int Print::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  Ask(control);
  Message(control, kSoundNotice, kPrinting);
  return kStillRunning;
}

int Print::Continue(Control& control, const CommandRow& row) {
  const int answer = Ask(control);
  if (answer == kStillRunning) return kStillRunning;
  if (answer == kAnswerYes) PlotToPage(control);
  EndFunction(control, row.level);
  return kFinished;
}

int Print::Ask(Control& control) {
  return question_.Ask(control, kQuestionRow, kQuestionColumn, 0, kPrintingTitle, kAreYouSure,
                       kAnswerYes);
}

bool PlotToPage(Control& control) {
  const std::string path = PlotFilePath(control.home, control.drawing);
  // A program directory without PLOTS/ gets one: the page has nowhere else to go.
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  const std::unique_ptr<PageDevice> device = control.pages.Open(path, control.files);
  if (device == nullptr) {
    Message(control, kSoundError, kNoPlotter);
    return false;
  }
  const Setup& setup = control.setup;
  const MeasureStyle measure{setup.measureLineWidth, setup.measureLineColour, setup.measureGap};
  GeometryHatches hatches(control);
  PlotJob job{control.drawing, control.view.viewBox, control.fonts,    measure,
              *device,         control.messages,     control.language, &hatches};
  try {
    if (PlotDrawing(job) == 0) return false;
  } catch (const std::bad_alloc&) {
    // The page was abandoned; the drawing is as it was.
    Message(control, kSoundError, store_messages::kMemoryOverflow);
    return false;
  }
  ShowNote(control.screen, kPrintedNote, Quoted(HomeRelative(control.home, path)));
  return true;
}

// ---- What Scale and Plotting area share ----

int SheetCommand::OpenList(Control& control, const CommandRow& row, std::vector<std::string> names,
                           int initial) {
  names_ = std::move(names);
  initial_ = initial;
  if (names_.empty()) return StartTyping(control, row);
  step_ = Step::kList;
  return Continue(control, row);
}

int SheetCommand::Continue(Control& control, const CommandRow& row) {
  switch (step_) {
  case Step::kList: {
    const SelectArgs args{
        kListRow, kListColumn, ListHeight(control.screen), Longest(names_), initial_, true, false};
    const int answer = SelectStr(control, control.prompts, args, names_);
    if (answer == kStillRunning) return kStillRunning;
    const int last = static_cast<int>(names_.size()) - 1;
    if (answer < 0 || answer > last) return End(control, row);
    return answer == last ? StartTyping(control, row) : Listed(control, row, answer);
  }
  case Step::kTyping:
    return Typing(control, row);
  case Step::kPlacing:
    return Place(control, row);
  case Step::kQuestion:
    return Question(control, row);
  }
  return End(control, row);
}

int SheetCommand::Question(Control& control, const CommandRow& row) {
  return End(control, row);
}

int SheetCommand::Place(Control& control, const CommandRow& row) {
  step_ = Step::kPlacing;
  const int answer = paper_.Step(control, sheet_, PlaceTitle());
  if (answer == kStillRunning) return kStillRunning;
  return answer == kPaperPlaced ? Placed(control, row) : End(control, row);
}

void SheetCommand::TakeSheet(Control& control) {
  control.store.KeepHeader();
  Drawing& d = control.drawing;
  d.limits = sheet_;
  control.view.viewBox = d.limits;
  control.view.previousViewBox = d.limits;
  PlotterState& plotter = control.plotter;
  PlotterSetUp(plotter, d, plotter.paperWidth, plotter.paperHeight, control.messages);
  control.store.RecomputeZones();
  control.window.Repaint();
}

int SheetCommand::End(Control& control, const CommandRow& row) {
  const Box& limits = control.drawing.limits;
  InputRecord& in = control.In();
  if (!InsideSheet(control.drawing, in.cursor)) in.cursor = {limits.xmin, limits.ymin};
  EndFunction(control, row.level);
  return kFinished;
}

// ---- Scale ----

int ScaleCommand::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  const double scale = control.drawing.scale;
  SetPrompt(control,
            {"Old scale is 1:" + NumberText(scale, kSmallest) + ": ",
             "Vanha mittakaava on 1:" + NumberText(scale, kSmallest) + ": "},
            kSelectScale);
  std::vector<std::string> names;
  int initial = 0;
  const auto& rows = control.setup.scales.rows;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    names.push_back(rows[i].text);
    if (i + 1 < rows.size() && Same(rows[i].value, scale) && initial == 0) {
      initial = static_cast<int>(i);
    }
  }
  return OpenList(control, row, std::move(names), initial);
}

int ScaleCommand::Listed(Control& control, const CommandRow& row, int index) {
  const double scale = control.setup.scales.rows[static_cast<std::size_t>(index)].value;
  if (!(scale >= kSmallest)) return StartTyping(control, row);
  return Take(control, row, scale);
}

int ScaleCommand::StartTyping(Control& control, const CommandRow& row) {
  step_ = Step::kTyping;
  return Typing(control, row);
}

int ScaleCommand::Typing(Control& control, const CommandRow& row) {
  const AskNumberArgs args{1, 2, 0, kChangingScale, kWriteScale, kSmallest};
  const int answer = AskNumber(control, control.prompts, args, typed_, control.drawing.scale);
  if (answer == kStillRunning) return kStillRunning;
  if (answer != kEntryAccepted) return End(control, row);
  if (!(typed_ >= kSmallest)) {
    Message(control, kSoundError, kShouldBeMoreThanZero);
    return Typing(control, row);
  }
  if (Same(typed_, control.drawing.scale)) return End(control, row);
  return Take(control, row, typed_);
}

int ScaleCommand::Take(Control& control, const CommandRow& row, double scale) {
  Drawing& d = control.drawing;
  newScale_ = scale;
  if (EmptyBox(d.limits)) {
    control.store.KeepHeader();
    control.store.NameStep(StepKind::kScale);
    d.scale = scale;
    ++d.changes;
    NoteScale(control);
    return End(control, row);
  }
  sheet_ = SheetAtScale(d.limits, d.scale, scale);
  // Without lines or texts there is nothing to keep in place or in proportion.
  if (d.lines == nullptr && d.texts == nullptr) {
    Apply(control, false);
    return End(control, row);
  }
  return Place(control, row);
}

int ScaleCommand::Placed(Control& control, const CommandRow& row) {
  step_ = Step::kQuestion;
  const int answer = Question(control, row);
  if (answer == kStillRunning) Message(control, kSoundNotice, kProportionalChange);
  return answer;
}

int ScaleCommand::Question(Control& control, const CommandRow& row) {
  const int answer = question_.Ask(control, kQuestionRow, kQuestionColumn, 0, kChangingScale,
                                   kKeptProportionally, kAnswerYes);
  if (answer == kStillRunning) return kStillRunning;
  if (answer == kAnswerYes || answer == kAnswerNo) Apply(control, answer == kAnswerYes);
  return End(control, row);
}

void ScaleCommand::Apply(Control& control, bool proportional) {
  ElementStore& store = control.store;
  store.KeepHeader();
  if (proportional) {
    for (LineElement* l : Each(control.drawing.lines)) store.Keep(*l);
    for (FillingElement* f : Each(control.drawing.fillings)) store.Keep(*f);
    for (TextElement* t : Each(control.drawing.texts)) store.Keep(*t);
  }
  ApplyScaleChange(control.drawing, newScale_, sheet_, proportional);
  TakeSheet(control);
  store.NameStep(StepKind::kScale);
  NoteScale(control);
}

// ---- Plotting area ----

int PlotAreaCommand::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  const Drawing& d = control.drawing;
  width_ = (d.limits.xmax - d.limits.xmin) / d.scale;
  height_ = (d.limits.ymax - d.limits.ymin) / d.scale;
  const std::string size = NumberText(width_, kWholeMillimetre) + "x" +
                           NumberText(height_, kWholeMillimetre) + " (" +
                           NumberText(width_ * d.scale, kTenthMillimetre) + "x" +
                           NumberText(height_ * d.scale, kTenthMillimetre) + "): ";
  const std::string en = "Old size of plotting area is " + size;
  const std::string fi = "Vanha tulostus alueen koko on " + size;
  SetPrompt(control, {en, fi}, kSelectArea);
  std::vector<std::string> names;
  int initial = 0;
  const auto& rows = control.setup.plottingAreas.rows;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    names.push_back(rows[i].text);
    if (i + 1 < rows.size() && Same(rows[i].width, width_) && Same(rows[i].height, height_) &&
        initial == 0) {
      initial = static_cast<int>(i);
    }
  }
  return OpenList(control, row, std::move(names), initial);
}

int PlotAreaCommand::Listed(Control& control, const CommandRow& row, int index) {
  const AreaRow& area = control.setup.plottingAreas.rows[static_cast<std::size_t>(index)];
  return Take(control, row, area.width, area.height);
}

int PlotAreaCommand::StartTyping(Control& control, const CommandRow& row) {
  step_ = Step::kTyping;
  return Typing(control, row);
}

int PlotAreaCommand::Typing(Control& control, const CommandRow& row) {
  const AskNumberArgs args{1, 2, 0, kChangingArea, kWriteArea, kSmallest};
  const int answer =
      AskTwoNumbers(control, control.prompts, args, typedWidth_, typedHeight_, width_, height_);
  if (answer == kStillRunning) return kStillRunning;
  if (answer != kEntryAccepted) return End(control, row);
  return Take(control, row, typedWidth_, typedHeight_);
}

int PlotAreaCommand::Take(Control& control, const CommandRow& row, double width, double height) {
  if (!(width >= kSmallest) || !(height >= kSmallest)) {
    Message(control, kSoundSmallError, kShouldBeMoreThanZero);
    return End(control, row);
  }
  const double scale = control.drawing.scale;
  sheet_ = {0.0, 0.0, width * scale, height * scale};
  return Place(control, row);
}

int PlotAreaCommand::Placed(Control& control, const CommandRow& row) {
  if (!EmptyBox(sheet_)) {
    Drawing& d = control.drawing;
    ++d.changes;
    control.geometry.settings.areaTolerance = kAreaToleranceShare * (sheet_.xmax - sheet_.xmin);
    TakeSheet(control);
    control.store.NameStep(StepKind::kPlotArea);
    const std::string size = NumberText((sheet_.xmax - sheet_.xmin) / d.scale, kWholeMillimetre) +
                             "x" +
                             NumberText((sheet_.ymax - sheet_.ymin) / d.scale, kWholeMillimetre);
    ShowNote(control.screen, kPlotAreaNote, size);
  }
  return End(control, row);
}

} // namespace lumora
