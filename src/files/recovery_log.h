// The recovery log: what a running program keeps on disk so that a killed program, a crash or a
// power cut loses no committed step.
//
// A log starts with a header (magic, format version, flags, the drawing's name, the time its
// checkpoint was taken, the checkpoint's number) and goes on with framed records: payload
// length, CRC-32 of kind and payload, kind, payload. A step's payload is opaque here: the undo
// journal makes it and takes it back. A crash can cut the last record anywhere, so the reader
// keeps every record up to the first one that is cut or does not check, and drops the rest.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lumora {

inline constexpr std::uint16_t kRecoveryLogVersion = 2;
// Without the name, the parts and the boundary lines.
inline constexpr std::size_t kRecoveryHeaderSize = 8 + 2 + 2 + 2 + 8 + 8 + 4 + 4 + 4;
inline constexpr std::size_t kRecoveryRecordFrame = 4 + 4 + 1;

enum class RecoveryRecordKind : std::uint8_t { kStep = 1 };

// What a drawing file does not keep of a part, in the order the checkpoint holds the parts:
// where it stands on the parts list, its words, its place and its box.
struct CheckpointPart {
  std::uint32_t listPosition = 0;
  std::array<std::uint32_t, 2> words{};
  double x = 0;
  double y = 0;
  std::array<double, 4> box{};
};
inline constexpr std::size_t kCheckpointPartSize = 4 + 8 + 16 + 32;

struct RecoveryLogHeader {
  std::string name;             // the drawing's name, Latin-1; empty for a new drawing
  std::int64_t savedAt = 0;     // when the checkpoint was taken, local calendar seconds
  std::uint64_t checkpoint = 0; // the number of the checkpoint file the steps start from
  // The checkpoint holds work not saved in any drawing file: even a log without steps is
  // worth recovering then.
  bool unsaved = false;
  std::vector<CheckpointPart> parts;
  // Lines, by their place on the list, that keep the boundary flag of a filling no longer
  // there: a drawing file reads it back only for lines that bound a filling.
  std::vector<std::uint32_t> boundaryLines;
};

struct RecoveryLogContents {
  bool headerRead = false; // false: not a log at all (nothing else is filled)
  RecoveryLogHeader header;
  std::vector<std::vector<std::byte>> steps;
  std::size_t keptBytes = 0; // the header and the whole records kept
  bool damagedTail = false;  // bytes after the last whole record were dropped
};

std::uint32_t Crc32(std::span<const unsigned char> bytes, std::uint32_t crc = 0);

std::vector<unsigned char> EncodeRecoveryHeader(const RecoveryLogHeader& header);
// One framed step record, ready to be appended.
std::vector<unsigned char> EncodeRecoveryStep(std::span<const std::byte> payload);

// Reads a whole log from memory. Never allocates more than the bytes hold.
RecoveryLogContents ReadRecoveryLog(std::span<const unsigned char> bytes);
// The same from a file; headerRead is false when it cannot be read.
RecoveryLogContents ReadRecoveryLogFile(const std::string& path);

} // namespace lumora
