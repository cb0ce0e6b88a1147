// Replacements for the thread locale and owner-less message boxes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/message_box.h"
#include "platform/thread_locale.h"
#include "tests/fakes/fake_dialog_controls.h"

namespace fakes {

class FakeThreadLocale : public platform::ThreadLocale {
 public:
  std::vector<std::uint32_t> locales;
  bool SetThreadLocale(std::uint32_t locale) override {
    locales.push_back(locale);
    return true;
  }
};

class FakeMessageBoxes : public platform::MessageBoxes {
 public:
  std::vector<ShownMessage> shown;
  // Runs while the message is "open", e.g. to start another copy meanwhile.
  std::function<void()> whileOpen;
  int ShowUnowned(int textId, int captionId, unsigned style) override {
    shown.push_back({textId, captionId, style});
    if (whileOpen) whileOpen();
    return 1;
  }
};

}  // namespace fakes
