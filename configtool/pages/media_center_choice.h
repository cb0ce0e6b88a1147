// The Misc page's "Add to Media Center" choice as the main dialog uses it.
#pragma once

namespace configtool {

class MediaCenterChoice {
 public:
  virtual ~MediaCenterChoice() = default;
  // Forgets the choice (Default was confirmed); the box follows at the next paint.
  virtual void ClearMediaCenterChoice() = 0;
  // Adds or removes the Media Center registration as chosen; runs on every
  // save, before the settings are written, and reports nothing.
  virtual void ApplyMediaCenterChoice() = 0;
};

}  // namespace configtool
