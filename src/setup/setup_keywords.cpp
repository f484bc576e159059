#include "setup/setup_keywords.h"

#include <array>

namespace lumora {
namespace {

struct SectionKeyword {
  SetupSection section;
  std::string_view fi;
  std::string_view en;
};

constexpr std::array<SectionKeyword, 39> kSectionKeywords{{
    {kAccurateSaving, "TARKKATALLENNUS:", "ACCURATE_SAVING:"},
    {kArcDrawingAccuracy, "YMPYRANPIIRTOTARKKUUS:", "ARC_DRAWING_ACCURACY:"},
    {kScales, "MITTAKAAVAT:", "SCALES:"},
    {kPlottingAreas, "PIIRTOALUEET:", "PLOTTING_AREAS:"},
    {kCursorGrids, "KURSORIASKELEET:", "CURSOR_GRIDS:"},
    {kCursorAngles, "KURSORIKULMAT:", "CURSOR_ANGLES:"},
    {kLayers, "PIIRTOTASOT:", "LAYERS:"},
    {kLineWidths, "LEVEYSVALINNAT:", "LINE_WIDTHS:"},
    {kColours, "VARIVALINNAT:", "COLOURS:"},
    {kLineSelections, "VIIVAVALINNAT:", "LINE_SELECTIONS:"},
    {kLineStyles, "VIIVATYYLIT:", "LINESTYLES:"},
    {kLineStyleSections, "VIIVAJAKSOT:", "LINESTYLE_SECTIONS:"},
    {kFillingSelections, "VIIVOITUSVALINNAT:", "FILLING_SELECTIONS:"},
    {kFillingDistances, "VIIVOITUSVALIT:", "FILLING_DISTANCES:"},
    {kFillingAngles, "VIIVOITUSKULMAT:", "FILLING_ANGLES:"},
    {kTextSelections, "TEKSTIVALINNAT:", "TEXT_SELECTIONS:"},
    {kMeasureSelections, "MITTAVALINNAT:", "MEASURE_SELECTIONS:"},
    {kMeasureLines, "MITTAVIIVAT:", "MEASURE_LINES:"},
    {kMeasureGap, "MITTAVIIVANALOITUS:", "MEASURE_GAP:"},
    {kTextAngles, "TEKSTIKULMAT:", "TEXT_ANGLES:"},
    {kTextPositionings, "TEKSTISIJOITUKSET:", "TEXT_POSITIONINGS:"},
    {kTextFont, "KIRJAINFONTTI:", "TEXT_FONT:"},
    {kTextHeights, "KIRJAINKORKEUDET:", "TEXT_HEIGTHS:"},
    {kTextWidths, "KIRJAINLEVEYDET:", "TEXT_WIDTHS:"},
    {kTextSlants, "KIRJAINKALLISTUKSET:", "TEXT_SLANTS:"},
    {kPartStretch, "VENYYKO_OSA:", "PART_STRETCH:"},
    {kTimeSetting, "KELLONTASMAYS:", "TIME_SETTING:"},
    {kBasicWindowSize, "PERUS_IKKUNAN_KOKO:", "BASIC_WINDOW_SIZE:"},
    {kBasicWindowLocation, "PERUS_IKKUNAN_PAIKKA:", "BASIC_WINDOW_LOCATION:"},
    {kWhiteBackground, "VALKOINEN_TAUSTA:", "WHITE_BACKGROUND:"},
    {kTextWindowSize, "TEKSTI_IKKUNAN_KOKO:", "TEXT_WINDOW_SIZE:"},
    {kWindowingFix, "IKKUNOINNIN_KORJAUS:", "WINDOWING_FIX:"},
    {kNoWaitingSound, "EI_ODOTUS_PIIPPIA:", "NO_WAITING_SOUND:"},
    {kSearchGrid, "HAKU_ASKEL:", "SEARCH_GRID:"},
    {kPartAngles, "OSAKULMAT:", "PART_ANGLES:"},
    {kEnglish, "ENGLISH:", "ENGLISH:"},
    {kNoDatingOfScreen, "EI_NAYTON_PAIVITYSTA:", "NO_DATING_OF_SCREEN:"},
    {kMeasureSnap, "HAKU_MITOISSA:", "MEASURE_SNAP:"},
    {kCloseDirHandle, "CLOSE_DIR_HANDLE:", "CLOSE_DIR_HANDLE:"},
}};

} // namespace

SetupSection FindSetupSection(std::string_view line) {
  for (const auto& k : kSectionKeywords)
    if (line.find(k.fi) != std::string_view::npos) return k.section;
  for (const auto& k : kSectionKeywords)
    if (line.find(k.en) != std::string_view::npos) return k.section;
  return kNoSection;
}

} // namespace lumora
