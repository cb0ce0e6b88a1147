// The start-up yardstick of "VELDARA Config.exe": the tool's own dialog 102
// from its own resource script with its six pages as children of the tab
// control, and in WM_INITDIALOG the Direct3D 8 work the tool does before its
// dialog shows (the adapter's modes, a windowed test device with a depth
// buffer on the hidden control 1017, the adapter identity and the device
// capabilities) and its 100 ms timer. Nothing else.
#include <windows.h>

#include <commctrl.h>
#include <d3d8.h>

#include "resource.h"

namespace {

using CreateProc = IDirect3D8*(WINAPI*)(UINT);

constexpr int kPages[] = {IDD_GENERAL_PAGE, IDD_SCREEN_SIZE_PAGE, IDD_TEXTURES_PAGE,
                          IDD_EFFECTS_PAGE, IDD_SOUND_PAGE,       IDD_MISC_PAGE};
constexpr const char* kTabs[] = {"General", "Screen Size", "Textures", "Effects", "Sound", "Misc."};

IDirect3D8* direct3d = nullptr;
IDirect3DDevice8* device = nullptr;

INT_PTR CALLBACK PageProcedure(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

void Probe(HWND window) {
  HMODULE module = LoadLibraryA("d3d8.dll");
  auto create = module != nullptr
                    ? reinterpret_cast<CreateProc>(reinterpret_cast<void*>(GetProcAddress(module, "Direct3DCreate8")))
                    : nullptr;
  if (create == nullptr || (direct3d = create(D3D_SDK_VERSION)) == nullptr) return;
  const UINT count = direct3d->GetAdapterModeCount(0);
  for (UINT i = 0; i < count; ++i) {
    D3DDISPLAYMODE mode;
    direct3d->EnumAdapterModes(0, i, &mode);
  }
  D3DDISPLAYMODE current;
  if (FAILED(direct3d->GetAdapterDisplayMode(0, &current))) return;
  D3DCAPS8 caps;
  if (FAILED(direct3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, current.Format, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                         D3DFMT_D24S8)) ||
      FAILED(direct3d->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, current.Format, D3DFMT_X8R8G8B8, D3DFMT_D24S8)) ||
      FAILED(direct3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps))) {
    return;
  }
  D3DPRESENT_PARAMETERS present{};
  present.BackBufferWidth = 640;
  present.BackBufferHeight = 480;
  present.BackBufferFormat = D3DFMT_X8R8G8B8;
  present.BackBufferCount = 1;
  present.SwapEffect = D3DSWAPEFFECT_DISCARD;
  present.hDeviceWindow = window;
  present.Windowed = TRUE;
  present.EnableAutoDepthStencil = TRUE;
  present.AutoDepthStencilFormat = D3DFMT_D24S8;
  if (FAILED(direct3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &present,
                                    &device)) &&
      FAILED(direct3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &present,
                                    &device))) {
    return;
  }
  D3DADAPTER_IDENTIFIER8 identifier;
  direct3d->GetAdapterIdentifier(0, D3DENUM_NO_WHQL_LEVEL, &identifier);
  device->GetDeviceCaps(&caps);
}

INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      Probe(GetDlgItem(window, IDC_D3D_WINDOW));
      HWND tab = GetDlgItem(window, IDC_TAB);
      for (int i = 0; i < 6; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kTabs[i]);
        SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
      }
      const HINSTANCE instance = GetModuleHandleA(nullptr);
      for (int i = 0; i < 6; ++i) {
        HWND page = CreateDialogParamA(instance, MAKEINTRESOURCEA(kPages[i]), tab, &PageProcedure, 0);
        ShowWindow(page, i == 0 ? SW_SHOW : SW_HIDE);
      }
      SetTimer(window, 1, 100, nullptr);
      return TRUE;
    }
    case WM_COMMAND:
      if ((LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) {
        if (device != nullptr) device->Release();
        if (direct3d != nullptr) direct3d->Release();
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
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONFIG_DIALOG), nullptr, &Procedure, 0);
  return 0;
}
