// End-to-end test driver: a Win32 console program runs inside the test run's
// Wine prefix and drives the real programs from outside, through window
// look-ups and messages, the registry and the file system.
//
// A suite is one executable with cases declared by E2E_CASE. CTest runs it
// once per case (`suite.exe <case>`). Before a case runs, the driver deletes
// HKLM\SOFTWARE\OrbinetUS and recreates the case folder C:\e2e\<case>; after
// it, every process the case started and is still running is terminated.
// Every wait is bounded; a failed wait names what it waited for.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

constexpr int kDefaultTimeoutMs = 15000;

// ---- Failures -------------------------------------------------------------

struct CaseFailure {
  std::string message;
};

// Records a failure and goes on.
void RecordFailure(const std::string& message, const char* file, int line);
// Records a failure and ends the case.
[[noreturn]] void Fail(const std::string& message);

template <typename A, typename B>
void CheckEqual(const A& actual, const B& expected, const char* actualText, const char* expectedText,
                const char* file, int line) {
  if (actual == expected) return;
  std::ostringstream out;
  out << actualText << " == " << expectedText << "\n    actual:   " << actual << "\n    expected: " << expected;
  RecordFailure(out.str(), file, line);
}

#define E2E_CHECK(condition) \
  ((condition) ? (void)0 : ::e2e::RecordFailure("check failed: " #condition, __FILE__, __LINE__))
#define E2E_CHECK_EQ(actual, expected) ::e2e::CheckEqual((actual), (expected), #actual, #expected, __FILE__, __LINE__)
#define E2E_REQUIRE(condition)                                                                      \
  do {                                                                                              \
    if (!(condition)) ::e2e::Fail(std::string("requirement failed: " #condition " at ") + __FILE__); \
  } while (0)

// ---- Cases ----------------------------------------------------------------

using CaseFunction = void (*)();
struct CaseRegistration {
  CaseRegistration(const char* name, CaseFunction function);
};

#define E2E_CASE(name)                                                   \
  static void e2e_case_##name();                                         \
  static ::e2e::CaseRegistration e2e_registration_##name(#name, &e2e_case_##name); \
  static void e2e_case_##name()

// Name of the running case.
const std::string& CaseName();

// ---- Paths ----------------------------------------------------------------

// Windows path of a file in the build tree ("launcher/orbboot.exe").
std::string BuildPath(const std::string& relative);
// Windows path of a file in the source tree.
std::string SourcePath(const std::string& relative);
// The case's own fresh folder, C:\e2e\<case>, without a trailing backslash.
std::string CaseFolder();

// ---- Processes ------------------------------------------------------------

class Process {
 public:
  Process() = default;
  Process(HANDLE process, DWORD id) : handle_(process), id_(id) {}
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  DWORD Id() const { return id_; }
  HANDLE Handle() const { return handle_; }
  bool Running() const;
  // Waits for the end; fails the case on time-out. Returns the exit code.
  DWORD WaitForExit(int timeoutMs = kDefaultTimeoutMs);
  // True when the process ended within the time.
  bool EndsWithin(int timeoutMs);
  void Terminate();

 private:
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

struct StartOptions {
  std::string arguments;         // appended after the quoted program path
  std::string workingDirectory;  // empty: the program's folder
  // Environment variables set for the child only. Wine reads WINEDLLOVERRIDES
  // from the Unix environment of the wine command, not from this block: use
  // NativeDllOverride for test-only DLLs.
  std::vector<std::pair<std::string, std::string>> environment;
  bool quoteProgram = true;
  // 0 or more: STARTF_USESHOWWINDOW with this show command (SW_HIDE, as VELDARA Config starts the gamepad tool).
  int showCommand = -1;
};

// CreateProcessA of the program; fails the case when it cannot start.
Process Start(const std::string& program, const StartOptions& options = {});
// Starts count copies suspended, then resumes them one right after the other,
// as a storm of starts would.
std::vector<Process> StartTogether(const std::string& program, int count, const StartOptions& options = {});

// Makes Wine load the native (file) version of a DLL for one program, chosen by
// its file name, for the life of the object: the per-program override
// HKCU\Software\Wine\AppDefaults\<program>\DllOverrides. Used with a copy of
// the program beside a test-only DLL.
class NativeDllOverride {
 public:
  NativeDllOverride(const std::string& programFileName, const std::string& dll);
  ~NativeDllOverride();
  NativeDllOverride(const NativeDllOverride&) = delete;
  NativeDllOverride& operator=(const NativeDllOverride&) = delete;

 private:
  std::string appKey_;
};

// ---- Windows and controls ---------------------------------------------------

// Polls cond until it holds; fails the case naming `what` on time-out.
void WaitUntil(const std::function<bool()>& cond, const std::string& what, int timeoutMs = kDefaultTimeoutMs);
// True when cond holds within the time (no failure).
bool BecomesTrueWithin(const std::function<bool()>& cond, int timeoutMs);
// Lets the driver's own windows handle their messages for ms milliseconds.
void Pump(int ms);

// First visible top-level window of the process with that class (null: any) and title (null: any).
HWND FindTopLevel(const Process& process, const char* className, const char* title);
HWND WaitForWindow(const Process& process, const char* className, const char* title,
                   int timeoutMs = kDefaultTimeoutMs);
// A dialog (class #32770) with that title.
HWND WaitForDialog(const Process& process, const char* title, int timeoutMs = kDefaultTimeoutMs);
// A visible dialog of the process with that title that has a control of that
// id: tells a program's main dialog from its message boxes of the same caption.
HWND FindDialogWithControl(const Process& process, const char* title, int controlId);
HWND WaitForDialogWithControl(const Process& process, const char* title, int controlId,
                              int timeoutMs = kDefaultTimeoutMs);

HWND Control(HWND dialog, int id);  // fails when missing
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
std::string ClassName(HWND window);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
bool IsVisible(HWND dialog, int id);
bool IsWindowShown(HWND window);

// Posts BM_CLICK; returns at once, so a click that opens a modal box does not block.
void Click(HWND dialog, int id);
// Posts WM_COMMAND(id, BN_CLICKED) to the dialog as a button click would.
void Command(HWND dialog, int id, int notification = BN_CLICKED);
// Selects a combo item and tells the dialog (CBN_SELCHANGE), as a user selection would.
void SelectComboItem(HWND dialog, int id, int index);
int ComboSelection(HWND dialog, int id);
std::vector<std::string> ComboItems(HWND dialog, int id);
// Moves the focus to the control with WM_NEXTDLGCTL (as Tab would).
void FocusControl(HWND dialog, int id);
// The window that has the keyboard focus in the process's GUI thread, null if none.
HWND FocusedWindow(const Process& process);
// The control id that has the keyboard focus in the process's GUI thread, 0 if none.
int FocusedControlId(const Process& process);
// Posts a key-down and key-up of the virtual key to the window.
void SendKey(HWND window, UINT virtualKey);
// Posts a character message.
void SendChar(HWND window, char character);

// Tab control items (read through the other process's memory), selection and switching.
std::vector<std::string> TabItems(HWND tab);
int TabSelection(HWND tab);
void SelectTab(HWND tab, int index);

// ---- Message boxes ----------------------------------------------------------

struct MessageBoxInfo {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  bool hasIcon = false;  // the icon static holds an icon (STM_GETICON)
  std::vector<int> buttons;  // ids of the visible buttons (IDOK, IDYES, ...)
};

// Finds a message box of the process; fails when none appears in time.
MessageBoxInfo WaitForMessageBox(const Process& process, int timeoutMs = kDefaultTimeoutMs);
// Null when no message box of the process is shown right now.
std::optional<MessageBoxInfo> CurrentMessageBox(const Process& process);
// True when no message box appears within the time.
bool NoMessageBoxWithin(const Process& process, int timeoutMs);
// Answers the box with the given button (IDYES, IDNO, IDCANCEL, IDOK) and waits until it is gone.
void Answer(const MessageBoxInfo& box, int buttonId);

// ---- Our own windows --------------------------------------------------------

// A top-level window of the driver, for programs that look for other programs' windows.
class OwnWindow {
 public:
  OwnWindow(const char* className, const char* title);
  ~OwnWindow();
  OwnWindow(const OwnWindow&) = delete;
  OwnWindow& operator=(const OwnWindow&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
  std::string className_;
};

// ---- Registry (HKEY_LOCAL_MACHINE) ------------------------------------------

struct RegValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  DWORD AsDword() const;
  std::string AsString() const;  // up to the first terminator
};

std::optional<RegValue> ReadValue(const std::string& key, const std::string& name);
std::vector<std::string> ValueNames(const std::string& key);
bool KeyExists(const std::string& key);
void WriteValue(const std::string& key, const std::string& name, DWORD type, const void* data, DWORD size);
void WriteDword(const std::string& key, const std::string& name, DWORD value);
// Creates a volatile key: no non-volatile key can be created below it.
void CreateVolatileKey(const std::string& key);
// REG_SZ with the terminator counted.
void WriteString(const std::string& key, const std::string& name, const std::string& value);
void DeleteValue(const std::string& key, const std::string& name);
void DeleteKeyTree(const std::string& key);

// ---- Files --------------------------------------------------------------------

bool FileExists(const std::string& path);
std::string ReadFileBytes(const std::string& path);  // fails the case when the file cannot be read
// The file's bytes, or nothing while it is missing or held open without read sharing.
std::optional<std::string> TryReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& data);
void CopyFileTo(const std::string& from, const std::string& to);
void MakeFolders(const std::string& path);
void DeleteTree(const std::string& path);

// ---- Timing -------------------------------------------------------------------

double NowMs();

}  // namespace e2e
