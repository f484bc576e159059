// A look over a DXF file's group code / value pairs before the library reads it. The library
// takes a file that stops half way for a whole one, allocates whatever a count asks for and
// keeps over-long lines in fixed buffers; this walk refuses such files first. It also notes
// what the library does not say: the block each DIMENSION draws, and the entity kinds it passes
// over without a word.
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

namespace lumora {

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
