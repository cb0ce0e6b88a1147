// Message boxes that no window owns, with texts from the program's string table.
#pragma once

namespace platform {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // MessageBoxA(NULL, string textId, string captionId, style); returns the answer.
  virtual int ShowUnowned(int textId, int captionId, unsigned style) = 0;
};

}  // namespace platform
