// Drawing on a dialog's client area outside its paint cycle: a device context
// from GetDC, redraws of the whole window or of a rectangle, text at a client
// point, and placing the dialog's pictures on the points drawn over them.
// Coordinates are client-area pixels. Tests use a recording replacement.
#pragma once

#include <cstddef>

namespace platform {

// RedrawWindow flags (RDW_*).
constexpr unsigned kRdwInvalidate = 0x0001;
constexpr unsigned kRdwErase = 0x0004;
constexpr unsigned kRdwAllChildren = 0x0080;
constexpr unsigned kRdwUpdateNow = 0x0100;

struct ClientPoint {
  int x;
  int y;
};

struct ClientSize {
  int cx;
  int cy;
};

struct ClientRect {
  int left;
  int top;
  int right;
  int bottom;
};

class WindowDrawing {
 public:
  virtual ~WindowDrawing() = default;
  // GetDC(window); false when the window gives no context. The context is
  // held until ReleaseContext.
  virtual bool GetContext() = 0;
  // ReleaseDC(window, context) of the held context.
  virtual void ReleaseContext() = 0;
  // RedrawWindow(window, NULL, NULL, flags).
  virtual void RedrawAll(unsigned flags) = 0;
  // RedrawWindow(window, &rect, NULL, flags).
  virtual void RedrawRect(const ClientRect& rect, unsigned flags) = 0;
  // TextOutA(context, x, y, text, strlen(text)) with the context's default font and colours.
  virtual void WriteText(int x, int y, const char* text) = 0;
  // GetTextExtentPoint32A of the text in a context of the window (GetDC,
  // ReleaseDC), the font WriteText uses; (0, 0) when there is no context.
  virtual ClientSize TextSize(const char* text) = 0;
  // SetWindowPos of the dialog's picture controls, in creation order, so that
  // picture i is centred on centres[i]; pictures beyond count stay where they
  // are. A text static created right before a picture is its caption: it
  // moves along to stand just above the picture.
  virtual void CentrePictures(const ClientPoint* centres, std::size_t count) = 0;
};

}  // namespace platform
