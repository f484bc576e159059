// The statements of scripts that make elements, change the sheet and ask the user.
#include "commands/measure_commands.h"
#include "element_geometry/element_geometry.h"
#include "files/drawing_reader.h"
#include "files/file_environment.h"
#include "model/element_store.h"
#include "plot/scale_change.h"
#include "script/script_run.h"
#include "setup/setup.h"
#include "sound/my_beep.h"
#include "text/text_layout.h"
#include "ui/ask_number.h"
#include "ui/ask_str.h"
#include "ui/ask_text.h"
#include "ui/select_str.h"
#include "util/codes.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr std::string_view kLineFailed = "Line could't be added!";
constexpr std::string_view kCircleFailed = "Circle could't be added!";
constexpr std::string_view kNoTextToAdd = "No text to be added!";
constexpr std::string_view kNoTextLocation = "Location for text not found!";
constexpr std::string_view kTextFailed = "Text could't be added!";
constexpr std::string_view kMeasurePoints = "Not enough points for measure!";
constexpr std::string_view kMeasureFailed = "Measure could't be added!";
constexpr std::string_view kNoPartName = "No name for part found!";
constexpr std::string_view kNoPartLocation = "Not location for part found!";
constexpr std::string_view kPartFailed = "Part could't be added!";
constexpr std::string_view kLimitsInPart = "Limits of area cannot be changed when adding part!";
constexpr std::string_view kPaperInPart = "Size of paper cannot be changed when adding part!";
constexpr std::string_view kScaleInPart = "Scale cannot be changed when adding part!";
constexpr std::string_view kNoLimits = "No limits found!";
constexpr std::string_view kMustBeString = "Variable has to be string type!";
constexpr std::string_view kNotString = "Variable can not be string type!";

constexpr int kLinePointsMax = 199;
constexpr std::size_t kRequiredPoints = 2; // the ends of a line, the centre and a point of a circle
constexpr std::size_t kPromptMax = 99;
constexpr std::size_t kSelectItems = 40;
constexpr std::size_t kSelectItemMax = 39;
constexpr double kScaleMin = 0.001;
constexpr std::uint32_t kLinearMeasure = 1;
constexpr std::uint32_t kPlacedPartType = 1;
constexpr int kInputYesNoCode = 14;
constexpr int kInputTextCode = 29;
constexpr int kHeightMax = 511;
constexpr int kSelectRow = 3;
constexpr int kSelectColumn = 2;

// A selection of the setup by its number, the first for any number out of range.
template <typename Row> const Row* Selected(const std::vector<Row>& rows, double n) {
  if (rows.empty()) return nullptr;
  const int index = RoundToInt(n);
  return index >= 1 && static_cast<std::size_t>(index) <= rows.size()
             ? &rows[static_cast<std::size_t>(index) - 1]
             : &rows.front();
}

std::string Cut(std::string_view text, std::size_t size) {
  return std::string(text.substr(0, size));
}

} // namespace

Point ScriptRun::Mapped(double x, double y) const {
  ApplyTransform(transform_, x, y);
  return {x, y};
}

int ScriptRun::Layer() const {
  const int layer = static_cast<int>(control_.properties.line.layer());
  return layer == 0 ? 1 : layer;
}

bool ScriptRun::Adopt(LineElement* line) {
  if (line == nullptr) return false;
  if (args_.group != nullptr) control_.store.AddMember(args_.group, line);
  if (args_.draw) control_.store.painter().Draw(*line, DrawMode::kNormal);
  return true;
}

bool ScriptRun::Adopt(TextElement* text) {
  if (text == nullptr) return false;
  if (args_.group != nullptr) control_.store.AddMember(args_.group, text);
  if (args_.draw) control_.store.painter().Draw(*text, DrawMode::kNormal);
  return true;
}

ScriptRun::Flow ScriptRun::Line(bool circle) {
  const double n = values_.Number();
  PropertySet set;
  if (const LinePreset* row = Selected(control_.setup.lineSelections.rows, n)) {
    set.SetWidth(static_cast<std::uint32_t>(row->width));
    set.SetColour(static_cast<std::uint32_t>(row->colour));
    set.SetStyle(static_cast<std::uint32_t>(row->style));
    set.SetSection(static_cast<std::uint32_t>(row->section));
  }
  set.SetLayer(static_cast<std::uint32_t>(Layer()));
  std::vector<Point> points;
  while (!values_.AtEnd() && points.size() < static_cast<std::size_t>(kLinePointsMax)) {
    // The points run to the end of the line. A name not known in the first two, which every
    // line and circle needs, is reported; a missing item only means fewer points.
    values_.reporting = points.size() < kRequiredPoints;
    double x = 0.0;
    double y = 0.0;
    if (!values_.OptionalNumber(x) || !values_.OptionalNumber(y)) break;
    points.push_back(Mapped(x, y));
    if (circle && points.size() == 3) break;
  }
  values_.reporting = true;
  if (points.size() < kRequiredPoints) return Flow::kNext;
  if (circle) {
    if (points.size() == 3) {
      // The direction point moves onto the circle through the start.
      const Point& c = points[0];
      const double r = std::hypot(points[1].x - c.x, points[1].y - c.y);
      const double d = std::hypot(points[2].x - c.x, points[2].y - c.y);
      if (d > 0.0)
        points[2] = {c.x + (points[2].x - c.x) * r / d, c.y + (points[2].y - c.y) * r / d};
    }
    set.SetShape(points.size() == 3 ? kShapeArc : kShapeCircle);
  } else {
    set.SetShape(kShapeOpen);
  }
  if (!Adopt(control_.store.AddLine(set, points.data(), static_cast<int>(points.size()))))
    Report(circle ? kCircleFailed : kLineFailed);
  return Flow::kNext;
}

namespace {

PropertySet TextSet(const TextPreset* row, int layer, double sy) {
  PropertySet set;
  if (row != nullptr) {
    set.SetWidth(static_cast<std::uint32_t>(row->width));
    set.SetColour(static_cast<std::uint32_t>(row->colour));
    set.SetPositioning(static_cast<std::uint32_t>(row->positioning));
    set.SetFont(static_cast<std::uint32_t>(row->font));
    const double height = std::abs(row->height * sy);
    set.SetHeight(static_cast<std::uint32_t>(std::clamp(RoundToInt(height), 1, kHeightMax)));
    set.SetWidthRatio(static_cast<std::uint32_t>(row->widthRatio));
    set.SetSlant(static_cast<std::uint32_t>(row->slant));
    set.angle = row->angle;
  }
  set.SetLayer(static_cast<std::uint32_t>(layer));
  return set;
}

} // namespace

ScriptRun::Flow ScriptRun::Text() {
  const double n = values_.Number();
  std::string text;
  if (!values_.String(text, kScriptTextMax)) {
    Report(kNoTextToAdd);
    return Flow::kNext;
  }
  const double x = values_.Number();
  const double y = values_.Number();
  if (!values_.Cursor()) {
    Report(kNoTextLocation);
    return Flow::kNext;
  }
  PropertySet set = TextSet(Selected(control_.setup.textSelections.rows, n),
                            static_cast<int>(Layer()), args_.placement.sy);
  double angle = 0.0;
  if (values_.OptionalNumber(angle)) set.angle = angle;
  set.angle += args_.placement.angle;
  const Point at = Mapped(x, y);
  if (!Adopt(control_.store.AddText(set, &at, 1, text))) Report(kTextFailed);
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::Measure() {
  const double n = values_.Number();
  std::array<double, 6> v{};
  for (double& value : v) value = values_.Number();
  if (!values_.Cursor()) {
    Report(kMeasurePoints);
    return Flow::kNext;
  }
  const Point start{v[2], v[3]};
  const Point end{v[4], v[5]};
  double angle = std::abs(end.x - start.x) > std::abs(end.y - start.y) ? 0.0 : 90.0;
  values_.OptionalNumber(angle);
  std::string text;
  const bool reporting = values_.reporting;
  values_.reporting = false;
  if (!values_.String(text, kScriptTextMax)) text = MeasureValue(start, end, angle);
  values_.reporting = reporting;
  PropertySet set = TextSet(Selected(control_.setup.measureSelections.rows, n),
                            static_cast<int>(Layer()), args_.placement.sy);
  set.angle = angle + args_.placement.angle;
  set.SetMitta(kLinearMeasure);
  const std::array<Point, 3> points{Mapped(v[0], v[1]), Mapped(start.x, start.y),
                                    Mapped(end.x, end.y)};
  if (!Adopt(control_.store.AddText(set, points.data(), 3, text))) Report(kMeasureFailed);
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::Part() {
  std::string name;
  if (!values_.String(name, kScriptTextMax)) {
    Report(kNoPartName);
    return Flow::kNext;
  }
  const double x = values_.Number();
  const double y = values_.Number();
  if (!values_.Cursor()) {
    Report(kNoPartLocation);
    return Flow::kNext;
  }
  double angle = 0.0;
  values_.OptionalNumber(angle);
  const Point at = Mapped(x, y);
  const Placement& run = args_.placement;
  const Placement placement{at.x, at.y, run.sx, run.sy, run.angle + angle};
  ElementStore& store = control_.store;
  PartElement* part = store.AddPart(name, kPlacedPartType, static_cast<std::uint32_t>(Layer()));
  if (part == nullptr) {
    Report(kPartFailed);
    return Flow::kNext;
  }
  part->location = at;
  const std::string path = control_.home + "/PARTS/" + name + ".part";
  const int read =
      ReadDrawingFile(store, control_.files, control_.fileState, path, part, placement, args_.draw);
  if (read != 1) {
    store.DeletePart(part, true);
    Report(kPartFailed);
    return Flow::kNext;
  }
  if (args_.group != nullptr) store.AddMember(args_.group, part);
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::Limits() {
  if (args_.group != nullptr) {
    Report(kLimitsInPart);
    return Flow::kNext;
  }
  std::array<double, 4> v{};
  for (double& value : v) value = values_.Number();
  if (!values_.Cursor()) {
    Report(kNoLimits);
    return Abort();
  }
  Box box{std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]), std::max(v[1], v[3])};
  if (!(box.xmax > box.xmin && box.ymax > box.ymin)) return Flow::kNext;
  Drawing& drawing = control_.drawing;
  control_.files.ResetOrigins();
  TransformBox(box, transform_);
  drawing.limits = box;
  control_.store.ClearDrawing();
  drawing.unitsChosen = 1;
  control_.files.SetUpPlotter(drawing);
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::Paper() {
  if (args_.group != nullptr) {
    Report(kPaperInPart);
    return Flow::kNext;
  }
  const double n = values_.Number();
  const double scale = values_.Number();
  const double x = values_.Number();
  const double y = values_.Number();
  const std::vector<AreaRow>& areas = control_.setup.plottingAreas.rows;
  const int index = RoundToInt(n);
  if (!values_.Cursor() || index < 1 || static_cast<std::size_t>(index) >= areas.size())
    return Flow::kNext;
  Drawing& drawing = control_.drawing;
  if (scale >= kScaleMin) drawing.scale = scale;
  const AreaRow& area = areas[static_cast<std::size_t>(index) - 1];
  Box box{0.0, 0.0, (area.width - x) * drawing.scale, (area.height - y) * drawing.scale};
  if (!(box.xmax > box.xmin && box.ymax > box.ymin)) return Flow::kNext;
  control_.files.ResetOrigins();
  TransformBox(box, transform_);
  drawing.limits = box;
  control_.store.ClearDrawing();
  control_.files.SetUpPlotter(drawing);
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::Scale() {
  if (args_.group != nullptr) {
    Report(kScaleInPart);
    return Flow::kNext;
  }
  double scale = values_.Number();
  if (!(scale >= kScaleMin) || !std::isfinite(scale)) scale = 1.0;
  Drawing& drawing = control_.drawing;
  control_.store.KeepHeader();
  ApplyScaleChange(drawing, scale, SheetAtScale(drawing.limits, drawing.scale, scale), false);
  control_.files.SetUpPlotter(drawing);
  return Flow::kNext;
}

// ---- questions ----

ScriptRun::Flow ScriptRun::AskInput(int code) {
  std::string prompt;
  if (!values_.String(prompt, kPromptMax)) return Flow::kNext;
  std::string item;
  if (!values_.TakeItem(item) || !values_.VariableName(item, inputName_)) return Flow::kNext;
  const bool text = ScriptValues::IsStringName(inputName_);
  if (code == kInputTextCode && !text) {
    Report(kMustBeString);
    return Flow::kNext;
  }
  if (code == kInputYesNoCode && text) {
    Report(kNotString);
    return Flow::kNext;
  }
  const Variable* now = values_.Find(inputName_);
  inputPrompt_ = prompt + " ";
  inputBuffer_ = now != nullptr ? Cut(now->text, kScriptTextMax) : std::string();
  inputNumber_ = now != nullptr ? now->number : 0.0;
  if (code == kInputYesNoCode) {
    input_ = Input::kYesNo;
    if (inputNumber_ != 0.0) inputNumber_ = 1.0;
  } else if (code == kInputTextCode) {
    input_ = Input::kText;
  } else {
    input_ = text ? Input::kString : Input::kNumber;
  }
  Beep(control_, kSoundWaiting);
  return Continue();
}

ScriptRun::Flow ScriptRun::AskSelect() {
  std::string prompt;
  if (!values_.String(prompt, kPromptMax)) return Flow::kNext;
  std::string item;
  if (!values_.TakeItem(item) || !values_.VariableName(item, inputName_)) return Flow::kNext;
  if (ScriptValues::IsStringName(inputName_)) {
    Report(kNotString);
    return Flow::kNext;
  }
  selectItems_.clear();
  std::string entry;
  values_.reporting = false;
  while (!values_.AtEnd() && selectItems_.size() < kSelectItems && values_.String(entry))
    selectItems_.push_back(Cut(entry, kSelectItemMax));
  values_.reporting = true;
  if (selectItems_.empty()) return Flow::kNext;
  inputPrompt_ = prompt;
  const Variable* now = values_.Find(inputName_);
  inputNumber_ = now != nullptr ? now->number : 1.0;
  input_ = Input::kSelect;
  Beep(control_, kSoundWaiting);
  return Continue();
}

// The texts' #name# references take the script's variables; names not known are asked.
ScriptRun::Flow ScriptRun::Update() {
  updating_ = control_.drawing.texts;
  fill_ = TextSubstitution{};
  input_ = Input::kUpdate;
  return Continue();
}

ScriptRun::Flow ScriptRun::Fill() {
  while (updating_ != nullptr) {
    const int result = fill_.Step(control_, TextOf(*updating_), filled_, values_.Table());
    if (result == kStillRunning) return Flow::kWait;
    if (result == kTextChanged) Geometry(control_).ReplaceTextString(*updating_, filled_);
    fill_ = TextSubstitution{};
    updating_ = updating_->next;
  }
  input_ = Input::kNone;
  return Flow::kNext;
}

// One step of the open question; kWait until it is answered.
ScriptRun::Flow ScriptRun::Continue() {
  const TextPair prompt{inputPrompt_, inputPrompt_};
  int answer = kStillRunning;
  bool accepted = false;
  switch (input_) {
  case Input::kString: {
    AskStrArgs args;
    args.prompt = prompt;
    args.size = kScriptTextMax + 1;
    args.initial = inputBuffer_;
    answer = AskStr(control_, control_.prompts, args, inputBuffer_);
    accepted = answer == kEntryAccepted;
    if (accepted) values_.SetText(inputName_, inputBuffer_);
    break;
  }
  case Input::kText: {
    AskTextArgs args;
    args.prompt = prompt;
    args.size = kScriptTextMax + 1;
    answer = AskText(control_, control_.prompts, args, inputBuffer_);
    accepted = answer == kEntryAccepted || answer == kTextAcceptedEmpty;
    if (accepted) values_.SetText(inputName_, inputBuffer_);
    break;
  }
  case Input::kNumber: {
    AskNumberArgs args;
    args.prompt = prompt;
    double value = inputNumber_;
    answer = AskNumber(control_, control_.prompts, args, value, inputNumber_);
    accepted = answer == kEntryAccepted;
    if (accepted) values_.SetNumber(inputName_, value);
    break;
  }
  case Input::kYesNo: {
    answer = yesNo_.Ask(control_, 1, 2, 0, TextPair{}, prompt,
                        inputNumber_ != 0.0 ? kAnswerYes : kAnswerNo);
    accepted = answer == kAnswerYes || answer == kAnswerNo;
    if (accepted) values_.SetNumber(inputName_, answer == kAnswerYes ? 1.0 : 0.0);
    break;
  }
  case Input::kSelect: {
    SetPrompt(control_, TextPair{}, prompt);
    std::size_t longest = 1;
    for (const std::string& s : selectItems_) longest = std::max(longest, s.size());
    SelectArgs args;
    args.row = kSelectRow;
    args.column = kSelectColumn;
    args.rows = static_cast<int>(selectItems_.size());
    args.width = static_cast<int>(longest);
    args.initial =
        std::clamp(RoundToInt(inputNumber_) - 1, 0, static_cast<int>(selectItems_.size()) - 1);
    args.ownWindow = true;
    answer = SelectStr(control_, control_.prompts, args, selectItems_);
    accepted = answer >= 0 && answer != kStillRunning;
    if (accepted) values_.SetNumber(inputName_, answer + 1);
    break;
  }
  case Input::kUpdate:
    return Fill();
  case Input::kFile:
    return ContinueFile();
  case Input::kNone:
    return Flow::kNext;
  }
  if (answer == kStillRunning) return Flow::kWait;
  input_ = Input::kNone;
  if (accepted) return Flow::kNext;
  result_ = 0; // Esc at a question cancels the run
  return Flow::kEnd;
}

} // namespace lumora
