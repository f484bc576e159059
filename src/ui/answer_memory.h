// The memory of old answers shared by every text entry: the last ten accepted texts, oldest
// first, and where F12 / Ctrl+F12 browsing stands in them.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace lumora {

inline constexpr int kAnswerMemorySize = 10;
inline constexpr std::size_t kAnswerMaxBytes = 99; // a 100-byte slot with its terminator

class AnswerMemory {
public:
  // Keeps a non-empty accepted answer as the newest; with ten held the oldest goes.
  void Store(std::string_view text);

  // Browsing starts again from the newest position (a new entry opened).
  void ResetBrowsing() { browse_ = count_; }

  // F12: the previous (older) answer into `text`; false when there is none. Browsing that
  // starts from the newest position first keeps `text` so that Ctrl+F12 can come back to it.
  bool Previous(std::string& text);
  // Ctrl+F12: the next (newer) answer; false past the newest.
  bool Next(std::string& text);

  int Count() const { return count_; }
  const std::string& At(int index) const { return texts_[static_cast<std::size_t>(index)]; }

private:
  std::array<std::string, kAnswerMemorySize> texts_;
  int count_ = 0;
  int browse_ = 0; // == count_: at the newest position, not browsing
};

} // namespace lumora
