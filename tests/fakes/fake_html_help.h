// Recording HtmlHelp: every request with its owner, file, command and data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/html_help.h"

namespace fakes {

struct HelpRequest {
  std::uintptr_t owner;
  std::string file;
  unsigned command;
  std::uintptr_t data;
};

class FakeHtmlHelp : public platform::HtmlHelp {
 public:
  std::vector<HelpRequest> requests;
  std::uintptr_t viewer = 0x4242;  // returned window; 0 imitates a missing viewer

  std::uintptr_t Show(std::uintptr_t owner, const char* file, unsigned command, std::uintptr_t data) override {
    requests.push_back({owner, file != nullptr ? file : "", command, data});
    return viewer;
  }
};

}  // namespace fakes
