// The messages of the file routines. Most have one text for both languages.
#pragma once

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
inline constexpr TextPair kMemoryOverflow{"Memory overflow !", "Memory overflow !"};
inline constexpr TextPair kTooManyFiles{"Too many files !", "Liian monta tiedostoa !"};

// The pieces of the open message, around the quoted file name.
inline constexpr std::string_view kOpenFailedEnglishHead = "Opening of ";
inline constexpr std::string_view kOpenFailedEnglishTail = "-file not succeeded !";
inline constexpr std::string_view kOpenFailedFinnishTail = "-nimisen tiedoston avaus ei onnistu !";

} // namespace lumora::file_messages
