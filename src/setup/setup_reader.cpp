#include "setup/setup_reader.h"

#include "setup/setup_rows.h"
#include "text/font.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

// Row limits and text field lengths of the lists.
constexpr std::size_t kTenRows = 10;
constexpr std::size_t kEightRows = 8;
constexpr std::size_t kStyleRows = 6;
constexpr std::size_t kFontRows = 4;
constexpr std::size_t kShortField = 10;
constexpr std::size_t kMediumField = 20;
constexpr std::size_t kLayerField = 30;
constexpr std::size_t kNameField = 40;

// Field widths of the element records that presets are masked to.
constexpr int kLayerMask = 0x7F;
constexpr int kFourBits = 0xF;
constexpr int kFontMask = 0x3;
constexpr int kHeightMask = 0x1FF;
constexpr int kRatioMask = 0x7;
constexpr int kSlantMask = 0x3;

constexpr double kTenths = 10;        // millimetres to tenths
constexpr double kRatioBase = 0.4;    // width/height proportion of code 0
constexpr double kSlantSteps = 5;     // slant proportion to code (steps of 0.2)
constexpr double kTakenAbove = 0.001; // accuracy and saving values count above this
constexpr int kClockBaseHour = 8;     // the hour that means no clock correction
constexpr int kSecondsPerMinute = 60;

int MaskedCode(double millimetres, int mask) {
  return CodeOf(millimetres * kTenths) & mask;
}
int RatioCode(double proportion) {
  return CodeOf((proportion - kRatioBase) * kTenths);
}
int SlantCode(double proportion) {
  return CodeOf(proportion * kSlantSteps);
}

// Layer, width, colour, style and section, as line and filling presets both begin.
void ReadLineAttributes(LinePreset& row, NumberScanner& n) {
  row.layer = TruncToInt(n.Next()) & kLayerMask;
  row.width = MaskedCode(n.Next(), kFourBits);
  row.colour = TruncToInt(n.Next()) & kFourBits;
  row.style = TruncToInt(n.Next()) & kFourBits;
  row.section = TruncToInt(n.Next()) & kFourBits;
}

TextPreset ReadTextPreset(TextPreset row, NumberScanner& n) {
  row.layer = TruncToInt(n.Next()) & kLayerMask;
  row.width = MaskedCode(n.Next(), kFourBits);
  row.colour = TruncToInt(n.Next()) & kFourBits;
  row.positioning = TruncToInt(n.Next()) & kFourBits;
  row.positioning2 = TruncToInt(n.Next()) & kFourBits;
  row.font = TruncToInt(n.Next()) & kFontMask;
  row.height = MaskedCode(n.Next(), kHeightMask);
  row.widthRatio = RatioCode(n.Next()) & kRatioMask;
  row.slant = SlantCode(n.Next()) & kSlantMask;
  row.angle = n.Next();
  return row;
}

} // namespace

std::string SetupPath(std::string_view home, std::string_view name) {
  std::string path(home);
  path += "/SETUP/";
  path += name;
  path += ".txt";
  return path;
}

void SetupReader::ParseSetupLine(std::string_view line, SetupSection& section) {
  if (line.empty() || line[0] == '*' || IsBlankLine(line)) return;
  if (line[0] == '#') {
    section = FindSetupSection(line);
    if (section == kNoSection) {
      std::string text = "Keyword \"^";
      text += line;
      text += "^\" was not recognized !";
      env_.sink.Show(MessageKind::kNotice, text);
      return;
    }
  }
  if (section != kNoSection) ParseData(line, section);
}

void SetupReader::ParseData(std::string_view line, SetupSection section) {
  if (ParseValueList(line, section) || ParseCodeList(line, section) || ParsePresets(line, section))
    return;
  if (section == kTextFont) {
    ParseFontRow(line);
    return;
  }
  ParseSingleValue(line, section);
}

bool SetupReader::ParseValueList(std::string_view line, SetupSection section) {
  Setup& s = setup_;
  const auto value = [](ValueRow& row, NumberScanner& n) { row.value = n.Next(); };
  switch (section) {
  case kScales:
    if (AddSetupRow(s.scales, kTenRows, kMediumField, line, value))
      s.scale = s.scales.rows.back().value;
    return true;
  case kPlottingAreas: {
    const auto area = [](AreaRow& row, NumberScanner& n) {
      row.width = n.Next();
      row.height = n.Next();
    };
    if (AddSetupRow(s.plottingAreas, kTenRows, kMediumField, line, area)) {
      const AreaRow& row = s.plottingAreas.rows.back();
      s.limits = {0, 0, row.width, row.height};
    }
    return true;
  }
  case kCursorGrids:
    if (AddSetupRow(s.cursorGrids, kEightRows, kShortField, line, value))
      s.step = s.cursorGrids.rows.back().value;
    return true;
  case kCursorAngles:
    AddSetupRow(s.cursorAngles, kEightRows, kShortField, line, value);
    return true;
  case kLayers:
    AddSetupRow(s.layers, kTenRows, kLayerField, line, [](NameRow&, NumberScanner&) {});
    return true;
  case kFillingDistances:
    AddSetupRow(s.fillingDistances, kEightRows, kShortField, line, value);
    return true;
  case kFillingAngles:
    AddSetupRow(s.fillingAngles, kEightRows, kMediumField, line, value);
    return true;
  case kTextAngles:
    AddSetupRow(s.textAngles, kEightRows, kShortField, line, value);
    return true;
  case kPartAngles:
    AddSetupRow(s.partAngles, kEightRows, kShortField, line, value);
    return true;
  default:
    return false;
  }
}

bool SetupReader::ParseCodeList(std::string_view line, SetupSection section) {
  Setup& s = setup_;
  const auto integer = [](CodeRow& row, NumberScanner& n) { row.value = TruncToInt(n.Next()); };
  const auto tenths = [](CodeRow& row, NumberScanner& n) {
    row.value = CodeOf(n.Next() * kTenths);
  };
  switch (section) {
  case kLineWidths:
    AddSetupRow(s.lineWidths, kEightRows, kShortField, line, tenths);
    return true;
  case kColours:
    AddSetupRow(s.colours, kTenRows, kMediumField, line, integer);
    return true;
  case kLineStyles:
    AddSetupRow(s.lineStyles, kStyleRows, kMediumField, line, integer);
    return true;
  case kLineStyleSections:
    AddSetupRow(s.lineStyleSections, kEightRows, kShortField, line, integer);
    return true;
  case kTextPositionings:
    AddSetupRow(s.textPositionings, kEightRows, kMediumField, line, integer);
    return true;
  case kTextHeights:
    AddSetupRow(s.textHeights, kEightRows, kShortField, line, tenths);
    return true;
  case kTextWidths:
    AddSetupRow(s.textWidths, kEightRows, kShortField, line,
                [](CodeRow& row, NumberScanner& n) { row.value = RatioCode(n.Next()); });
    return true;
  case kTextSlants:
    AddSetupRow(s.textSlants, kEightRows, kShortField, line,
                [](CodeRow& row, NumberScanner& n) { row.value = SlantCode(n.Next()); });
    return true;
  default:
    return false;
  }
}

bool SetupReader::ParsePresets(std::string_view line, SetupSection section) {
  Setup& s = setup_;
  switch (section) {
  case kLineSelections:
    AddSetupRow(s.lineSelections, kTenRows, kNameField, line,
                [](LinePreset& row, NumberScanner& n) { ReadLineAttributes(row, n); });
    return true;
  case kFillingSelections:
    AddSetupRow(s.fillingSelections, kTenRows, kNameField, line,
                [](FillingPreset& row, NumberScanner& n) {
                  ReadLineAttributes(row, n);
                  row.gap = n.Next();
                  row.angle = TruncToInt(n.Next());
                });
    return true;
  case kTextSelections:
  case kMeasureSelections:
    AddSetupRow(section == kTextSelections ? s.textSelections : s.measureSelections, kTenRows,
                kNameField, line,
                [](TextPreset& row, NumberScanner& n) { row = ReadTextPreset(row, n); });
    return true;
  default:
    return false;
  }
}

void SetupReader::ParseFontRow(std::string_view line) {
  const auto readFile = [line](FontRow& row, NumberScanner& n) {
    std::size_t pos = n.Position();
    ReadQuotedText(line, kMediumField, pos, row.file);
  };
  const std::size_t before = setup_.fonts.rows.size();
  AddSetupRow(setup_.fonts, kFontRows, kNameField, line, readFile);
  if (setup_.fonts.rows.size() == before || env_.fonts == nullptr) return;
  const FontRow& row = setup_.fonts.rows.back();
  LoadFont(*env_.fonts, FontLoad{env_.home, env_.language, env_.sink}, row.file, row.text);
}

void SetupReader::ParseSingleValue(std::string_view line, SetupSection section) {
  Setup& s = setup_;
  NumberScanner n(line);
  const double first = n.Next();
  const int firstInt = TruncToInt(first);
  const int second = TruncToInt(n.Next());
  switch (section) {
  case kAccurateSaving:
    s.version = first > kTakenAbove ? 3.0f : 2.0f;
    break;
  case kArcDrawingAccuracy:
    if (first > kTakenAbove) s.arcAccuracy = first;
    break;
  case kMeasureLines:
    // Not a record field: a measure line may be wider than 1.5 mm.
    s.measureLineWidth = std::max(0, CodeOf(first * kTenths));
    s.measureLineColour = second & kFourBits;
    break;
  case kMeasureGap:
    s.measureGap = first;
    break;
  case kPartStretch:
    s.partStretch = firstInt;
    break;
  case kTimeSetting: {
    s.timeSetting = {firstInt, second, TruncToInt(n.Next())};
    const long hours = static_cast<long>(s.timeSetting[0]) - kClockBaseHour;
    s.clockCorrection =
        (hours * kSecondsPerMinute + s.timeSetting[1]) * kSecondsPerMinute + s.timeSetting[2];
    break;
  }
  case kBasicWindowSize:
    s.windowWidth = firstInt;
    s.windowHeight = second;
    break;
  case kBasicWindowLocation:
    s.windowX = firstInt;
    s.windowY = second;
    break;
  case kWhiteBackground:
    s.whiteBackground = firstInt;
    break;
  case kTextWindowSize:
    s.textWindowLines = firstInt;
    s.textWindowColumns = second;
    break;
  case kWindowingFix:
    s.windowingFix = firstInt;
    break;
  case kNoWaitingSound:
    s.noWaitingSound = firstInt;
    break;
  case kSearchGrid:
    s.searchGrid = first;
    break;
  case kEnglish:
    s.english = firstInt;
    env_.language = firstInt != 0 ? Language::kEnglish : Language::kFinnish;
    break;
  case kNoDatingOfScreen:
    s.noDatingOfScreen = firstInt;
    break;
  case kMeasureSnap:
    s.measureSnap = firstInt;
    break;
  case kCloseDirHandle:
    s.closeDirHandle = firstInt;
    break;
  default:
    break;
  }
}

void ReadSetupText(std::string_view content, Setup& setup, SetupEnvironment& env) {
  SetupReader reader(setup, env);
  SetupSection section = kNoSection;
  env.language = setup.english != 0 ? Language::kEnglish : Language::kFinnish;
  for (const std::string& line : SplitLines(content)) reader.ParseSetupLine(line, section);
}

bool ReadSetup(std::string_view name, Setup& setup, SetupEnvironment& env) {
  const std::string path = SetupPath(env.home, name);
  env.sink.Show(MessageKind::kMessage, "Setup is done from file '" + path + "'.");
  std::string content;
  if (!ReadTextFile(path, content)) {
    env.sink.Show(MessageKind::kError, OpenFailureMessage(path, env.language));
    return false;
  }
  ReadSetupText(content, setup, env);
  return true;
}

} // namespace lumora
