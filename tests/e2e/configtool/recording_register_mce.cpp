// Test-only stand-in for the Media Center registration tool, installed as
// %windir%\ehome\RegisterMCEApp.exe: appends its command line to
// "RegisterMCEApp.txt" beside itself; then, while the event
// "VELDARA e2e RegisterMCEApp release" exists, waits (at most a minute) until
// it is set; and appends "ended" just before it exits.
#include <windows.h>

#include <cstring>

namespace {

bool RecordPath(char (&path)[MAX_PATH]) {
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  char* dot = std::strrchr(path, '.');
  const char kExtension[] = ".txt";
  if (dot == nullptr || static_cast<std::size_t>(dot - path) + sizeof kExtension > sizeof path) return false;
  std::memcpy(dot, kExtension, sizeof kExtension);
  return true;
}

void AppendLine(const char* path, const char* text) {
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
  WriteFile(file, "\r\n", 2, &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH];
  if (!RecordPath(path)) return 1;
  AppendLine(path, GetCommandLineA());
  if (HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, "VELDARA e2e RegisterMCEApp release")) {
    WaitForSingleObject(release, 60000);
    CloseHandle(release);
  }
  AppendLine(path, "ended");
  return 0;
}
