#include "ui/answer_memory.h"

#include <algorithm>

namespace lumora {

void AnswerMemory::Store(std::string_view text) {
  if (text.empty()) return;
  text = text.substr(0, std::min(text.size(), kAnswerMaxBytes));
  if (count_ == kAnswerMemorySize) {
    std::rotate(texts_.begin(), texts_.begin() + 1, texts_.end());
    --count_;
  }
  texts_[static_cast<std::size_t>(count_++)] = std::string(text);
  browse_ = count_;
}

bool AnswerMemory::Previous(std::string& text) {
  if (count_ == 0) return false;
  if (browse_ >= count_) {
    const std::string& newest = texts_[static_cast<std::size_t>(count_ - 1)];
    if (text.empty()) {
      browse_ = count_ - 1;
      text = newest;
      return true;
    }
    // The text being typed becomes the newest answer, so that Ctrl+F12 comes back to it.
    if (text != newest) Store(text);
    browse_ = count_ - 1;
  }
  if (browse_ <= 0) return false;
  --browse_;
  text = texts_[static_cast<std::size_t>(browse_)];
  return true;
}

bool AnswerMemory::Next(std::string& text) {
  if (browse_ + 1 >= count_) return false;
  ++browse_;
  text = texts_[static_cast<std::size_t>(browse_)];
  return true;
}

} // namespace lumora
