// The words of the value selectors: the header before the old value (or the not-set header),
// the list request, and the title and request of the typed entry.
#pragma once

#include "util/text_pair.h"

namespace lumora {

struct SelectorTexts {
  TextPair old;
  TextPair notSet; // shown alone when the value is not set; empty: the old value is shown
  TextPair list;
  TextPair typeTitle;
  TextPair typePrompt;
};

namespace selector_texts {

inline constexpr SelectorTexts kWidth{
    {"Old width of line is "_l1, "Vanha viivan leveys on "_l1},
    {"Width of line is not set. "_l1, "Viivan leveys määrittämättä. "_l1},
    {"^SELECT WIDTH OF LINE ! "_l1, "^VALITSE VIIVAN LEVEYS ! "_l1},
    {"Changing width of line: "_l1, "Viivan leveyden muutto: "_l1},
    {"^WRITE WIDTH OF LINE ? "_l1, "^ANNA VIIVAN LEVEYS ? "_l1}};
inline constexpr SelectorTexts kColour{
    {"Old colour is "_l1, "Vanha väri on "_l1},
    {"Old colour is not set. "_l1, "Väri määrittämättä. "_l1},
    {"^SELECT COLOUR ! "_l1, "^VALITSE VÄRI ! "_l1},
    {"Changing colour: "_l1, "Värin muutto: "_l1},
    {"^WRITE THE NUMBER OF COLOUR ? "_l1, "^ANNA VÄRIN N:O ? "_l1}};
inline constexpr SelectorTexts kStyle{
    {"Old style of line is "_l1, "Vanha viivatyyli on "_l1},
    {},
    {"^SELECT STYLE OF LINE ! "_l1, "^VALITSE VIIVATYYLI ! "_l1},
    {"Changing style of line: "_l1, "Viivatyylin muutto: "_l1},
    {"^WRITE THE NUMBER OF STYLE OF LINE ? "_l1, "^ANNA VIIVATYYLIN N:O ? "_l1}};
inline constexpr SelectorTexts kSection{
    {"Old section of line is "_l1, "Vanha jakson pituus on "_l1},
    {"Solid line !"_l1, "Yhtenäinen viiva !"_l1},
    {"^SELECT SECTION OF LINE ! "_l1, "^VALITSE JAKSON PITUUS ! "_l1},
    {"Changing section of line: "_l1, "Viivajakson muutto: "_l1},
    {"^WRITE LENGTH OF SECTION ? "_l1, "^ANNA JAKSON PITUUS ? "_l1}};
inline constexpr SelectorTexts kGap{
    {"Gap between filling lines is "_l1, "Vanha viivoituksen väli on "_l1},
    {},
    {"^SELECT GAP ! "_l1, "^VALITSE VÄLI ! "_l1},
    {"Changing gap between filling lines: "_l1, "Viivoitus tiheyden muutto: "_l1},
    {"^WRITE GAP ? "_l1, "^ANNA VÄLIN SUURUUS ? "_l1}};
inline constexpr SelectorTexts kFillingAngle{
    {"Old angle of filling is "_l1, "Vanha viivoituksen kulma on "_l1},
    {},
    {"^SELECT ANGLE ! "_l1, "^VALITSE KULMA ! "_l1},
    {"Changing angle of filling: "_l1, "Viivoitus kulman muutto: "_l1},
    {"^WRITE ANGLE ? "_l1, "^ANNA KULMA ? "_l1}};
inline constexpr SelectorTexts kTextAngle{
    {"Old angle of text is "_l1, "Vanha tekstin kulma on "_l1},
    {},
    {"^SELECT ANGLE ! "_l1, "^VALITSE KULMA ! "_l1},
    {"Changing angle of text: "_l1, "Tekstin kulman muutto: "_l1},
    {"^WRITE ANGLE ? "_l1, "^ANNA KULMA ? "_l1}};
inline constexpr SelectorTexts kPartAngle{
    {"Old angle of part is "_l1, "Vanha osan kulma on "_l1},
    {},
    {"^SELECT ANGLE ! "_l1, "^VALITSE KULMA ! "_l1},
    {"Changing angle of part: "_l1, "Osan kulman muutto: "_l1},
    {"^WRITE ANGLE ? "_l1, "^ANNA KULMA ? "_l1}};
inline constexpr SelectorTexts kPositioning{
    {"Old way of positioning text is "_l1, "Vanha tekstin sijoitustapa on "_l1},
    {},
    {"^SELECT WAY OF POSITIONING ! "_l1, "^VALITSE SIJOITUSTAPA ! "_l1},
    {"Changing way of positioning text: "_l1, "Tekstin sijoituspisteen muutto: "_l1},
    {"^WRITE NUMBER OF WAY ? "_l1, "^ANNA TAVAN N:O ? "_l1}};
inline constexpr SelectorTexts kFont{{"Old font of text is "_l1, "Vanha tekstin fontti on "_l1},
                                     {},
                                     {"^SELECT FONT ! "_l1, "^VALITSE FONTTI ! "_l1},
                                     {},
                                     {}};
inline constexpr SelectorTexts kHeight{
    {"Old height of text is "_l1, "Vanha tekstin korkeus on "_l1},
    {},
    {"^SELECT HEIGHT ! "_l1, "^VALITSE KORKEUS ! "_l1},
    {"Changing height of text: "_l1, "Tekstin korkeuden muutto: "_l1},
    {"^WRITE HEIGHT ? "_l1, "^ANNA KORKEUS ? "_l1}};
inline constexpr SelectorTexts kWidthRatio{
    {"Old width/height of text is "_l1, "Vanha tekstin leveys/korkeus on "_l1},
    {},
    {"^SELECT PROPORTION OF WIDTH ! "_l1, "^VALITSE LEVEYSSUHDE ! "_l1},
    {"Changing proportion of width/height of text: "_l1, "Tekstin leveys/korkeus muutto: "_l1},
    {"^WRITE PROPORTION ? "_l1, "^ANNA SUHDE ? "_l1}};
inline constexpr SelectorTexts kSlant{
    {"Old slant/height of text is "_l1, "Vanha tekstin kallistussuhde on "_l1},
    {},
    {"^SELECT PROPORTION OF SLANT ! "_l1, "^VALITSE KALLISTUS ! "_l1},
    {"Changing proportion of slant/height of text: "_l1, "Tekstin kallistuksen muutto: "_l1},
    {"^WRITE PROPORTION ? "_l1, "^ANNA SUHDE ? "_l1}};
inline constexpr SelectorTexts kLayer{{"Old layer is "_l1, "Vanha taso on "_l1},
                                      {"Layer not set: "_l1, "Taso määrittämättä: "_l1},
                                      {"^SELECT LAYER ! "_l1, "^VALITSE TASO ! "_l1},
                                      {},
                                      {}};
inline constexpr SelectorTexts kPartSize{
    {},
    {},
    {},
    {"Changing size of part: "_l1, "Koon muutto: "_l1},
    {"^WRITE RATIO OF SIZE ? "_l1, "^ANNA SUURENNOSKERROIN ? "_l1}};
inline constexpr SelectorTexts kPartWidth{{},
                                          {},
                                          {},
                                          {"Change of size: "_l1, "Koon muutto: "_l1},
                                          {"^WRITE WIDTH ?  "_l1, "^ANNA LEVEYS ?  "_l1}};
inline constexpr SelectorTexts kPartHeight{{},
                                           {},
                                           {},
                                           {"Change of size: "_l1, "Koon muutto: "_l1},
                                           {"^WRITE HEIGHT ?  "_l1, "^ANNA KORKEUS ?  "_l1}};
inline constexpr SelectorTexts kMirroring{{"Mirroring: "_l1, "Peilaus: "_l1},
                                          {},
                                          {"^SELECT MIRRORING ! "_l1, "^VALITSE PEILAUS ! "_l1},
                                          {},
                                          {}};

inline constexpr TextPair kOnPlotter{"On plotter ?"_l1, "Tulostimella ?"_l1};
inline constexpr TextPair kGapOnPaper{"^IS GAP THIS, WHEN PLOTTED ON PAPER ? "_l1,
                                      "^ONKO VÄLI TÄMÄ, KUN TULOSTETAAN PAPERILLE ? "_l1};
inline constexpr TextPair kHeightAlso{"Height also ?"_l1, "Korkeus myös ?"_l1};
inline constexpr TextPair kHeightInProportion{"^IS HEIGHT CHANGED PROPORTIONALLY ? "_l1,
                                              "^MUUTETAANKO KORKEUS VASTAAVAKSI ? "_l1};
inline constexpr TextPair kWidthAlso{"Width also ?"_l1, "Leveys myös ?"_l1};
inline constexpr TextPair kWidthInProportion{"^IS WIDTH CHANGED PROPORTIONALLY ? "_l1,
                                             "^MUUTETAANKO LEVEYS VASTAAVAKSI ? "_l1};

inline constexpr TextPair kMirroringNames[4] = {{"no"_l1, "ei"_l1},
                                                {"around y-axis"_l1, "y-aks.ymp."_l1},
                                                {"around x-axis"_l1, "x-aks.ymp."_l1},
                                                {"around xy-axis"_l1, "xy-aks.ymp."_l1}};

} // namespace selector_texts
} // namespace lumora
