// Test-only stand-in for the platform launcher: records the command line it
// was started with into "launcher_started.txt" beside itself, one line per start.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  char* slash = std::strrchr(path, '\\');
  if (slash == nullptr) return 1;
  const char kRecord[] = "\\launcher_started.txt";
  if (static_cast<std::size_t>(slash - path) + sizeof kRecord > sizeof path) return 1;
  std::memcpy(slash, kRecord, sizeof kRecord);

  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const char* commandLine = GetCommandLineA();
  DWORD written = 0;
  WriteFile(file, commandLine, static_cast<DWORD>(std::strlen(commandLine)), &written, nullptr);
  WriteFile(file, "\r\n", 2, &written, nullptr);
  CloseHandle(file);
  return 0;
}
