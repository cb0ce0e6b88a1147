#include "tests/e2e/driver/shell_links.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "tests/e2e/driver/driver.h"

namespace e2e {

namespace {

template <typename T>
void Release(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

}  // namespace

std::optional<ShellLinkFields> ReadShellLink(const std::string& path) {
  if (!FileExists(path)) return std::nullopt;
  HRESULT initialized = CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  std::optional<ShellLinkFields> fields;
  wchar_t widePath[MAX_PATH];
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) != 0 &&
      SUCCEEDED(file->Load(widePath, STGM_READ))) {
    char text[1024];
    ShellLinkFields read;
    if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH))) read.target = text;
    if (SUCCEEDED(link->GetArguments(text, sizeof text))) read.arguments = text;
    if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text))) read.workingDirectory = text;
    if (SUCCEEDED(link->GetDescription(text, sizeof text))) read.description = text;
    fields = read;
  }
  Release(file);
  Release(link);
  if (SUCCEEDED(initialized)) CoUninitialize();
  return fields;
}

std::string DesktopFolder() {
  char path[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path))) {
    Fail("no desktop folder");
  }
  return path;
}

}  // namespace e2e
