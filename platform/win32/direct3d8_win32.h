// Direct3D8Runtime on d3d8.dll, loaded at the first Direct3DCreate8 and kept
// loaded while the runtime object lives; the objects it creates must be
// destroyed before it.
#pragma once

#include <windows.h>

#include "platform/direct3d8.h"
#include "platform/win32/handles.h"

struct IDirect3D8;

namespace platform::win32 {

class Win32Direct3D8Runtime : public Direct3D8Runtime {
 public:
  std::unique_ptr<Direct3D8> Direct3DCreate8(std::uint32_t sdkVersion) override;

 private:
  using CreateProc = IDirect3D8*(WINAPI*)(UINT);
  UniqueModule module_;
  CreateProc create_ = nullptr;
};

}  // namespace platform::win32
