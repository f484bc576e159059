// Constants of the binary drawing file format shared by the reader, the writer and the report.
//
// A file starts with its version as a float. Version 3.0 stores reals as doubles and counts as
// 32-bit integers; every other version (2.0 is written) floats and 16-bit integers; 1.0 files
// cannot be read. Records follow in the order lines, fillings, texts, parts.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumora {

inline constexpr float kUnreadableVersion = 1.0f;
inline constexpr float kShortVersion = 2.0f;
inline constexpr float kWideVersion = 3.0f;
inline constexpr double kVersionTolerance = 0.001;

// Bytes of the packed words of each record as they are stored.
inline constexpr std::size_t kLineWordsStored = 2;
inline constexpr std::size_t kFillingWordsStored = 4;
inline constexpr std::size_t kTextWordsStored = 3;
inline constexpr std::size_t kPartWordsStored = 2;
inline constexpr std::size_t kWordBytes = 4;

// The largest count a short (version 2.0) file can hold.
inline constexpr std::int32_t kShortCountMax = 32767;
// The largest stored text length, the terminating zero included.
inline constexpr std::int32_t kStoredTextMax = 32767;

// Whether a version value selects doubles and 32-bit counts.
bool IsWideVersion(double version);

} // namespace lumora
