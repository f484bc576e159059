// Binary DXF: the pairs of a DXF file of text, each group code in two bytes (one byte in files
// of release 12 and before) and each value in the binary form its code's range gives.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace lumora {

// Whether the bytes begin with the mark of a binary DXF file.
bool IsBinaryDxf(std::span<const char> bytes);

// Why a binary file is refused: it ends inside a pair or holds a group code no DXF file holds.
inline constexpr std::string_view kDxfBinaryDamaged = "the binary file is damaged";

// The pairs of a binary DXF file as a DXF file of text holds them ("code\nvalue\n"), numbers
// written so that they read back exactly. False, with kDxfBinaryDamaged as the reason, for a
// damaged file; `text` is then incomplete.
bool BinaryDxfToText(std::span<const char> bytes, std::string& text, std::string& problem);

} // namespace lumora
