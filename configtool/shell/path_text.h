// A path or command line in a fixed buffer of 260 characters, terminator
// included. Every append checks the room first: text that does not fit is not
// copied at all and the append reports false, so no caller ever goes on with
// a cut path or command.
#pragma once

#include <cstddef>

namespace configtool {

class PathText {
 public:
  static constexpr std::size_t kCapacity = 260;

  PathText() { text_[0] = '\0'; }

  // Appends text (up to its terminator); false, leaving the text as it was, when it does not fit.
  bool Append(const char* text);
  // Appends length bytes of text.
  bool Append(const char* text, std::size_t length);
  // Empties the text.
  void Clear();

  const char* c_str() const { return text_; }
  std::size_t size() const { return length_; }
  bool empty() const { return length_ == 0; }

 private:
  char text_[kCapacity];
  std::size_t length_ = 0;
};

}  // namespace configtool
