#include "configtool/shell/desktop_shortcut.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configtool/resources/resource.h"
#include "configtool/shell/install_folder.h"
#include "tests/fakes/fake_dialog_controls.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_shell.h"

namespace {

using configtool::PathText;
using fakes::RegValue;

constexpr char kInstallKey[] = "SOFTWARE\\OrbinetUS\\InstallFolder";
constexpr char kLink[] = "C:\\Users\\Player\\Desktop\\VELDARA Test Client.LNK";

void RegisterFolder(fakes::FakeRegistry& registry, const RegValue& value) { registry.Key(kInstallKey)["0015"] = value; }

std::string InstallFolder(fakes::FakeRegistry& registry) {
  PathText folder;
  if (!configtool::GetInstallFolder(registry, 1, &folder)) return "<none>";
  return folder.c_str();
}

TEST(InstallFolder, OneTrailingBackslashGoesAndTheValueMustFitWithFullAccess) {
  fakes::FakeRegistry registry;
  EXPECT_EQ(InstallFolder(registry), "<none>");
  RegisterFolder(registry, RegValue::String("C:\\Games\\Demo\\"));
  EXPECT_EQ(InstallFolder(registry), "C:\\Games\\Demo");
  RegisterFolder(registry, RegValue::String("C:\\Games\\Demo\\\\"));
  EXPECT_EQ(InstallFolder(registry), "C:\\Games\\Demo\\");
  RegisterFolder(registry, RegValue{platform::kRegBinary, {'D', ':', '\\', 'G'}});  // any type, no terminator
  EXPECT_EQ(InstallFolder(registry), "D:\\G");
  const std::string longest = "C:\\" + std::string(256, 'a');  // 259 characters and the terminator
  RegisterFolder(registry, RegValue::String(longest));
  EXPECT_EQ(InstallFolder(registry), longest);
  RegisterFolder(registry, RegValue{platform::kRegSz, std::vector<std::uint8_t>(longest.begin(), longest.end())});
  registry.Key(kInstallKey)["0015"].data.push_back('a');  // 260 characters, no room for the terminator
  EXPECT_EQ(InstallFolder(registry), "<none>");
  RegisterFolder(registry, RegValue::String("C:\\Games\\Demo"));
  registry.deniedAccess.insert(platform::kKeyAllAccess);
  EXPECT_EQ(InstallFolder(registry), "<none>");
  EXPECT_EQ(registry.openKeys, 0);
}

// Values that name no absolute folder, each as its raw registry bytes.
std::vector<RegValue> FoldersNamingNoAbsolutePath() {
  return {RegValue::String(""),         RegValue::String("\\"),          RegValue::String("Q"),
          RegValue::String("Games\\Demo"), RegValue::String("\\Games\\Demo"), RegValue::String("C:"),
          RegValue::String("C:Games"),  RegValue::String("\\\\"),        RegValue::String("\\\\\\srv"),
          RegValue::String("1:\\G"),     RegValue::Dword(0x12345678),    RegValue{platform::kRegBinary, {}}};
}

TEST(InstallFolder, OnlyADriveOrUncPathIsAFolderWhateverItsType) {
  fakes::FakeRegistry registry;
  for (const RegValue& value : FoldersNamingNoAbsolutePath()) {
    RegisterFolder(registry, value);
    EXPECT_EQ(InstallFolder(registry), "<none>") << value.AsString();
  }
  const std::vector<std::pair<RegValue, std::string>> found = {
      {RegValue::String("C:\\"), "C:"},
      {RegValue::String("z:\\G"), "z:\\G"},
      {RegValue::String("\\\\srv\\share\\"), "\\\\srv\\share"},
      {RegValue::String("C:\\Spiele\\\xC4\xF6"), "C:\\Spiele\\\xC4\xF6"},
      {RegValue{platform::kRegDword, {'E', ':', '\\', 0}}, "E:"},
  };
  for (const auto& [value, folder] : found) {
    RegisterFolder(registry, value);
    EXPECT_EQ(InstallFolder(registry), folder) << folder;
  }
}

TEST(DesktopPath, EachStrRetKindGivesThePath) {
  fakes::FakeShell shell;
  char path[260] = "unchanged";
  EXPECT_EQ(configtool::GetDesktopPathSH(shell, path, sizeof path), platform::kHrOk);
  EXPECT_STREQ(path, "C:\\Users\\Player\\Desktop");

  shell.displayName = platform::StrRet{};
  shell.displayName.type = platform::kStrRetOffset;
  shell.displayName.offset = 4;
  shell.itemListBytes = {9, 0, 0, 0, 'D', ':', '\\', 'D', 0, 0, 0};
  EXPECT_EQ(configtool::GetDesktopPathSH(shell, path, sizeof path), platform::kHrOk);
  EXPECT_STREQ(path, "D:\\D");

  shell.displayName.type = platform::kStrRetCstr;
  std::strcpy(shell.displayName.cStr, "E:\\Desk");
  EXPECT_EQ(configtool::GetDesktopPathSH(shell, path, sizeof path), platform::kHrOk);
  EXPECT_STREQ(path, "E:\\Desk");

  shell.displayName.type = 7;
  EXPECT_EQ(configtool::GetDesktopPathSH(shell, path, sizeof path), platform::kHrOk);
  EXPECT_STREQ(path, "E:\\Desk");
  EXPECT_EQ(shell.liveItemLists + shell.liveFolders, 0);
}

TEST(DesktopPath, FailuresSetTheirLastErrorAndANameThatDoesNotFitIsNotCopied) {
  fakes::FakeShell shell;
  char path[8] = "";
  shell.specialFolderResult = static_cast<platform::HResult>(0x80070003);
  EXPECT_EQ(configtool::GetDesktopPathSH(shell, path, sizeof path), shell.specialFolderResult);
  EXPECT_EQ(shell.lastError, 1u);
  shell.specialFolderResult = platform::kHrOk;
  shell.desktopFolderResult = platform::kHrFail;
  EXPECT_EQ(configtool::GetDesktopPathSH(shell, path, sizeof path), platform::kHrFail);
  EXPECT_EQ(shell.lastError, 2u);
  shell.desktopFolderResult = platform::kHrOk;
  EXPECT_EQ(configtool::GetDesktopPathSH(shell, path, sizeof path), platform::kHrInsufficientBuffer);
  EXPECT_STREQ(path, "");
  EXPECT_EQ(shell.liveItemLists + shell.liveFolders, 0);
}

TEST(DesktopPath, AnOffsetNameIsReadOnlyInsideTheListWithinItsBlock) {
  struct Row {
    const char* name;
    std::vector<std::uint8_t> block;
    std::uint32_t offset;
    bool found;
  };
  const std::vector<Row> rows = {
      {"two items", {3, 0, 0, 7, 0, 0, 'D', ':', '\\', 0, 0, 0}, 6, true},
      {"block past the end of the list", {9, 0, 0, 0, 'D', ':', '\\', 0, 0, 0, 0, 'x', 'y'}, 4, true},
      {"size field beyond the block", {200, 0, 0, 0, 'D', ':', '\\', 'D', 0}, 4, false},
      {"item of one byte, no end", {1, 1, 1, 1, 'D', ':', 0}, 4, false},
      {"name after the end of the list", {2, 0, 0, 0, 'D', ':', '\\', 0}, 4, false},
      {"no end field, name unterminated", {6, 0, 'D', ':', '\\', 'D'}, 2, false},
      {"empty block", {}, 0, false},
  };
  for (const Row& row : rows) {
    fakes::FakeShell shell;
    shell.displayName = platform::StrRet{};
    shell.displayName.type = platform::kStrRetOffset;
    shell.displayName.offset = row.offset;
    shell.itemListBytes = row.block;
    char path[260] = "";
    EXPECT_EQ(platform::HrSucceeded(configtool::GetDesktopPathSH(shell, path, sizeof path)), row.found) << row.name;
    EXPECT_STREQ(path, row.found ? "D:\\" : "") << row.name;
  }
}

TEST(DesktopPath, NoNameIsAFailureAndAFailedConversionReportsItsOwnError) {
  platform::StrRet unknownKind;
  unknownKind.type = 7;
  platform::StrRet emptyCstr;
  const platform::HResult kNoName = static_cast<platform::HResult>(0x80070003);
  const platform::HResult kNotImplemented = static_cast<platform::HResult>(0x80004001);
  struct Row {
    const char* name;
    platform::StrRet displayName;
    platform::HResult displayNameResult;
    platform::HResult expected;
  };
  const std::vector<Row> rows = {
      {"unknown kind", unknownKind, platform::kHrOk, kNoName},
      {"empty wide", fakes::FakeShell::WideName(u""), platform::kHrOk, kNoName},
      {"empty ANSI", emptyCstr, platform::kHrOk, kNoName},
      {"display name failed", fakes::FakeShell::WideName(u"C:\\D"), kNotImplemented, kNotImplemented},
  };
  for (const Row& row : rows) {
    fakes::FakeShell shell;
    shell.displayName = row.displayName;
    shell.displayNameResult = row.displayNameResult;
    char path[260] = "";
    EXPECT_EQ(configtool::GetDesktopPathSH(shell, path, sizeof path), row.expected) << row.name;
    EXPECT_EQ(shell.lastError, 3u) << row.name;
  }

  fakes::FakeShell shell;
  shell.wideToAnsiError = 1113;  // ERROR_NO_UNICODE_TRANSLATION
  char path[260] = "";
  EXPECT_EQ(configtool::GetDesktopPathSH(shell, path, sizeof path), static_cast<platform::HResult>(0x80070459));
  EXPECT_EQ(shell.lastError, 1113u);
  EXPECT_STREQ(path, "");
}

struct FailingStep {
  const char* name;
  platform::HResult fakes::FakeShell::*result;
  std::size_t stepsMade;
};

TEST(CreateShortCut, EachStepOnlyAfterTheOneBeforeAndEverythingReleasedOnEveryPath) {
  const platform::HResult kFailure = static_cast<platform::HResult>(0x80070005);
  const std::vector<FailingStep> rows = {
      {"CoCreateInstance", &fakes::FakeShell::createLinkResult, 1},
      {"QueryInterface", &fakes::FakeShell::queryPersistResult, 2},
      {"SetPath", &fakes::FakeShell::setPathResult, 3},
      {"SetDescription", &fakes::FakeShell::setDescriptionResult, 4},
      {"SetArguments", &fakes::FakeShell::setArgumentsResult, 5},
      {"SetWorkingDirectory", &fakes::FakeShell::setWorkingDirectoryResult, 6},
      {"Save", &fakes::FakeShell::saveResult, 7},
  };
  for (const FailingStep& row : rows) {
    fakes::FakeShell shell;
    shell.*row.result = kFailure;
    EXPECT_EQ(configtool::CreateShortCut(shell, "C:\\G\\orbboot.exe", "C:\\D\\x.LNK", "d", "", "C:\\G"), kFailure)
        << row.name;
    EXPECT_EQ(shell.steps.size(), row.stepsMade) << row.name;
    EXPECT_EQ(shell.liveLinks + shell.livePersistFiles, 0) << row.name;
    EXPECT_TRUE(shell.saved.empty()) << row.name;
  }

  fakes::FakeShell shell;
  shell.ansiToWideFails = true;
  EXPECT_FALSE(platform::HrSucceeded(configtool::CreateShortCut(shell, "t", "l", "d", "", "w")));
  EXPECT_EQ(shell.steps.back(), "SetWorkingDirectory");
  EXPECT_EQ(shell.liveLinks + shell.livePersistFiles, 0);
}

class DesktopShortcutTest : public ::testing::Test {
 protected:
  fakes::FakeShell shell;
};

TEST_F(DesktopShortcutTest, TheLinkStartsTheLauncherInTheGameFolder) {
  EXPECT_EQ(configtool::CreateDesktopShortcut(shell, "C:\\Games\\Demo"), 1);
  ASSERT_EQ(shell.saved.count(kLink), 1u);
  const fakes::SavedLink& link = shell.saved[kLink];
  EXPECT_EQ(link.target, "C:\\Games\\Demo\\orbboot.exe");
  EXPECT_EQ(link.description, "VELDARA Test Client");
  EXPECT_EQ(link.arguments, "");
  EXPECT_EQ(link.workingDirectory, "C:\\Games\\Demo");
  EXPECT_TRUE(link.remembered);
  EXPECT_EQ(shell.standardOutput, "");
  // A folder too long for the target gets no link rather than a cut one.
  EXPECT_EQ(configtool::CreateDesktopShortcut(shell, std::string(248, 'a').c_str()), 0);
  EXPECT_EQ(configtool::CreateDesktopShortcut(shell, std::string(247, 'a').c_str()), 1);
}

TEST_F(DesktopShortcutTest, ComIsUninitialisedOnceOnEveryPath) {
  struct Path {
    const char* name;
    platform::HResult fakes::FakeShell::*result;
    int expected;
    const char* output;
  };
  const std::vector<Path> paths = {
      {"success", nullptr, 1, ""},
      {"CoInitialize", &fakes::FakeShell::initializeResult, 0, ""},
      {"desktop", &fakes::FakeShell::specialFolderResult, 0, "GetDesktopPathSH code = 0x80004005-1\n"},
      {"save", &fakes::FakeShell::saveResult, 0, "CreateShortCut code = 0x80004005-0\n"},
  };
  for (const Path& path : paths) {
    fakes::FakeShell shell;
    if (path.result != nullptr) shell.*path.result = platform::kHrFail;
    EXPECT_EQ(configtool::CreateDesktopShortcut(shell, "C:\\Games\\Demo"), path.expected) << path.name;
    EXPECT_EQ(shell.comInitializations, 1) << path.name;
    EXPECT_EQ(shell.comUninitializations, 1) << path.name;
    EXPECT_EQ(shell.standardOutput, path.output) << path.name;
  }
}

TEST_F(DesktopShortcutTest, OnlyTheStepThatFailedWritesItsLine) {
  shell.displayName.type = 7;
  EXPECT_EQ(configtool::CreateDesktopShortcut(shell, "C:\\Games\\Demo"), 0);
  EXPECT_EQ(shell.standardOutput, "GetDesktopPathSH code = 0x80070003-3\n");

  shell.standardOutput.clear();
  shell.displayName = fakes::FakeShell::WideName(u"C:\\" + std::u16string(240, u'd'));  // the link path cannot fit
  EXPECT_EQ(configtool::CreateDesktopShortcut(shell, "C:\\Games\\Demo"), 0);
  EXPECT_EQ(shell.standardOutput, "");
  EXPECT_TRUE(shell.steps.empty());
  EXPECT_EQ(shell.comUninitializations, 2);
}

class ShortcutFlowTest : public ::testing::Test {
 protected:
  void Run() { configtool::RunCreateShortcutFlow(controls, registry, 1, shell); }
  std::vector<int> Shown() const {
    std::vector<int> ids;
    for (const auto& shown : controls.shown) ids.push_back(shown.textId);
    return ids;
  }
  fakes::FakeDialogControls controls;
  fakes::FakeRegistry registry;
  fakes::FakeShell shell;
};

TEST_F(ShortcutFlowTest, NoDoesNothingNoFolderShowsNothingMoreElseSuccessOrFailureIsReported) {
  RegisterFolder(registry, RegValue::String("C:\\Games\\Demo\\"));
  controls.answers = {platform::kIdNo};
  Run();
  EXPECT_EQ(Shown(), std::vector<int>{IDS_CREATE_SHORTCUT});
  EXPECT_EQ(controls.shown[0].style, platform::kMbYesNo | platform::kMbIconQuestion);
  EXPECT_EQ(registry.openCalls, 0);
  EXPECT_EQ(shell.comInitializations, 0);

  controls.answers = {platform::kIdYes};
  Run();
  EXPECT_EQ(Shown(), (std::vector<int>{IDS_CREATE_SHORTCUT, IDS_CREATE_SHORTCUT, IDS_SHORTCUT_CREATED}));
  EXPECT_EQ(controls.shown[2].style, platform::kMbOk);
  EXPECT_EQ(shell.saved[kLink].workingDirectory, "C:\\Games\\Demo");

  shell.saveResult = platform::kHrFail;
  controls.answers = {platform::kIdYes};
  Run();
  EXPECT_EQ(controls.shown.back().textId, IDS_SHORTCUT_FAILED);
  EXPECT_EQ(controls.shown.back().style, platform::kMbIconWarning);

  shell.saveResult = platform::kHrOk;
  shell.displayName.type = 7;  // a desktop without a name is no place for the link
  controls.answers = {platform::kIdYes};
  Run();
  EXPECT_EQ(controls.shown.back().textId, IDS_SHORTCUT_FAILED);

  registry.Key(kInstallKey).clear();
  controls.answers = {platform::kIdYes};
  Run();
  EXPECT_EQ(controls.shown.back().textId, IDS_CREATE_SHORTCUT);
}

TEST_F(ShortcutFlowTest, AFolderThatIsNoAbsolutePathStopsAfterTheQuestion) {
  for (const RegValue& value : FoldersNamingNoAbsolutePath()) {
    RegisterFolder(registry, value);
    controls.shown.clear();
    controls.answers = {platform::kIdYes};
    Run();
    EXPECT_EQ(Shown(), std::vector<int>{IDS_CREATE_SHORTCUT}) << value.AsString();
  }
  EXPECT_EQ(shell.comInitializations, 0);
  EXPECT_TRUE(shell.steps.empty());
}

}  // namespace
