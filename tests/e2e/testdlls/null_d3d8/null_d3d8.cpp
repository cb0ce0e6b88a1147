// Test-only d3d8.dll: a Direct3D 8 runtime whose Direct3DCreate8 always
// returns null, as on a system without a usable Direct3D 8.
#include <windows.h>

extern "C" void* WINAPI Direct3DCreate8(UINT) { return nullptr; }

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
