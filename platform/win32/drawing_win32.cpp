#include "platform/win32/drawing_win32.h"

#include <cstring>

#include "platform/win32/handles.h"

namespace platform::win32 {

namespace {

// The SS_* type of a static control, -1 for any other window.
LONG StaticType(HWND control) {
  char className[16];
  if (control == nullptr || GetClassNameA(control, className, sizeof className) == 0 ||
      lstrcmpiA(className, "Static") != 0) {
    return -1;
  }
  return GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK;
}

bool IsText(HWND control) {
  const LONG type = StaticType(control);
  return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
}

// The window's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND control) {
  RECT bounds;
  GetWindowRect(control, &bounds);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

constexpr int kCaptionGap = 2;

}  // namespace

bool Win32WindowDrawing::GetContext() {
  ReleaseContext();
  contextWindow_ = window_.Window();
  context_ = GetDC(contextWindow_);
  return context_ != nullptr;
}

void Win32WindowDrawing::ReleaseContext() {
  if (context_ != nullptr) ReleaseDC(contextWindow_, context_);
  context_ = nullptr;
  contextWindow_ = nullptr;
}

void Win32WindowDrawing::RedrawAll(unsigned flags) { ::RedrawWindow(window_.Window(), nullptr, nullptr, flags); }

void Win32WindowDrawing::RedrawRect(const ClientRect& rect, unsigned flags) {
  RECT area{rect.left, rect.top, rect.right, rect.bottom};
  ::RedrawWindow(window_.Window(), &area, nullptr, flags);
}

void Win32WindowDrawing::WriteText(int x, int y, const char* text) {
  if (context_ != nullptr) TextOutA(context_, x, y, text, static_cast<int>(std::strlen(text)));
}

ClientSize Win32WindowDrawing::TextSize(const char* text) {
  WindowDc dc(window_.Window());
  SIZE size{0, 0};
  if (!dc || !GetTextExtentPoint32A(dc.get(), text, static_cast<int>(std::strlen(text)), &size)) return {0, 0};
  return {size.cx, size.cy};
}

void Win32WindowDrawing::CentrePictures(const ClientPoint* centres, std::size_t count) {
  constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  std::size_t next = 0;
  HWND previous = nullptr;
  // Dialog controls are children in creation order.
  for (HWND child = GetWindow(window_.Window(), GW_CHILD); child != nullptr && next < count;
       previous = child, child = GetWindow(child, GW_HWNDNEXT)) {
    if (StaticType(child) != SS_BITMAP) continue;
    const RECT picture = PlaceInParent(child);
    const int left = centres[next].x - (picture.right - picture.left) / 2;
    const int top = centres[next].y - (picture.bottom - picture.top) / 2;
    SetWindowPos(child, nullptr, left, top, 0, 0, kMoveOnly);
    if (IsText(previous)) {
      const RECT caption = PlaceInParent(previous);
      SetWindowPos(previous, nullptr, left + (caption.left - picture.left),
                   top - kCaptionGap - (caption.bottom - caption.top), 0, 0, kMoveOnly);
    }
    ++next;
  }
}

}  // namespace platform::win32
