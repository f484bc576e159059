// The messages of the file routines. Most have one text for both languages.
#pragma once

#include "util/latin1.h"
#include "util/text_pair.h"

namespace lumora::file_messages {

inline constexpr TextPair kNotReadable{"File is not readable !", "File is not readable !"};
inline constexpr TextPair kReadFailed{"Reading file not succeeded !",
                                      "Reading file not succeeded !"};
inline constexpr TextPair kReadFloatsFailed{"Reading file not succeeded (DoublesToFloat) !",
                                            "Reading file not succeeded (DoublesToFloat) !"};
inline constexpr TextPair kReadShortsFailed{"Reading file not succeeded (IntToShort) !",
                                            "Reading file not succeeded (IntToShort) !"};
inline constexpr TextPair kWriteNull{"Attempt to write to NULL-pointer !",
                                     "Attempt to write to NULL-pointer !"};
inline constexpr TextPair kWriteFailed{"Writing to file not succeeded !",
                                       "Writing to file not succeeded !"};
inline constexpr TextPair kTooManyFiles{"Too many files !", "Liian monta tiedostoa !"};
// A save refused before anything is written: the file could not be read back.
inline constexpr TextPair kNotFiniteSave{
    "Coordinate is not a finite number, file not written !"_l1,
    "Koordinaatti ei ole äärellinen luku, tiedostoa ei kirjoitettu !"_l1};

} // namespace lumora::file_messages
