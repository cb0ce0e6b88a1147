// Recording DebugOutput: the texts written, in order.
#pragma once

#include <string>
#include <vector>

#include "platform/debug_output.h"

namespace fakes {

class FakeDebugOutput : public platform::DebugOutput {
 public:
  std::vector<std::string> lines;
  void Write(const char* text) override { lines.emplace_back(text); }
};

}  // namespace fakes
