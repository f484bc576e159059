// The messages of DXF reading and writing.
#pragma once

#include "util/latin1.h"
#include "util/text_pair.h"

#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace lumora::dxf_messages {

inline constexpr TextPair kSelfInsert{"A block inserts itself, file not read !"_l1,
                                      "Lohko lisää itsensä, tiedostoa ei luettu !"_l1};
inline constexpr TextPair kTooDeep{"Blocks are nested too deeply, file not read !"_l1,
                                   "Lohkot ovat liian syvällä, tiedostoa ei luettu !"_l1};
// Heads the refusal of a file that would unfold beyond memory, followed by what it would make
// ("1440000 elements and 1440000 block placements") and the end.
inline constexpr TextPair kTooMany{"The file would make "_l1, "Tiedostosta tulisi "_l1};
inline constexpr TextPair kTooManyEnd{", too many !"_l1, ", liian monta !"_l1};
inline constexpr TextPair kTooManyAnd{" and "_l1, " ja "_l1};
// What a file can make too many of, each after its count.
inline constexpr TextPair kElements{" elements"_l1, " alkiota"_l1};
inline constexpr TextPair kPoints{" points"_l1, " pistettä"_l1};
inline constexpr TextPair kLetters{" letters"_l1, " kirjainta"_l1};
inline constexpr TextPair kHatchLines{" hatch lines"_l1, " viivoitusviivaa"_l1};
inline constexpr TextPair kDashes{" dashes"_l1, " katkoviivan pätkää"_l1};
inline constexpr TextPair kPlacements{" block placements"_l1, " lohkon sijoitusta"_l1};
// A line of the file longer than the reader holds, where no text is cut to fit.
inline constexpr TextPair kLineTooLong{"A line of the file is too long, file not read !"_l1,
                                       "Tiedoston rivi on liian pitkä, tiedostoa ei luettu !"_l1};
// A binary DXF file that ends inside a pair or holds what no DXF file holds.
inline constexpr TextPair kBinaryDamaged{
    "The binary DXF file is damaged, file not read !"_l1,
    "Binäärimuotoinen DXF-tiedosto on vioittunut, tiedostoa ei luettu !"_l1};
// Follows the kinds and counts, e.g. "12 SPLINE, 3 POINT".
inline constexpr TextPair kNotReadTail{" not read"_l1, " jäi lukematta"_l1};
// Past the largest counts the other kinds are only counted: " and 2994 more kinds".
inline constexpr TextPair kMoreKindsHead{" and "_l1, " ja "_l1};
inline constexpr TextPair kMoreKindsTail{" more kinds"_l1, " muuta lajia"_l1};
// What was read as something near it, by the key the reader counts it under.
inline constexpr std::pair<std::string_view, TextPair> kApproximations[] = {
    {"solid fill read as hatch", {"solid fill read as hatch"_l1, "täyttö luettu viivoituksena"_l1}},
    {"unknown linetype read as solid",
     {"unknown linetype read as solid"_l1, "tuntematon viivatyyppi luettu yhtenäisenä"_l1}},
    {"dimension read as lines and texts",
     {"dimension read as lines and texts"_l1, "mitta luettu viivoina ja teksteinä"_l1}},
    {"too far out to draw", {"too far out to draw"_l1, "liian kaukana piirrettäväksi"_l1}},
    {"more layers read as the last free one",
     {"more layers read as the last free one"_l1, "tasoa lisää luettu viimeiseen vapaaseen"_l1}},
    {"hatch too dense read with the smallest gap",
     {"hatch too dense read with the smallest gap"_l1,
      "liian tiheä viivoitus luettu pienimmällä välillä"_l1}},
    {"text height out of range",
     {"text height out of range"_l1, "tekstin korkeus rajojen ulkopuolella"_l1}},
    {"text width out of range",
     {"text width out of range"_l1, "tekstin leveys rajojen ulkopuolella"_l1}},
    {"text slant out of range",
     {"text slant out of range"_l1, "tekstin kallistus rajojen ulkopuolella"_l1}},
    {"paper space entity left out",
     {"paper space entity left out"_l1, "paperitilan kohde jätetty pois"_l1}},
    {"drawing larger than the sheet at the largest scale",
     {"drawing larger than the sheet at the largest scale"_l1,
      "piirustus arkkia suurempi suurimmassakin mittakaavassa"_l1}},
    {"name made unique with a suffix",
     {"name made unique with a suffix"_l1, "nimi erotettu loppuliitteellä"_l1}},
    {"text cut to 32767 letters",
     {"text cut to 32767 letters"_l1, "teksti katkaistu 32767 kirjaimeen"_l1}},
    {"layer not plotted read as hidden",
     {"layer not plotted read as hidden"_l1, "tulostumaton taso luettu piilotetuksi"_l1}},
    {"layer not plotted left shown, its number in use",
     {"layer not plotted left shown, its number in use"_l1,
      "tulostumaton taso jätetty näkyviin, sen numero käytössä"_l1}},
    {"layer off or frozen left shown, its number in use",
     {"layer off or frozen left shown, its number in use"_l1,
      "sammutettu tai jäädytetty taso jätetty näkyviin, sen numero käytössä"_l1}},
    {"polyline width read as thin line",
     {"polyline width read as thin line"_l1, "murtoviivan leveys luettu ohuena viivana"_l1}},
    {"crosshatch read as one direction",
     {"crosshatch read as one direction"_l1, "ristiviivoitus luettu yhteen suuntaan"_l1}},
    {"text in a tilted plane read flat",
     {"text in a tilted plane read flat"_l1, "vinon tason teksti luettu lyhentämättä"_l1}},
    {"block in a tilted plane read flat",
     {"block in a tilted plane read flat"_l1, "vinon tason lohko luettu lyhentämättä"_l1}},
    {"letters not readable", {"letters not readable"_l1, "kirjainta ei voitu lukea"_l1}},
    {"linetype read without its texts",
     {"linetype read without its texts"_l1, "viivatyyppi luettu ilman tekstejään"_l1}},
};
// Heads the layers that took free numbers, e.g. "layers WALLS 11, NOTES 12".
inline constexpr TextPair kLayersHead{"layers"_l1, "tasot"_l1};
inline constexpr TextPair kMoreLayersTail{" more"_l1, " muuta"_l1};

// A DXF save that could not keep everything: the file is written, the drawing stays unsaved,
// e.g. "Left out of DXF: 2 texts, 1 filling, drawing not saved !".
inline constexpr TextPair kLeftOutHead{"Left out of DXF: "_l1, "DXF:stä jäi pois: "_l1};
inline constexpr TextPair kLeftOutTail{", drawing not saved !"_l1,
                                       ", piirustusta ei tallennettu !"_l1};
// The kinds counted, one and many.
inline constexpr std::pair<TextPair, TextPair> kLeftOutKinds[] = {
    {{"line"_l1, "viiva"_l1}, {"lines"_l1, "viivaa"_l1}},
    {{"filling"_l1, "viivoitus"_l1}, {"fillings"_l1, "viivoitusta"_l1}},
    {{"text"_l1, "teksti"_l1}, {"texts"_l1, "tekstiä"_l1}},
    {{"part"_l1, "osa"_l1}, {"parts"_l1, "osaa"_l1}},
};

// The message of a save that left out counts[k] elements of each kind (lines, fillings,
// texts, parts).
inline std::string LeftOut(Language language, const int (&counts)[4]) {
  std::string out(kLeftOutHead.In(language));
  bool first = true;
  for (std::size_t k = 0; k < std::size(counts); ++k) {
    if (counts[k] == 0) continue;
    if (!first) out += ", ";
    first = false;
    const auto& [one, many] = kLeftOutKinds[k];
    out +=
        std::to_string(counts[k]) + " " + std::string((counts[k] == 1 ? one : many).In(language));
  }
  return out + std::string(kLeftOutTail.In(language));
}

// The refusal of a file that unfolds too far, by what it would make: counts (as written) and
// the kinds they count, e.g. "The file would make 9000000 block placements, too many !".
inline std::string TooMany(Language language,
                           std::span<const std::pair<std::string, const TextPair*>> parts) {
  std::string out(kTooMany.In(language));
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) out += k + 1 == parts.size() ? std::string(kTooManyAnd.In(language)) : ", ";
    out += parts[k].first + std::string(parts[k].second->In(language));
  }
  return out + std::string(kTooManyEnd.In(language));
}

} // namespace lumora::dxf_messages
