#include "tests/e2e/driver/screen.h"

namespace e2e {

std::vector<std::uint32_t> ScreenPixels(HWND window, const RECT& clientArea) {
  const int width = clientArea.right - clientArea.left;
  const int height = clientArea.bottom - clientArea.top;
  if (width <= 0 || height <= 0) return {};
  POINT origin{clientArea.left, clientArea.top};
  if (!ClientToScreen(window, &origin)) return {};

  std::vector<std::uint32_t> pixels;
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return pixels;
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  if (memory != nullptr && bitmap != nullptr) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    if (!copied || GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) !=
                       height) {
      pixels.clear();
    }
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (memory != nullptr) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (std::uint32_t& pixel : pixels) pixel &= 0x00FFFFFF;
  return pixels;
}

int DarkPixelCount(HWND window, const RECT& clientArea) {
  int dark = 0;
  for (std::uint32_t pixel : ScreenPixels(window, clientArea)) {
    const std::uint32_t red = (pixel >> 16) & 0xFF;
    const std::uint32_t green = (pixel >> 8) & 0xFF;
    const std::uint32_t blue = pixel & 0xFF;
    if (red < 100 && green < 100 && blue < 100) ++dark;
  }
  return dark;
}

}  // namespace e2e
