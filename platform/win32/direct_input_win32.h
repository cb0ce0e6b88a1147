// DirectInput 8 from dinput8.dll, loaded with LoadLibraryA on first use and
// kept loaded while the provider lives; the provider must outlive every
// DirectInput object it created.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "platform/direct_input.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

class Win32DirectInputProvider : public DirectInputProvider {
 public:
  HResult Create(ModuleToken instance, std::uint32_t version, std::unique_ptr<DirectInput>* object) override;

 private:
  using CreateProc = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);
  UniqueModule module_;
  CreateProc create_ = nullptr;
};

}  // namespace platform::win32
