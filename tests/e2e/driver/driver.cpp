#include "tests/e2e/driver/driver.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#ifndef E2E_BUILD_DIR
#error "E2E_BUILD_DIR must name the build tree"
#endif
#ifndef E2E_SOURCE_DIR
#error "E2E_SOURCE_DIR must name the source tree"
#endif

namespace e2e {

namespace {

struct CaseEntry {
  const char* name;
  CaseFunction function;
};

std::vector<CaseEntry>& Cases() {
  static std::vector<CaseEntry> cases;
  return cases;
}

std::string currentCase;
bool caseFailed = false;
std::vector<HANDLE> startedProcesses;

// Wine maps the Unix root to drive Z:.
std::string UnixToWindows(const std::string& path) {
  std::string result = "Z:";
  for (char c : path) result += (c == '/') ? '\\' : c;
  return result;
}

std::string Join(const std::string& base, const std::string& relative) {
  std::string result = base;
  if (!result.empty() && result.back() != '\\') result += '\\';
  for (char c : relative) result += (c == '/') ? '\\' : c;
  return result;
}

std::string LastErrorText() { return " (error " + std::to_string(GetLastError()) + ")"; }

}  // namespace

// ---- Failures -------------------------------------------------------------

void RecordFailure(const std::string& message, const char* file, int line) {
  caseFailed = true;
  std::printf("%s:%d: %s\n", file, line, message.c_str());
  std::fflush(stdout);
}

void Fail(const std::string& message) { throw CaseFailure{message}; }

CaseRegistration::CaseRegistration(const char* name, CaseFunction function) {
  Cases().push_back({name, function});
}

const std::string& CaseName() { return currentCase; }

// ---- Paths ----------------------------------------------------------------

std::string BuildPath(const std::string& relative) { return Join(UnixToWindows(E2E_BUILD_DIR), relative); }
std::string SourcePath(const std::string& relative) { return Join(UnixToWindows(E2E_SOURCE_DIR), relative); }
std::string CaseFolder() { return "C:\\e2e\\" + currentCase; }

// ---- Processes ------------------------------------------------------------

Process::~Process() {
  if (handle_ != nullptr) CloseHandle(handle_);
}

Process::Process(Process&& other) noexcept : handle_(other.handle_), id_(other.id_) {
  other.handle_ = nullptr;
  other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) CloseHandle(handle_);
    handle_ = other.handle_;
    id_ = other.id_;
    other.handle_ = nullptr;
    other.id_ = 0;
  }
  return *this;
}

bool Process::Running() const { return handle_ != nullptr && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

bool Process::EndsWithin(int timeoutMs) {
  return BecomesTrueWithin([this] { return !Running(); }, timeoutMs);
}

DWORD Process::WaitForExit(int timeoutMs) {
  if (!EndsWithin(timeoutMs)) Fail("process " + std::to_string(id_) + " did not end within " + std::to_string(timeoutMs) + " ms");
  DWORD code = 0;
  GetExitCodeProcess(handle_, &code);
  return code;
}

void Process::Terminate() {
  if (Running()) {
    TerminateProcess(handle_, 255);
    WaitForSingleObject(handle_, 5000);
  }
}

namespace {

// CreateProcessA with the options; the thread handle goes to *thread when asked
// for, else it is closed.
Process StartWithFlags(const std::string& program, const StartOptions& options, DWORD creationFlags,
                       HANDLE* thread) {
  std::string commandLine = options.quoteProgram ? "\"" + program + "\"" : program;
  if (!options.arguments.empty()) commandLine += " " + options.arguments;
  std::vector<char> commandBuffer(commandLine.begin(), commandLine.end());
  commandBuffer.push_back('\0');

  std::string directory = options.workingDirectory;
  if (directory.empty()) {
    auto slash = program.find_last_of('\\');
    if (slash != std::string::npos) directory = program.substr(0, slash);
  }

  // The child's environment: ours with the overrides applied.
  std::map<std::string, std::string> variables;
  if (LPCH block = GetEnvironmentStringsA()) {
    for (const char* entry = block; *entry != '\0'; entry += std::strlen(entry) + 1) {
      const char* equals = std::strchr(entry + 1, '=');
      if (equals != nullptr) variables[std::string(entry, equals)] = equals + 1;
    }
    FreeEnvironmentStringsA(block);
  }
  for (const auto& [name, value] : options.environment) variables[name] = value;
  std::string environment;
  for (const auto& [name, value] : variables) environment += name + "=" + value + '\0';
  environment += '\0';

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (options.showCommand >= 0) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(options.showCommand);
  }
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandBuffer.data(), nullptr, nullptr, FALSE, creationFlags, environment.data(),
                      directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
    Fail("cannot start " + commandLine + LastErrorText());
  }
  if (thread != nullptr) {
    *thread = info.hThread;
  } else {
    CloseHandle(info.hThread);
  }
  HANDLE tracked = nullptr;
  DuplicateHandle(GetCurrentProcess(), info.hProcess, GetCurrentProcess(), &tracked, 0, FALSE, DUPLICATE_SAME_ACCESS);
  if (tracked != nullptr) startedProcesses.push_back(tracked);
  return Process(info.hProcess, info.dwProcessId);
}

}  // namespace

Process Start(const std::string& program, const StartOptions& options) {
  return StartWithFlags(program, options, 0, nullptr);
}

std::vector<Process> StartTogether(const std::string& program, int count, const StartOptions& options) {
  std::vector<Process> processes;
  std::vector<HANDLE> threads;
  for (int i = 0; i < count; ++i) {
    HANDLE thread = nullptr;
    processes.push_back(StartWithFlags(program, options, CREATE_SUSPENDED, &thread));
    threads.push_back(thread);
  }
  for (HANDLE thread : threads) ResumeThread(thread);
  for (HANDLE thread : threads) CloseHandle(thread);
  return processes;
}

NativeDllOverride::NativeDllOverride(const std::string& programFileName, const std::string& dll)
    : appKey_(std::string("Software\\Wine\\AppDefaults\\") + programFileName) {
  std::string path = appKey_ + "\\DllOverrides";
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    Fail("cannot create HKCU\\" + path);
  static const char kNative[] = "native";
  LONG result = RegSetValueExA(key, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kNative), sizeof kNative);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) Fail("cannot set the DLL override for " + dll);
}

namespace {

constexpr char kAppDefaults[] = "Software\\Wine\\AppDefaults";

// Per-program DLL overrides left by a case that was killed before it could
// remove them; a fresh test prefix has none of its own.
void RemoveDllOverrides() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kAppDefaults, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  std::vector<std::string> programs;
  for (DWORD index = 0;; ++index) {
    char name[MAX_PATH];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    programs.emplace_back(name, length);
  }
  RegCloseKey(key);
  for (const auto& program : programs) {
    std::string path = std::string(kAppDefaults) + "\\" + program;
    if (RegDeleteKeyA(HKEY_CURRENT_USER, (path + "\\DllOverrides").c_str()) == ERROR_SUCCESS)
      RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
  }
}

}  // namespace

NativeDllOverride::~NativeDllOverride() {
  RegDeleteKeyA(HKEY_CURRENT_USER, (appKey_ + "\\DllOverrides").c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, appKey_.c_str());
}

// ---- Waiting --------------------------------------------------------------

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump(int ms) {
  double end = NowMs() + ms;
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (ms > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (NowMs() < end);
}

bool BecomesTrueWithin(const std::function<bool()>& cond, int timeoutMs) {
  double end = NowMs() + timeoutMs;
  for (;;) {
    if (cond()) return true;
    if (NowMs() >= end) return false;
    Pump(15);
  }
}

void WaitUntil(const std::function<bool()>& cond, const std::string& what, int timeoutMs) {
  if (!BecomesTrueWithin(cond, timeoutMs)) Fail("timed out after " + std::to_string(timeoutMs) + " ms waiting for " + what);
}

// ---- Windows --------------------------------------------------------------

std::string WindowText(HWND window) {
  char buffer[4096];
  // WM_GETTEXT is marshalled between processes.
  LRESULT length = SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string ClassName(HWND window) {
  char buffer[256];
  int length = GetClassNameA(window, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

namespace {

struct TopLevelSearch {
  DWORD processId;
  const char* className;
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<TopLevelSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  if (search->className != nullptr && ClassName(window) != search->className) return TRUE;
  if (search->title != nullptr && WindowText(window) != search->title) return TRUE;
  search->found = window;
  return FALSE;
}

bool IsMessageBox(HWND window) {
  // A message box is a #32770 dialog whose text static has id 0xFFFF.
  return ClassName(window) == "#32770" && GetDlgItem(window, 0xFFFF) != nullptr;
}

struct BoxSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchMessageBox(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<BoxSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window) && IsMessageBox(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectButtons(HWND child, LPARAM context) {
  auto* buttons = reinterpret_cast<std::vector<int>*>(context);
  if (ClassName(child) == "Button" && IsWindowVisible(child)) buttons->push_back(GetDlgCtrlID(child));
  return TRUE;
}

}  // namespace

HWND FindTopLevel(const Process& process, const char* className, const char* title) {
  TopLevelSearch search{process.Id(), className, title, nullptr};
  EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const Process& process, const char* className, const char* title, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopLevel(process, className, title)) != nullptr; },
            std::string("window of class '") + (className ? className : "*") + "' titled '" + (title ? title : "*") + "'",
            timeoutMs);
  return found;
}

HWND WaitForDialog(const Process& process, const char* title, int timeoutMs) {
  return WaitForWindow(process, "#32770", title, timeoutMs);
}

namespace {

struct DialogSearch {
  DWORD processId;
  const char* title;
  int controlId;
  HWND found;
};

BOOL CALLBACK MatchDialogWithControl(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<DialogSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window) && ClassName(window) == "#32770" &&
      GetDlgItem(window, search->controlId) != nullptr && WindowText(window) == search->title) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindDialogWithControl(const Process& process, const char* title, int controlId) {
  DialogSearch search{process.Id(), title, controlId, nullptr};
  EnumWindows(&MatchDialogWithControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForDialogWithControl(const Process& process, const char* title, int controlId, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindDialogWithControl(process, title, controlId)) != nullptr; },
            std::string("dialog '") + title + "' with control " + std::to_string(controlId), timeoutMs);
  return found;
}

HWND Control(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) Fail("no control " + std::to_string(id) + " in dialog '" + WindowText(dialog) + "'");
  return control;
}

std::string ControlText(HWND dialog, int id) { return WindowText(Control(dialog, id)); }

bool IsChecked(HWND dialog, int id) {
  return SendMessageA(Control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(Control(dialog, id)) != FALSE; }

bool IsVisible(HWND dialog, int id) { return IsWindowVisible(Control(dialog, id)) != FALSE; }

bool IsWindowShown(HWND window) { return IsWindow(window) && IsWindowVisible(window); }

void Click(HWND dialog, int id) { PostMessageA(Control(dialog, id), BM_CLICK, 0, 0); }

void Command(HWND dialog, int id, int notification) {
  HWND control = GetDlgItem(dialog, id);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(control));
}

void SelectComboItem(HWND dialog, int id, int index) {
  HWND combo = Control(dialog, id);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int ComboSelection(HWND dialog, int id) {
  return static_cast<int>(SendMessageA(Control(dialog, id), CB_GETCURSEL, 0, 0));
}

std::vector<std::string> ComboItems(HWND dialog, int id) {
  // Asked in Unicode: Wine hands an ANSI caller in another process the
  // unconverted Unicode text of a Unicode combo box.
  HWND combo = Control(dialog, id);
  std::vector<std::string> items;
  int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t wide[512] = {};
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    if (length < 0 || length >= static_cast<LRESULT>(sizeof wide / sizeof wide[0])) Fail("combo item too long");
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
    char text[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    items.emplace_back(text);
  }
  return items;
}

void FocusControl(HWND dialog, int id) {
  PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(dialog, id)), TRUE);
}

HWND FocusedWindow(const Process& process) {
  HWND any = FindTopLevel(process, nullptr, nullptr);
  if (any == nullptr) return nullptr;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(any, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

int FocusedControlId(const Process& process) {
  HWND focus = FocusedWindow(process);
  return focus != nullptr ? GetDlgCtrlID(focus) : 0;
}

void SendKey(HWND window, UINT virtualKey) {
  UINT scan = MapVirtualKeyA(virtualKey, 0);
  PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageA(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

void SendChar(HWND window, char character) {
  PostMessageA(window, WM_CHAR, static_cast<unsigned char>(character), 1);
}

// ---- Tab controls -------------------------------------------------------------

namespace {

// A block of memory inside another process, for messages that pass pointers.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, std::size_t size) : size_(size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_ == nullptr) Fail("cannot open process " + std::to_string(processId) + LastErrorText());
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    if (address_ == nullptr) Fail("cannot allocate memory in process " + std::to_string(processId));
  }
  ~RemoteMemory() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  char* Address(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
  void Write(std::size_t offset, const void* data, std::size_t size) {
    WriteProcessMemory(process_, Address(offset), data, size, nullptr);
  }
  void Read(std::size_t offset, void* data, std::size_t size) {
    ReadProcessMemory(process_, Address(offset), data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  std::size_t size_;
};

}  // namespace

std::vector<std::string> TabItems(HWND tab) {
  std::vector<std::string> items;
  int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
  constexpr std::size_t kTextOffset = 256;
  constexpr int kTextSize = 256;
  RemoteMemory memory(tab, kTextOffset + kTextSize);
  for (int i = 0; i < count; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = memory.Address(kTextOffset);
    item.cchTextMax = kTextSize;
    char empty = '\0';
    memory.Write(kTextOffset, &empty, 1);
    memory.Write(0, &item, sizeof item);
    SendMessageA(tab, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(memory.Address(0)));
    char text[kTextSize] = {};
    memory.Read(kTextOffset, text, kTextSize - 1);
    items.emplace_back(text);
  }
  return items;
}

int TabSelection(HWND tab) { return static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0)); }

void SelectTab(HWND tab, int index) {
  // Clicks the tab as a user would, so the control sends its own notifications.
  RECT rect{};
  {
    RemoteMemory memory(tab, sizeof rect);
    if (!SendMessageA(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(memory.Address(0))))
      Fail("tab " + std::to_string(index) + " has no rectangle");
    memory.Read(0, &rect, sizeof rect);
  }
  LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(tab, WM_LBUTTONUP, 0, point);
  WaitUntil([&] { return TabSelection(tab) == index; }, "tab " + std::to_string(index) + " to be selected");
}

// ---- Message boxes ----------------------------------------------------------

std::optional<MessageBoxInfo> CurrentMessageBox(const Process& process) {
  BoxSearch search{process.Id(), nullptr};
  EnumWindows(&MatchMessageBox, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return std::nullopt;
  MessageBoxInfo info;
  info.window = search.found;
  info.caption = WindowText(search.found);
  info.text = WindowText(GetDlgItem(search.found, 0xFFFF));
  // Windows numbers the icon static 0x14, Wine 0x440; Wine keeps it even for a box without icon.
  for (int iconId : {0x14, 0x440}) {
    HWND icon = GetDlgItem(search.found, iconId);
    if (icon != nullptr && SendMessageA(icon, STM_GETICON, 0, 0) != 0) info.hasIcon = true;
  }
  EnumChildWindows(search.found, &CollectButtons, reinterpret_cast<LPARAM>(&info.buttons));
  return info;
}

MessageBoxInfo WaitForMessageBox(const Process& process, int timeoutMs) {
  std::optional<MessageBoxInfo> box;
  WaitUntil([&] { return (box = CurrentMessageBox(process)).has_value(); },
            "a message box of process " + std::to_string(process.Id()), timeoutMs);
  return *box;
}

bool NoMessageBoxWithin(const Process& process, int timeoutMs) {
  return !BecomesTrueWithin([&] { return CurrentMessageBox(process).has_value(); }, timeoutMs);
}

void Answer(const MessageBoxInfo& box, int buttonId) {
  HWND button = GetDlgItem(box.window, buttonId);
  if (button == nullptr) Fail("message box '" + box.text + "' has no button " + std::to_string(buttonId));
  PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  WaitUntil([&] { return !IsWindow(box.window); }, "message box '" + box.text + "' to close");
}

// ---- Our own windows --------------------------------------------------------

OwnWindow::OwnWindow(const char* className, const char* title) : className_(className) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  window_ = CreateWindowA(className, title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 60, nullptr, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  if (window_ == nullptr) Fail(std::string("cannot create a window of class ") + className + LastErrorText());
}

OwnWindow::~OwnWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  UnregisterClassA(className_.c_str(), GetModuleHandleA(nullptr));
}

// ---- Registry ---------------------------------------------------------------

DWORD RegValue::AsDword() const {
  DWORD value = 0;
  std::memcpy(&value, data.data(), data.size() < 4 ? data.size() : 4);
  return value;
}

std::string RegValue::AsString() const {
  std::string text(data.begin(), data.end());
  auto end = text.find('\0');
  return end == std::string::npos ? text : text.substr(0, end);
}

std::optional<RegValue> ReadValue(const std::string& key, const std::string& name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return std::nullopt;
  RegValue value;
  DWORD size = 0;
  LONG result = RegQueryValueExA(handle, name.c_str(), nullptr, &value.type, nullptr, &size);
  if (result == ERROR_SUCCESS) {
    value.data.resize(size);
    result = RegQueryValueExA(handle, name.c_str(), nullptr, &value.type, value.data.data(), &size);
    value.data.resize(size);
  }
  RegCloseKey(handle);
  if (result != ERROR_SUCCESS) return std::nullopt;
  return value;
}

std::vector<std::string> ValueNames(const std::string& key) {
  std::vector<std::string> names;
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return names;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumValueA(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  RegCloseKey(handle);
  return names;
}

bool KeyExists(const std::string& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

void WriteValue(const std::string& key, const std::string& name, DWORD type, const void* data, DWORD size) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    Fail("cannot create registry key " + key);
  LONG result = RegSetValueExA(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(handle);
  if (result != ERROR_SUCCESS) Fail("cannot write registry value " + key + "\\" + name);
}

void WriteDword(const std::string& key, const std::string& name, DWORD value) {
  WriteValue(key, name, REG_DWORD, &value, sizeof value);
}

void CreateVolatileKey(const std::string& key) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &handle, nullptr) != ERROR_SUCCESS) {
    Fail("cannot create the volatile key HKLM\\" + key);
  }
  RegCloseKey(handle);
}

void WriteString(const std::string& key, const std::string& name, const std::string& value) {
  WriteValue(key, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void DeleteValue(const std::string& key, const std::string& name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) return;
  RegDeleteValueA(handle, name.c_str());
  RegCloseKey(handle);
}

void DeleteKeyTree(const std::string& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) return;
  std::vector<std::string> children;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.emplace_back(name, length);
  }
  RegCloseKey(handle);
  for (const auto& child : children) DeleteKeyTree(key + "\\" + child);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}

// ---- Files ----------------------------------------------------------------------

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::string> TryReadFileBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string data;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) data.append(buffer, read);
  CloseHandle(file);
  return data;
}

std::string ReadFileBytes(const std::string& path) {
  std::optional<std::string> data = TryReadFileBytes(path);
  if (!data) Fail("cannot read " + path + LastErrorText());
  return *data;
}

void WriteFileBytes(const std::string& path, const std::string& data) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot write " + path + LastErrorText());
  DWORD written = 0;
  BOOL ok = WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != data.size()) Fail("short write to " + path);
}

void CopyFileTo(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) Fail("cannot copy " + from + " to " + to + LastErrorText());
}

void MakeFolders(const std::string& path) {
  for (std::size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
  if (!FileExists(path)) Fail("cannot create folder " + path);
}

void DeleteTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace e2e

int main(int argc, char** argv) {
  using namespace e2e;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const auto& entry : Cases()) std::printf("%s\n", entry.name);
    return 0;
  }
  if (argc != 2) {
    std::printf("usage: %s <case> | --list\n", argv[0]);
    return 2;
  }
  const CaseEntry* chosen = nullptr;
  for (const auto& entry : Cases())
    if (std::strcmp(entry.name, argv[1]) == 0) chosen = &entry;
  if (chosen == nullptr) {
    std::printf("no case named %s\n", argv[1]);
    return 2;
  }
  currentCase = chosen->name;
  double start = NowMs();
  try {
    RemoveDllOverrides();
    DeleteKeyTree("SOFTWARE\\OrbinetUS");
    DeleteTree(CaseFolder());
    MakeFolders(CaseFolder());
    chosen->function();
  } catch (const CaseFailure& failure) {
    caseFailed = true;
    std::printf("failure: %s\n", failure.message.c_str());
  } catch (const std::exception& error) {
    caseFailed = true;
    std::printf("exception: %s\n", error.what());
  }
  for (HANDLE process : startedProcesses) {
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
      std::printf("note: terminating a process the case left running\n");
      TerminateProcess(process, 255);
      WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
  }
  std::printf("[%s] %s (%.0f ms)\n", caseFailed ? "FAIL" : " OK ", currentCase.c_str(), NowMs() - start);
  return caseFailed ? 1 : 0;
}
