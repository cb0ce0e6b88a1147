// orbboot.exe under Wine: the stub in a game folder starts the launcher one folder up.
#include <optional>
#include <string>

#include "tests/e2e/driver/driver.h"

namespace {

struct PlatformFolder {
  std::string platform;  // holds the launcher
  std::string game;      // holds the stub
};

// <case>\<base>\Platform\Game\orbboot.exe and, unless without, the recording
// launcher as <case>\<base>\Platform\orbboot.exe.
PlatformFolder LayOut(const std::string& base, bool withLauncher = true) {
  PlatformFolder folder;
  folder.platform = e2e::CaseFolder() + "\\" + base + "\\Platform";
  folder.game = folder.platform + "\\Game";
  e2e::MakeFolders(folder.game);
  e2e::CopyFileTo(e2e::BuildPath("launcher/orbboot.exe"), folder.game + "\\orbboot.exe");
  if (withLauncher)
    e2e::CopyFileTo(e2e::BuildPath("tests/e2e/launcher/recording_launcher.exe"), folder.platform + "\\orbboot.exe");
  return folder;
}

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// The launcher's record once its line is complete (it may still be writing it).
std::string WaitForRecord(const PlatformFolder& folder) {
  std::string record = folder.platform + "\\launcher_started.txt";
  std::optional<std::string> text;
  e2e::WaitUntil(
      [&] {
        text = e2e::TryReadFileBytes(record);
        return text && text->size() >= 2 && text->compare(text->size() - 2, 2, "\r\n") == 0;
      },
      "the launcher to record its start in " + record);
  return *text;
}

}  // namespace

E2E_CASE(StartsLauncherOneFolderUp) {
  PlatformFolder folder = LayOut("Games");
  e2e::Process stub = e2e::Start(folder.game + "\\orbboot.exe");
  E2E_CHECK_EQ(stub.WaitForExit(), 0u);
  // The directory is upper-cased; the appended part stays as written.
  E2E_CHECK_EQ(WaitForRecord(folder), Upper(folder.game) + "\\..\\orbboot.exe\r\n");
}

E2E_CASE(FolderWithBlanksStillFindsTheLauncher) {
  PlatformFolder folder = LayOut("Program Files");
  e2e::Process stub = e2e::Start(folder.game + "\\orbboot.exe");
  E2E_CHECK_EQ(stub.WaitForExit(), 0u);
  // The stub passes the path unquoted; Wine quotes the program part of the
  // command line it hands to the started process.
  E2E_CHECK_EQ(WaitForRecord(folder), "\"" + Upper(folder.game) + "\\..\\orbboot.exe\"\r\n");
}

E2E_CASE(MediaCenterArgumentChangesNothing) {
  PlatformFolder folder = LayOut("Games");
  e2e::StartOptions options;
  options.arguments = "/MediaCenter";
  e2e::Process stub = e2e::Start(folder.game + "\\orbboot.exe", options);
  E2E_CHECK_EQ(stub.WaitForExit(), 0u);
  E2E_CHECK_EQ(WaitForRecord(folder), Upper(folder.game) + "\\..\\orbboot.exe\r\n");
}

E2E_CASE(MissingLauncherStillExitsZero) {
  PlatformFolder folder = LayOut("Games", false);
  e2e::Process stub = e2e::Start(folder.game + "\\orbboot.exe");
  E2E_CHECK_EQ(stub.WaitForExit(), 0u);
  E2E_CHECK(!e2e::FileExists(folder.platform + "\\launcher_started.txt"));
}

E2E_CASE(ShowsNoWindow) {
  PlatformFolder folder = LayOut("Games");
  e2e::Process stub = e2e::Start(folder.game + "\\orbboot.exe");
  bool sawWindow = false;
  while (stub.Running()) {
    if (e2e::FindTopLevel(stub, nullptr, nullptr) != nullptr) sawWindow = true;
    e2e::Pump(5);
  }
  E2E_CHECK(!sawWindow);
  E2E_CHECK_EQ(stub.WaitForExit(), 0u);
}
