// A modal dialog from a resource and nothing else, built like the programs
// (static runtime, common controls v6, -mwindows).
#include <windows.h>

#include <commctrl.h>

namespace {

INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(window, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  DialogBoxParamA(instance, MAKEINTRESOURCEA(100), nullptr, &Procedure, 0);
  return 0;
}
