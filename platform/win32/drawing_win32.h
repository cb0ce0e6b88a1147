// WindowDrawing on the window of a Win32DialogControls (bound at WM_INITDIALOG).
#pragma once

#include <windows.h>

#include "platform/drawing.h"
#include "platform/win32/win32_dialog_controls.h"

namespace platform::win32 {

class Win32WindowDrawing : public WindowDrawing {
 public:
  explicit Win32WindowDrawing(const Win32DialogControls& window) : window_(window) {}
  ~Win32WindowDrawing() override { ReleaseContext(); }
  Win32WindowDrawing(const Win32WindowDrawing&) = delete;
  Win32WindowDrawing& operator=(const Win32WindowDrawing&) = delete;

  bool GetContext() override;
  void ReleaseContext() override;
  void RedrawAll(unsigned flags) override;
  void RedrawRect(const ClientRect& rect, unsigned flags) override;
  void WriteText(int x, int y, const char* text) override;
  ClientSize TextSize(const char* text) override;
  void CentrePictures(const ClientPoint* centres, std::size_t count) override;

 private:
  const Win32DialogControls& window_;
  HWND contextWindow_ = nullptr;
  HDC context_ = nullptr;
};

}  // namespace platform::win32
