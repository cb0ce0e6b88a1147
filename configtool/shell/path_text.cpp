#include "configtool/shell/path_text.h"

#include <cstring>

namespace configtool {

bool PathText::Append(const char* text) { return Append(text, std::strlen(text)); }

bool PathText::Append(const char* text, std::size_t length) {
  if (length >= kCapacity - length_) return false;
  std::memcpy(text_ + length_, text, length);
  length_ += length;
  text_[length_] = '\0';
  return true;
}

void PathText::Clear() {
  length_ = 0;
  text_[0] = '\0';
}

}  // namespace configtool
