// VELDARA Config's shell work under Wine with Wine's own shell32 and ole32:
// the desktop shortcut, the gamepad tool run while the tool hides, and the
// Media Center registration removed on every save (Wine is no Media Center
// system) and added by the same flow through a test program.
#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"
#include "tests/e2e/configtool/config_session.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/shell_links.h"

namespace {

using namespace configtest;

constexpr char kGameFolder[] = "C:\\Games\\Demo";
constexpr char kShortcutQuestion[] =
    "Create a shortcut for VELDARA on the desktop?\nWhen this shortcut is selected, the Orbinet Viewer will launch "
    "and a shortcut command for VELDARA will appear on the main menu.";
constexpr char kPadTitle[] = "VELDARA Gamepad Configuration Tool";
constexpr char kRegisterTool[] = "C:\\windows\\ehome\\RegisterMCEApp.exe";
constexpr char kRegisterRecord[] = "C:\\windows\\ehome\\RegisterMCEApp.txt";
constexpr char kReleaseEvent[] = "VELDARA e2e RegisterMCEApp release";

std::string DesktopLink() { return e2e::DesktopFolder() + "\\VELDARA Test Client.LNK"; }

// A fresh game folder with the launcher in it, registered as the install folder.
void PrepareGameFolder(const std::string& registered) {
  e2e::DeleteTree(kGameFolder);
  e2e::MakeFolders(kGameFolder);
  e2e::CopyFileTo(e2e::BuildPath("launcher/orbboot.exe"), std::string(kGameFolder) + "\\orbboot.exe");
  e2e::WriteString(kInstallKey, "0015", registered);
}

// The recording stand-in of the Media Center registration tool, with an empty record.
class RegisterToolStandIn {
 public:
  RegisterToolStandIn() {
    e2e::MakeFolders("C:\\windows\\ehome");
    DeleteFileA(kRegisterRecord);
    e2e::CopyFileTo(e2e::BuildPath("tests/e2e/configtool/RegisterMCEApp.exe"), kRegisterTool);
  }
  ~RegisterToolStandIn() {
    DeleteFileA(kRegisterTool);
    DeleteFileA(kRegisterRecord);
  }
  std::string Record() const { return e2e::TryReadFileBytes(kRegisterRecord).value_or(""); }
};

void CreateShortcutAnsweringYes(const e2e::Process& tool, HWND general) {
  e2e::Click(general, IDC_CREATE_SHORTCUT);
  e2e::MessageBoxInfo question = ExpectBox(tool, kShortcutQuestion, {IDYES, IDNO});
  E2E_CHECK(question.hasIcon);
  e2e::Answer(question, IDYES);
  e2e::Answer(ExpectBox(tool, "A shortcut to VELDARA has been placed on the desktop.", {IDOK}), IDOK);
}

}  // namespace

E2E_CASE(CreateShortcutPutsALinkToTheLauncherOnTheDesktop) {
  PrepareGameFolder("C:\\Games\\Demo\\");
  DeleteFileA(DesktopLink().c_str());
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND general = Page(dialog, 0);
  CreateShortcutAnsweringYes(tool, general);

  // The desktop of the test prefix is the run's own home folder in the build tree.
  E2E_CHECK(e2e::FileExists(e2e::BuildPath("wine/home/VELDARA Test Client.LNK")));
  std::optional<e2e::ShellLinkFields> link = e2e::ReadShellLink(DesktopLink());
  E2E_REQUIRE(link.has_value());
  E2E_CHECK_EQ(link->target, std::string("C:\\Games\\Demo\\orbboot.exe"));
  E2E_CHECK_EQ(link->workingDirectory, std::string("C:\\Games\\Demo"));
  E2E_CHECK_EQ(link->description, std::string("VELDARA Test Client"));
  E2E_CHECK_EQ(link->arguments, std::string());

  // A second creation replaces whatever the file holds.
  e2e::WriteFileBytes(DesktopLink(), "not a link");
  E2E_CHECK(!e2e::ReadShellLink(DesktopLink()).has_value());
  CreateShortcutAnsweringYes(tool, general);
  link = e2e::ReadShellLink(DesktopLink());
  E2E_REQUIRE(link.has_value());
  E2E_CHECK_EQ(link->target, std::string("C:\\Games\\Demo\\orbboot.exe"));

  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
  DeleteFileA(DesktopLink().c_str());
}

E2E_CASE(CreateShortcutDoesNothingWithoutGameFolderOrAfterNo) {
  DeleteFileA(DesktopLink().c_str());
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND general = Page(dialog, 0);
  e2e::Click(general, IDC_CREATE_SHORTCUT);
  e2e::Answer(ExpectBox(tool, kShortcutQuestion, {IDYES, IDNO}), IDYES);
  E2E_CHECK(e2e::NoMessageBoxWithin(tool, 1500));

  PrepareGameFolder("C:\\Games\\Demo");
  e2e::Click(general, IDC_CREATE_SHORTCUT);
  e2e::Answer(ExpectBox(tool, kShortcutQuestion, {IDYES, IDNO}), IDNO);
  E2E_CHECK(e2e::NoMessageBoxWithin(tool, 1000));
  E2E_CHECK(!e2e::FileExists(DesktopLink()));
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(GamepadSettingsHidesTheToolWhileTheGamepadToolRuns) {
  // The gamepad tool is found beside the configuration tool.
  const std::string folder = e2e::CaseFolder();
  e2e::CopyFileTo(ToolPath(), folder + "\\VELDARA Config.exe");
  e2e::CopyFileTo(e2e::BuildPath("padtool/VdraPadConfig.exe"), folder + "\\VdraPadConfig.exe");
  e2e::Process tool = e2e::Start(folder + "\\VELDARA Config.exe");
  HWND dialog = WaitForMainDialog(tool);
  e2e::Click(Page(dialog, 0), IDC_GAMEPAD_SETTINGS);

  HWND pad = nullptr;
  e2e::WaitUntil([&] { return (pad = FindWindowA("#32770", kPadTitle)) != nullptr && IsWindowVisible(pad); },
                 "the gamepad tool on screen", 30000);
  e2e::WaitUntil([&] { return !IsWindowVisible(dialog); }, "the configuration tool to hide");
  RECT shown{};
  GetWindowRect(pad, &shown);
  E2E_CHECK(shown.right > shown.left && shown.bottom > shown.top);
  E2E_CHECK(e2e::NoMessageBoxWithin(tool, 500));
  E2E_CHECK(!IsWindowVisible(dialog));

  DWORD padId = 0;
  GetWindowThreadProcessId(pad, &padId);
  e2e::Process padTool(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, padId), padId);
  PostMessageA(pad, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  // A first run of the gamepad tool asks whether to save its assignment.
  if (auto box = e2e::CurrentMessageBox(padTool); box || !padTool.EndsWithin(3000)) {
    e2e::Answer(e2e::WaitForMessageBox(padTool), IDNO);
  }
  padTool.WaitForExit();
  e2e::WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }, "the configuration tool to show again");
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(SaveRemovesTheMediaCenterRegistrationAfterTheToolEnded) {
  PrepareGameFolder("C:\\Games\\Demo");
  for (const char* file : {"\\VDRA.XML", "\\VDRA.PNG", "\\ORBBOOT.EXE.LNK"}) {
    e2e::WriteFileBytes(kGameFolder + std::string(file), "registered");
  }
  RegisterToolStandIn standIn;
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, kReleaseEvent);
  E2E_REQUIRE(release != nullptr);

  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  e2e::Click(Page(dialog, 0), IDC_MIP_MAPPING);
  e2e::Click(dialog, IDOK);
  e2e::Answer(ExpectBox(tool, "Save settings?", {IDYES, IDNO, IDCANCEL}), IDYES);

  e2e::WaitUntil([&] { return !standIn.Record().empty(); }, "the registration tool to start");
  E2E_CHECK_EQ(standIn.Record(),
               std::string("C:\\windows\\ehome\\RegisterMCEApp.exe /u /allusers \"C:\\Games\\Demo\\VDRA.XML\"\r\n"));
  E2E_CHECK(!e2e::FileExists("C:\\Games\\Demo\\ORBBOOT.EXE.LNK"));
  E2E_CHECK(e2e::NoMessageBoxWithin(tool, 1500));
  E2E_CHECK(e2e::FileExists("C:\\Games\\Demo\\VDRA.XML"));
  E2E_CHECK(e2e::FileExists("C:\\Games\\Demo\\VDRA.PNG"));

  SetEvent(release);
  e2e::Answer(ExpectBox(tool, "Settings saved.", {IDOK}), IDOK);
  E2E_CHECK(standIn.Record().find("\r\nended\r\n") != std::string::npos);
  ExpectSilentExit(tool);
  CloseHandle(release);
  E2E_CHECK(!e2e::FileExists("C:\\Games\\Demo\\VDRA.XML"));
  E2E_CHECK(!e2e::FileExists("C:\\Games\\Demo\\VDRA.PNG"));
  ExpectValue("0000", 1);
}

// Leaves C:\Games\Demo\VDRA.XML in the test prefix for inspection.
E2E_CASE(MediaCenterAddWritesDescriptionTileAndLink) {
  PrepareGameFolder("C:\\Games\\Demo\\");
  RegisterToolStandIn standIn;
  e2e::StartOptions options;
  options.arguments = "\"" + ToolPath() + "\"";
  e2e::Process add = e2e::Start(e2e::BuildPath("tests/e2e/configtool/media_center_add.exe"), options);
  E2E_CHECK_EQ(add.WaitForExit(), 0u);

  std::string description = e2e::ReadFileBytes(e2e::SourcePath("configtool/resources/mce_app.xml"));
  description.replace(description.find("ORBBOOT.EXE.LNK"), 15, "C:\\Games\\Demo\\ORBBOOT.EXE.LNK");
  E2E_CHECK_EQ(e2e::ReadFileBytes("C:\\Games\\Demo\\VDRA.XML"), description);
  E2E_CHECK(e2e::ReadFileBytes("C:\\Games\\Demo\\VDRA.PNG") ==
            e2e::ReadFileBytes(e2e::SourcePath("configtool/resources/mce_tile.png")));
  std::optional<e2e::ShellLinkFields> link = e2e::ReadShellLink("C:\\Games\\Demo\\ORBBOOT.EXE.LNK");
  E2E_REQUIRE(link.has_value());
  E2E_CHECK_EQ(link->target, std::string("C:\\Games\\Demo\\orbboot.exe"));
  E2E_CHECK_EQ(link->arguments, std::string("/MediaCenter"));
  E2E_CHECK_EQ(link->description, std::string());
  E2E_CHECK_EQ(link->workingDirectory, std::string());
  e2e::WaitUntil([&] { return standIn.Record().find("ended") != std::string::npos; }, "the registration tool to end");
  E2E_CHECK_EQ(standIn.Record(),
               std::string("C:\\windows\\ehome\\RegisterMCEApp.exe /allusers \"C:\\Games\\Demo\\VDRA.XML\"\r\nended\r\n"));
}

E2E_CASE(AnInstallFolderThatIsNoAbsolutePathIsNotFound) {
  RegisterToolStandIn standIn;
  const std::string relative = e2e::CaseFolder() + "\\Q";
  e2e::MakeFolders(relative);
  // Where the flows would act if the values were taken for folders: the drive's
  // root for "" and the folder below the current one for "Q".
  std::vector<std::string> untouched;
  for (const std::string& folder : {std::string("C:"), relative}) {
    for (const char* file : {"\\VDRA.XML", "\\VDRA.PNG", "\\ORBBOOT.EXE.LNK"}) {
      untouched.push_back(folder + file);
      e2e::WriteFileBytes(untouched.back(), "kept");
    }
  }
  e2e::StartOptions inCaseFolder;
  inCaseFolder.workingDirectory = e2e::CaseFolder();
  e2e::StartOptions addFlow = inCaseFolder;
  addFlow.arguments = "\"" + ToolPath() + "\"";

  for (const char* value : {"", "Q"}) {
    e2e::WriteString(kInstallKey, "0015", value);
    DeleteFileA(DesktopLink().c_str());
    e2e::Process tool = e2e::Start(ToolPath(), inCaseFolder);
    HWND dialog = WaitForMainDialog(tool);
    HWND general = Page(dialog, 0);
    e2e::Click(general, IDC_CREATE_SHORTCUT);
    e2e::Answer(ExpectBox(tool, kShortcutQuestion, {IDYES, IDNO}), IDYES);
    E2E_CHECK(e2e::NoMessageBoxWithin(tool, 1500));
    E2E_CHECK(!e2e::FileExists(DesktopLink()));

    // The save runs the remove flow (Wine is no Media Center system).
    e2e::Click(general, IDC_MIP_MAPPING);
    SaveAndClose(tool, dialog);
    E2E_CHECK_EQ(e2e::Start(e2e::BuildPath("tests/e2e/configtool/media_center_add.exe"), addFlow).WaitForExit(), 0u);
  }
  E2E_CHECK(!e2e::BecomesTrueWithin([&] { return !standIn.Record().empty(); }, 1500));
  for (const std::string& file : untouched) {
    E2E_CHECK_EQ(e2e::ReadFileBytes(file), std::string("kept"));
    DeleteFileA(file.c_str());
  }
}
