// Recording HTML Help replacement.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/html_help.h"

namespace fakes {

class FakeHtmlHelp : public platform::HtmlHelp {
 public:
  std::uint32_t cookieToGive = 0x5EED;
  int initializeCalls = 0;
  std::vector<std::pair<platform::WindowId, std::string>> displayed;

  bool Initialize(std::uint32_t* cookie) override {
    ++initializeCalls;
    *cookie = cookieToGive;
    return true;
  }
  bool DisplayTopic(platform::WindowId owner, const char* file) override {
    displayed.emplace_back(owner, file);
    return true;
  }
};

}  // namespace fakes
