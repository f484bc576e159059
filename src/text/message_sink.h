// Where the setup and font readers send what they have to tell the user. The text windows
// implement it once they exist; before that the start-up code prints to the console.
#pragma once

#include <string_view>

namespace lumora {

enum class MessageKind {
  kMessage, // message row 1: progress such as "Setup is done from file ..."
  kNotice,  // a notice the user must see (an unknown setup keyword)
  kError,   // an error message (a file that cannot be opened, a full font table)
};

class MessageSink {
public:
  virtual ~MessageSink() = default;
  // text is Latin-1, already in the language of the moment.
  virtual void Show(MessageKind kind, std::string_view text) = 0;
};

} // namespace lumora
