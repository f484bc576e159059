#include "text/font.h"

#include "model/store_messages.h"
#include "text/line_reading.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace lumora {
namespace {

enum class FontKey { kNone, kHeight, kWidth, kLowerPortion, kCharSpace, kRowSpace, kCharacters };

struct FontKeyword {
  FontKey key;
  std::string_view word;
};

// Finnish keys are tried first.
constexpr std::array<FontKeyword, 12> kFontKeywords{{
    {FontKey::kHeight, "KORKEUS:"},
    {FontKey::kWidth, "LEVEYS:"},
    {FontKey::kLowerPortion, "ALAOSA:"},
    {FontKey::kCharSpace, "KIRJAINVALI:"},
    {FontKey::kRowSpace, "RIVIVALI:"},
    {FontKey::kCharacters, "KIRJAIMET:"},
    {FontKey::kHeight, "HEIGHT:"},
    {FontKey::kWidth, "WIDTH:"},
    {FontKey::kLowerPortion, "LOWER_PORTION:"},
    {FontKey::kCharSpace, "CHAR_SPACE:"},
    {FontKey::kRowSpace, "ROW_SPACE:"},
    {FontKey::kCharacters, "CHARACTERS:"},
}};

constexpr double kMetricTolerance = 0.001;
constexpr std::size_t kTripleSize = 3;

FontKey FindFontKey(std::string_view line) {
  for (const auto& k : kFontKeywords)
    if (line.find(k.word) != std::string_view::npos) return k.key;
  return FontKey::kNone;
}

class FontParser {
public:
  FontParser(Font& font, MessageSink& sink) : font_(font), sink_(sink) {}

  void Line(std::string_view line) {
    if (line.empty() || line[0] == '*' || IsBlankLine(line)) return;
    if (line[0] == '#') {
      key_ = FindFontKey(line);
      if (key_ == FontKey::kNone) {
        // This message has only a Finnish text.
        std::string text = "Fonteissa avainta \"^";
        text += line;
        text += "^\" ei tunnistettu !";
        sink_.Show(MessageKind::kError, text);
        return;
      }
    }
    if (key_ == FontKey::kCharacters) {
      GlyphLine(line);
    } else if (key_ != FontKey::kNone) {
      Metric() = NumberScanner(line).Next();
    }
  }

  void Finish() { CommitGlyph(); }

private:
  double& Metric() {
    switch (key_) {
    case FontKey::kHeight:
      return font_.height;
    case FontKey::kWidth:
      return font_.width;
    case FontKey::kLowerPortion:
      return font_.lowerPortion;
    case FontKey::kCharSpace:
      return font_.charSpace;
    default:
      return font_.rowSpace;
    }
  }

  void GlyphLine(std::string_view line) {
    std::size_t pos = 0;
    const std::size_t quote = line.find('"');
    if (quote != std::string_view::npos) {
      CommitGlyph();
      pos = StartGlyph(line, quote);
    }
    if (!pending_) return;
    std::vector<double> numbers;
    NumberScanner scanner(line, pos);
    for (double v = 0; scanner.Next(v);) numbers.push_back(v);
    for (std::size_t i = 0; i + kTripleSize <= numbers.size(); i += kTripleSize) {
      if (strokes_.size() >= kMaxGlyphStrokes) break;
      strokes_.push_back(
          {TruncToInt(numbers[i]), TruncToInt(numbers[i + 1]), TruncToInt(numbers[i + 2])});
    }
  }

  // The character after the quote names the glyph; a lone quote at the end of the line or an
  // empty pair of quotes names the quote itself. Returns where numbers begin.
  std::size_t StartGlyph(std::string_view line, std::size_t quote) {
    pending_ = true;
    strokes_.clear();
    const std::size_t at = quote + 1;
    if (at >= line.size()) {
      code_ = '"';
      return line.size();
    }
    code_ = line[at];
    if (code_ == '"') return at + 1 < line.size() && line[at + 1] == '"' ? at + 2 : at + 1;
    const std::size_t close = line.find('"', at + 1);
    return close == std::string_view::npos ? at + 1 : close + 1;
  }

  void CommitGlyph() {
    if (!pending_) return;
    pending_ = false;
    if (strokes_.empty()) return;
    auto& glyph = font_.glyphs[static_cast<unsigned char>(code_)];
    try {
      if (glyph.empty()) ++font_.glyphCount;
      glyph = strokes_;
      font_.reach[static_cast<unsigned char>(code_)] = ReachOf(glyph);
    } catch (const std::bad_alloc&) {
      sink_.Show(MessageKind::kError, store_messages::kMemoryOverflow.en);
    }
  }

  Font& font_;
  MessageSink& sink_;
  FontKey key_ = FontKey::kNone;
  bool pending_ = false;
  char code_ = 0;
  std::vector<Stroke> strokes_;
};

} // namespace

GlyphReach ReachOf(const std::vector<Stroke>& strokes) {
  GlyphReach reach;
  if (strokes.empty()) return reach;
  reach.xmin = reach.xmax = strokes.front().x;
  reach.ymin = reach.ymax = strokes.front().y;
  for (std::size_t k = 0; k < strokes.size(); ++k) {
    const Stroke& s = strokes[k];
    reach.xmin = std::min(reach.xmin, s.x);
    reach.xmax = std::max(reach.xmax, s.x);
    reach.ymin = std::min(reach.ymin, s.y);
    reach.ymax = std::max(reach.ymax, s.y);
    reach.draws = reach.draws || s.pen != 0;
    reach.drawsLater = reach.drawsLater || (k > 0 && s.pen != 0);
  }
  return reach;
}

std::string FontPath(std::string_view home, std::string_view file) {
  std::string path(home);
  path += "/SETUP/";
  path += file;
  path += ".txt";
  return path;
}

bool ParseFont(std::string_view content, Font& font, MessageSink& sink) {
  font = Font{};
  FontParser parser(font, sink);
  for (const std::string& line : SplitLines(content)) parser.Line(line);
  parser.Finish();
  if (font.glyphCount == 0 || std::fabs(font.height) <= kMetricTolerance ||
      std::fabs(font.width) <= kMetricTolerance)
    return false;
  font.lowerPortion /= font.height;
  font.rowSpace /= font.height;
  font.charSpace /= font.width;
  return true;
}

int LoadFont(Fonts& fonts, const FontLoad& load, std::string_view file,
             std::string_view displayName) {
  if (fonts.count >= kMaxFonts) {
    load.sink.Show(MessageKind::kError, "No space for more fonts !");
    return 0;
  }
  const std::string path = FontPath(load.home, file);
  load.sink.Show(MessageKind::kMessage, "Font is loaded from file '" + path + "'.");
  std::string content;
  if (!ReadTextFile(path, content)) {
    load.sink.Show(MessageKind::kError, OpenFailureMessage(path, load.language));
    return 0;
  }
  Font& slot = fonts.slots[static_cast<std::size_t>(fonts.count)];
  if (!ParseFont(content, slot, load.sink)) {
    slot = Font{};
    return 0;
  }
  slot.name = displayName.substr(0, kFontNameLength);
  slot.file = file.substr(0, kFontFileLength);
  fonts.longestName = std::max(fonts.longestName, slot.name.size());
  ++fonts.count;
  return 1;
}

void SetTextStyle(Fonts& fonts, int font, double height, double angle, double widthRatio,
                  double slant) {
  if (font < 0 || font >= fonts.count) return;
  const Font& f = fonts.slots[static_cast<std::size_t>(font)];
  TextSetting& t = fonts.current;
  t.font = font;
  t.angle = angle;
  t.yFactor = height / f.height;
  t.xFactor = height * widthRatio / f.width;
  t.slantFactor = height * slant / f.height;
  t.charAdvance = (f.charSpace + 1) * height * widthRatio;
  t.rowAdvance = (f.rowSpace + 1) * height;
}

} // namespace lumora
