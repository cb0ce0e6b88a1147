// The thread's message queue and top-level windows, for a wait that keeps
// the program's own windows hidden and its messages taken.
#pragma once

#include "platform/window_id.h"

namespace platform {

constexpr unsigned kWmPaint = 0x000F;

class ThreadMessages {
 public:
  virtual ~ThreadMessages() = default;
  // PeekMessageA(&message, NULL, 0, 0, PM_REMOVE): true, with the message's
  // number, when one was taken. The message itself is dropped.
  virtual bool TakeMessage(unsigned* message) = 0;
  // UpdateWindow(window).
  virtual void RepaintWindow(WindowId window) = 0;
  // ShowWindow(window, showCommand).
  virtual void ShowTopWindow(WindowId window, int showCommand) = 0;
};

}  // namespace platform
