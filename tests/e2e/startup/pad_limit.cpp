// The start-up yardstick of VdraPadConfig.exe: the tool's own dialog 102 from
// its own resource script, and in WM_INITDIALOG the DirectInput work the tool
// does before its dialog shows (load dinput8.dll, create DirectInput 8, list
// the game controllers with and without force feedback) and its 80 ms timer.
// Nothing else.
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

#include <commctrl.h>
#include <dinput.h>

#include "resource.h"

namespace {

using CreateProc = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);

BOOL CALLBACK NextDevice(LPCDIDEVICEINSTANCEA, LPVOID) { return DIENUM_CONTINUE; }

IDirectInput8A* CreateDirectInput(HINSTANCE instance) {
  HMODULE module = LoadLibraryA("dinput8.dll");
  if (module == nullptr) return nullptr;
  auto create = reinterpret_cast<CreateProc>(reinterpret_cast<void*>(GetProcAddress(module, "DirectInput8Create")));
  void* object = nullptr;
  if (create == nullptr || FAILED(create(instance, 0x0800, IID_IDirectInput8A, &object, nullptr))) return nullptr;
  return static_cast<IDirectInput8A*>(object);
}

INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      IDirectInput8A* input = CreateDirectInput(GetModuleHandleA(nullptr));
      if (input != nullptr) {
        input->EnumDevices(DI8DEVCLASS_GAMECTRL, &NextDevice, nullptr, DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK);
        input->EnumDevices(DI8DEVCLASS_GAMECTRL, &NextDevice, nullptr, DIEDFL_ATTACHEDONLY);
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(input));
      }
      SetTimer(window, 1, 80, nullptr);
      return TRUE;
    }
    case WM_COMMAND:
      // The buttons of dialog 102 notify their focus changes too: only a click closes.
      if ((LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) {
        auto* input = reinterpret_cast<IDirectInput8A*>(GetWindowLongPtrA(window, DWLP_USER));
        if (input != nullptr) input->Release();
        EndDialog(window, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PADCONFIG_DIALOG), nullptr, &Procedure, 0);
  return 0;
}
