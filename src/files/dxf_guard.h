// A look over a DXF file's group code / value pairs before the library reads it. The library
// takes a file that stops half way for a whole one, allocates whatever a count asks for and
// keeps over-long lines in fixed buffers; this walk refuses such files first. A text's value
// (groups 1 and 3) may be longer: it is read whole beside the library, which is handed it cut.
// The walk also notes what the library does not say: the block each DIMENSION draws, and the
// entity kinds it passes over without a word.
#pragma once

#include <cstddef>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// The longest line the library keeps whole: its line buffer of 1024 holds 1023 characters and
// its end, and a line that fills it stops the library's stream for good.
inline constexpr std::size_t kDxfLibraryLine = 1021;
// Whether a group's value may be longer than that: the text of a TEXT or MTEXT, or a piece of it.
constexpr bool MayBeLong(int code) {
  return code == 1 || code == 3;
}
// The problem of a file with a longer line elsewhere.
inline constexpr std::string_view kDxfLineTooLong = "a line is too long";

struct DxfGuardResult {
  bool ok = false;
  std::string problem;                      // English, for the message when not ok
  std::vector<std::string> dimensionBlocks; // in file order
  std::map<std::string, int> unknownEntities;
  // Entities of the entities section that become lines, and texts: room for the drawing's
  // lists is taken once.
  std::size_t lineEntities = 0;
  std::size_t textEntities = 0;
};

DxfGuardResult CheckDxfInput(std::span<const char> bytes);

} // namespace lumora
