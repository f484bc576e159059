// A message sink that keeps what was shown, for the setup and font tests.
#pragma once

#include "text/message_sink.h"

#include <string>
#include <utility>
#include <vector>

namespace lumora {

class RecordingSink : public MessageSink {
public:
  void Show(MessageKind kind, std::string_view text) override {
    shown.emplace_back(kind, std::string(text));
  }
  int Count(MessageKind kind) const {
    int count = 0;
    for (const auto& m : shown) count += m.first == kind ? 1 : 0;
    return count;
  }
  std::vector<std::pair<MessageKind, std::string>> shown;
};

} // namespace lumora
