#include "sound/wav_length.h"

#include <cstdint>
#include <fstream>
#include <string>

namespace lumora {
namespace {

constexpr std::size_t kRiffHeader = 12; // "RIFF", size, "WAVE"
constexpr std::size_t kChunkHeader = 8; // id, size
constexpr std::size_t kByteRateAt = 8;  // in the format chunk
constexpr std::size_t kFormatMinimum = 12;
// A cue is short; a file claiming more is cut here, so a broken header cannot hold the window.
constexpr double kLongestCue = 10.0;
constexpr std::size_t kHeaderBytesRead = 4096;

std::uint32_t Word(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t k = 0; k < 4; ++k) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + k])) << (8 * k);
  }
  return value;
}

} // namespace

double WavSeconds(std::string_view bytes) {
  if (bytes.size() < kRiffHeader || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
    return 0.0;
  }
  std::uint32_t byteRate = 0;
  std::size_t at = kRiffHeader;
  while (at + kChunkHeader <= bytes.size()) {
    const std::string_view id = bytes.substr(at, 4);
    const std::uint32_t size = Word(bytes, at + 4);
    const std::size_t body = at + kChunkHeader;
    if (id == "fmt " && size >= kFormatMinimum && body + kFormatMinimum <= bytes.size()) {
      byteRate = Word(bytes, body + kByteRateAt);
    } else if (id == "data") {
      if (byteRate == 0) return 0.0;
      const double seconds = static_cast<double>(size) / byteRate;
      return seconds < kLongestCue ? seconds : kLongestCue;
    }
    // Chunks are padded to an even size.
    const std::size_t next = body + static_cast<std::size_t>(size) + (size & 1u);
    if (next <= at) break;
    at = next;
  }
  return 0.0;
}

double WavFileSeconds(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return 0.0;
  std::string head(kHeaderBytesRead, '\0');
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(file.gcount()));
  // The data chunk's size is all the header needs; its samples may lie beyond what was read.
  return WavSeconds(head);
}

} // namespace lumora
