#include "files/recovery_log.h"

#include "files/byte_reader.h"
#include "files/file_access.h"

#include <array>
#include <bit>
#include <cstring>

namespace lumora {

namespace {

constexpr std::array<unsigned char, 8> kMagic = {'L', 'U', 'M', 'O', 'R', 'E', 'C', '1'};
// Longer names are not drawing names; the bound keeps a damaged header from claiming more.
constexpr std::uint16_t kNameMax = 255;
constexpr std::uint16_t kUnsavedFlag = 1;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

void PutLittle(std::vector<unsigned char>& out, std::uint64_t value, int bytes) {
  for (int k = 0; k < bytes; ++k) out.push_back(static_cast<unsigned char>(value >> (8 * k)));
}

bool ReadU64(ByteReader& in, std::uint64_t& value) {
  std::uint32_t low = 0;
  std::uint32_t high = 0;
  if (!in.ReadU32(low) || !in.ReadU32(high)) return false;
  value = (std::uint64_t{high} << 32) | low;
  return true;
}

bool ReadHeader(ByteReader& in, std::span<const unsigned char> bytes, RecoveryLogHeader& header) {
  std::array<unsigned char, kMagic.size()> magic{};
  std::uint16_t version = 0;
  std::uint16_t flags = 0;
  std::uint16_t nameLength = 0;
  if (!in.ReadBytes(magic.data(), magic.size()) || magic != kMagic || !in.ReadU16(version) ||
      version != kRecoveryLogVersion || !in.ReadU16(flags) || !in.ReadU16(nameLength) ||
      nameLength > kNameMax)
    return false;
  header.unsaved = (flags & kUnsavedFlag) != 0;
  header.name.assign(nameLength, '\0');
  std::uint64_t savedAt = 0;
  std::uint32_t crc = 0;
  std::uint32_t parts = 0;
  if (!in.ReadBytes(header.name.data(), nameLength) || !ReadU64(in, savedAt) ||
      !ReadU64(in, header.checkpoint) || !in.ReadU32(parts) ||
      parts > in.Remaining() / kCheckpointPartSize)
    return false;
  header.parts.resize(parts);
  for (CheckpointPart& part : header.parts) {
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::array<std::uint64_t, 4> box{};
    if (!in.ReadU32(part.listPosition) || !in.ReadU32(part.words[0]) ||
        !in.ReadU32(part.words[1]) || !ReadU64(in, x) || !ReadU64(in, y) || !ReadU64(in, box[0]) ||
        !ReadU64(in, box[1]) || !ReadU64(in, box[2]) || !ReadU64(in, box[3]))
      return false;
    part.x = std::bit_cast<double>(x);
    part.y = std::bit_cast<double>(y);
    for (std::size_t k = 0; k < box.size(); ++k) part.box[k] = std::bit_cast<double>(box[k]);
  }
  std::uint32_t lines = 0;
  if (!in.ReadU32(lines) || lines > in.Remaining() / 4) return false;
  header.boundaryLines.resize(lines);
  for (std::uint32_t& line : header.boundaryLines)
    if (!in.ReadU32(line)) return false;
  const std::size_t covered = static_cast<std::size_t>(in.Position());
  if (!in.ReadU32(crc) || crc != Crc32(bytes.first(covered))) return false;
  header.savedAt = static_cast<std::int64_t>(savedAt);
  return true;
}

} // namespace

std::uint32_t Crc32(std::span<const unsigned char> bytes, std::uint32_t crc) {
  crc = ~crc;
  for (const unsigned char b : bytes) crc = kCrcTable[(crc ^ b) & 0xFFu] ^ (crc >> 8);
  return ~crc;
}

std::vector<unsigned char> EncodeRecoveryHeader(const RecoveryLogHeader& header) {
  const std::size_t nameLength = std::min<std::size_t>(header.name.size(), kNameMax);
  std::vector<unsigned char> out(kMagic.begin(), kMagic.end());
  PutLittle(out, kRecoveryLogVersion, 2);
  PutLittle(out, header.unsaved ? kUnsavedFlag : 0, 2);
  PutLittle(out, nameLength, 2);
  out.insert(out.end(), header.name.begin(), header.name.begin() + nameLength);
  PutLittle(out, static_cast<std::uint64_t>(header.savedAt), 8);
  PutLittle(out, header.checkpoint, 8);
  PutLittle(out, header.parts.size(), 4);
  for (const CheckpointPart& part : header.parts) {
    PutLittle(out, part.listPosition, 4);
    PutLittle(out, part.words[0], 4);
    PutLittle(out, part.words[1], 4);
    PutLittle(out, std::bit_cast<std::uint64_t>(part.x), 8);
    PutLittle(out, std::bit_cast<std::uint64_t>(part.y), 8);
    for (double v : part.box) PutLittle(out, std::bit_cast<std::uint64_t>(v), 8);
  }
  PutLittle(out, header.boundaryLines.size(), 4);
  for (std::uint32_t line : header.boundaryLines) PutLittle(out, line, 4);
  PutLittle(out, Crc32(out), 4);
  return out;
}

std::vector<unsigned char> EncodeRecoveryStep(std::span<const std::byte> payload) {
  std::vector<unsigned char> out;
  out.reserve(kRecoveryRecordFrame + payload.size());
  PutLittle(out, payload.size(), 4);
  PutLittle(out, 0, 4); // the checksum, filled in below
  out.push_back(static_cast<unsigned char>(RecoveryRecordKind::kStep));
  const auto* data = reinterpret_cast<const unsigned char*>(payload.data());
  out.insert(out.end(), data, data + payload.size());
  const std::uint32_t crc = Crc32(std::span(out).subspan(8));
  for (int k = 0; k < 4; ++k) out[4 + k] = static_cast<unsigned char>(crc >> (8 * k));
  return out;
}

RecoveryLogContents ReadRecoveryLog(std::span<const unsigned char> bytes) {
  RecoveryLogContents log;
  ByteReader in(bytes);
  if (!ReadHeader(in, bytes, log.header)) return log;
  log.headerRead = true;
  log.keptBytes = static_cast<std::size_t>(in.Position());
  while (in.Remaining() > 0) {
    std::uint32_t length = 0;
    std::uint32_t crc = 0;
    // A length beyond what is left is a cut record: nothing is allocated for it.
    if (!in.ReadU32(length) || !in.ReadU32(crc) || length >= in.Remaining()) break;
    const unsigned char* record = in.Take(std::size_t{length} + 1);
    if (record == nullptr || Crc32(std::span(record, std::size_t{length} + 1)) != crc) break;
    // A kind this program does not know ends what it can take back.
    if (record[0] != static_cast<unsigned char>(RecoveryRecordKind::kStep)) break;
    const auto* payload = reinterpret_cast<const std::byte*>(record + 1);
    log.steps.emplace_back(payload, payload + length);
    log.keptBytes = static_cast<std::size_t>(in.Position());
  }
  log.damagedTail = log.keptBytes != bytes.size();
  return log;
}

RecoveryLogContents ReadRecoveryLogFile(const std::string& path) {
  class Silent final : public FileReporter {
    Language CurrentLanguage() const override { return Language::kEnglish; }
    void ShowError(std::string_view) override {}
    void Trace(std::string_view) override {}
  } silent;
  FilePtr file = OpenFileChecked(silent, path, "rb", false);
  if (!file) return {};
  ByteReader in(file.get());
  std::vector<unsigned char> bytes(static_cast<std::size_t>(in.Remaining()));
  if (!bytes.empty() && !in.ReadBytes(bytes.data(), bytes.size())) return {};
  return ReadRecoveryLog(bytes);
}

} // namespace lumora
