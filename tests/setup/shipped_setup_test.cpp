// The setups shipped in data/SETUP read cleanly and say the same thing in two languages.
#include "setup/setup_reader.h"
#include "text/font.h"
#include "text/recording_sink.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

struct Shipped {
  Language language = Language::kEnglish;
  RecordingSink sink;
  SetupEnvironment env{std::string(LUMORA_SOURCE_DIR) + "/data", language, sink};
  lumora::Setup setup;
  Fonts fonts;

  explicit Shipped(std::string_view name) {
    env.fonts = &fonts;
    EXPECT_TRUE(ReadSetup(name, setup, env));
  }
};

// Every number a setup holds, list by list, without the language and the texts.
std::vector<double> NumbersOf(const lumora::Setup& s) {
  std::vector<double> n{s.version,
                        s.arcAccuracy,
                        s.scale,
                        s.step,
                        double(s.measureLineWidth),
                        double(s.measureLineColour),
                        s.measureGap,
                        double(s.clockCorrection),
                        double(s.windowWidth),
                        double(s.windowHeight),
                        double(s.whiteBackground),
                        s.searchGrid,
                        double(s.measureSnap),
                        double(s.closeDirHandle)};
  n.insert(n.end(), s.limits.begin(), s.limits.end());
  const auto values = [&n](const auto& list) {
    n.push_back(double(list.rows.size()));
    n.push_back(list.defaultRow);
    for (const auto& r : list.rows) n.push_back(r.value);
  };
  for (const auto* l : {&s.scales, &s.cursorGrids, &s.cursorAngles, &s.fillingDistances,
                        &s.fillingAngles, &s.textAngles, &s.partAngles})
    values(*l);
  for (const auto* l : {&s.lineWidths, &s.colours, &s.lineStyles, &s.lineStyleSections,
                        &s.textPositionings, &s.textHeights, &s.textWidths, &s.textSlants})
    values(*l);
  for (const auto& r : s.plottingAreas.rows) n.insert(n.end(), {r.width, r.height});
  for (const auto& r : s.lineSelections.rows)
    n.insert(n.end(), {double(r.layer), double(r.width), double(r.colour), double(r.style),
                       double(r.section)});
  for (const auto& r : s.fillingSelections.rows)
    n.insert(n.end(), {double(r.layer), double(r.width), double(r.colour), double(r.style),
                       double(r.section), r.gap, double(r.angle)});
  for (const auto* l : {&s.textSelections, &s.measureSelections})
    for (const auto& r : l->rows)
      n.insert(n.end(), {double(r.layer), double(r.width), double(r.colour), double(r.positioning),
                         double(r.positioning2), double(r.font), double(r.height),
                         double(r.widthRatio), double(r.slant), r.angle});
  n.push_back(double(s.layers.rows.size()));
  for (const auto& r : s.fonts.rows) n.push_back(double(r.file.size()));
  return n;
}

TEST(ShippedSetup, BothReadWithoutNoticesAndDifferOnlyInLanguage) {
  Shipped en("Perus_SET");
  Shipped fi("Suomi_SET");
  for (const Shipped* s : {&en, &fi}) {
    EXPECT_EQ(s->sink.Count(MessageKind::kNotice), 0);
    EXPECT_EQ(s->sink.Count(MessageKind::kError), 0);
    EXPECT_EQ(s->fonts.count, 2);
    const lumora::Setup& u = s->setup;
    for (const bool empty : {u.scales.Empty(),
                             u.plottingAreas.Empty(),
                             u.cursorGrids.Empty(),
                             u.cursorAngles.Empty(),
                             u.layers.Empty(),
                             u.lineWidths.Empty(),
                             u.colours.Empty(),
                             u.lineSelections.Empty(),
                             u.lineStyles.Empty(),
                             u.lineStyleSections.Empty(),
                             u.fillingSelections.Empty(),
                             u.fillingDistances.Empty(),
                             u.fillingAngles.Empty(),
                             u.textSelections.Empty(),
                             u.measureSelections.Empty(),
                             u.textAngles.Empty(),
                             u.textPositionings.Empty(),
                             u.fonts.Empty(),
                             u.textHeights.Empty(),
                             u.textWidths.Empty(),
                             u.textSlants.Empty(),
                             u.partAngles.Empty()})
      EXPECT_FALSE(empty);
  }
  EXPECT_EQ(en.language, Language::kEnglish);
  EXPECT_EQ(fi.language, Language::kFinnish);
  EXPECT_EQ(NumbersOf(en.setup), NumbersOf(fi.setup));
  EXPECT_EQ(en.setup.layers.rows[2].text, "Hidden lines");
  EXPECT_EQ(fi.setup.colours.rows[2].text, "Vihre\xE4");
  EXPECT_EQ(en.setup.fonts.rows[1].file, fi.setup.fonts.rows[1].file);
  // What a new drawing starts with.
  EXPECT_DOUBLE_EQ(en.setup.scale, 1);
  EXPECT_EQ(en.setup.limits, (std::array<double, 4>{0, 0, 198, 281}));
  EXPECT_DOUBLE_EQ(en.setup.step, 1);
  EXPECT_EQ(en.setup.measureLineWidth, 2);
}

} // namespace
} // namespace lumora
