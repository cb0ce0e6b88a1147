// MiscPage: the Misc. tab's state as far as the main dialog reaches it, the
// Media Center choice (1 = registered or to be registered, 0 = to be removed).
// The check boxes and the registration flows are not built yet.
#pragma once

#include "configtool/pages/media_center_choice.h"

namespace configtool {

class MiscPage : public MediaCenterChoice {
 public:
  void ClearMediaCenterChoice() override { mediaCenterChoice_ = 0; }
  void ApplyMediaCenterChoice() override {}

  int MediaCenterChoiceValue() const { return mediaCenterChoice_; }

 private:
  int mediaCenterChoice_ = 0;
};

}  // namespace configtool
