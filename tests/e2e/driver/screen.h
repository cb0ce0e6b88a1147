// What the screen shows of another program's window: client-area pixels read
// from the screen (BitBlt from the screen's device context into a memory
// bitmap), for checks of what a program drew outside its controls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace e2e {

// The pixels of a rectangle of the window's client area, row by row, as
// 0x00RRGGBB; empty when the screen cannot be read.
std::vector<std::uint32_t> ScreenPixels(HWND window, const RECT& clientArea);

// How many pixels of the rectangle are dark (red, green and blue each below 100).
int DarkPixelCount(HWND window, const RECT& clientArea);

}  // namespace e2e
