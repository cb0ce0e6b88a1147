#include "launcher/launcher_command.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/fakes/fake_system.h"

namespace {

std::string Build(const std::string& path) {
  char command[launcher::kCommandBufferSize];
  if (!launcher::BuildLauncherCommand(path.c_str(), command)) return "<refused>";
  return command;
}

TEST(LauncherCommand, UpperCasesOnlyTheDirectory) {
  EXPECT_EQ(Build("C:\\Program Files\\Platform\\Game\\orbboot.exe"),
            "C:\\PROGRAM FILES\\PLATFORM\\GAME\\..\\orbboot.exe");
}

TEST(LauncherCommand, LeavesBytesOutsideAsciiLettersAlone) {
  EXPECT_EQ(Build("c:\\sp\xe9l_1 {x}\\game\\ORBBOOT.EXE"), "C:\\SP\xe9L_1 {X}\\GAME\\..\\orbboot.exe");
}

TEST(LauncherCommand, DropsOneTrailingBackslashBeforeCutting) {
  // The trailing backslash goes, then the last component is cut as a file name.
  EXPECT_EQ(Build("C:\\Platform\\Game\\"), "C:\\PLATFORM\\..\\orbboot.exe");
  EXPECT_EQ(Build("C:\\Platform\\Game\\\\"), "C:\\PLATFORM\\GAME\\..\\orbboot.exe");
}

TEST(LauncherCommand, PathWithoutBackslashStaysWhole) {
  EXPECT_EQ(Build("orbboot.exe"), "ORBBOOT.EXE\\..\\orbboot.exe");
  EXPECT_EQ(Build("C:/games/orbboot.exe"), "C:/GAMES/ORBBOOT.EXE\\..\\orbboot.exe");
}

TEST(LauncherCommand, LongestDirectoryThatFitsIsAccepted) {
  // 248 + 4 + 11 + terminator = 264 bytes.
  std::string directory = "C:\\" + std::string(245, 'd');
  ASSERT_EQ(directory.size(), 248u);
  std::string command = Build(directory + "\\o.exe");
  EXPECT_EQ(command.size(), 263u);
  EXPECT_EQ(command, "C:\\" + std::string(245, 'D') + "\\..\\orbboot.exe");
}

TEST(LauncherCommand, FirstDirectoryThatDoesNotFitIsRefused) {
  std::string directory = "C:\\" + std::string(246, 'd');
  ASSERT_EQ(directory.size(), 249u);
  char command[launcher::kCommandBufferSize] = "sentinel";
  EXPECT_FALSE(launcher::BuildLauncherCommand((directory + "\\x.exe").c_str(), command));
  EXPECT_STREQ(command, "");
}

TEST(LauncherCommand, UnterminatedPathOfFullBufferIsRefused) {
  std::string path(launcher::kPathBufferSize + 10, 'a');
  EXPECT_EQ(Build(path), "<refused>");
}

TEST(LauncherStub, StartsTheLauncherWithShowCommandFive) {
  fakes::FakeModuleInfo module;
  module.fileName = "C:\\Platform\\Game\\orbboot.exe";
  fakes::FakeCommandStarter starter;
  EXPECT_EQ(launcher::RunLauncherStub(module, starter), 0);
  ASSERT_EQ(starter.started.size(), 1u);
  EXPECT_EQ(starter.started[0].first, "C:\\PLATFORM\\GAME\\..\\orbboot.exe");
  EXPECT_EQ(starter.started[0].second, 5);
}

TEST(LauncherStub, FailedStartStillExitsZero) {
  fakes::FakeModuleInfo module;
  fakes::FakeCommandStarter starter;
  starter.result = 2;  // ERROR_FILE_NOT_FOUND
  EXPECT_EQ(launcher::RunLauncherStub(module, starter), 0);
  EXPECT_EQ(starter.started.size(), 1u);
}

TEST(LauncherStub, NoModuleOrNoFileNameStartsNothing) {
  fakes::FakeCommandStarter starter;
  fakes::FakeModuleInfo noModule;
  noModule.hasModule = false;
  EXPECT_EQ(launcher::RunLauncherStub(noModule, starter), 0);
  fakes::FakeModuleInfo noName;
  noName.failFileName = true;
  EXPECT_EQ(launcher::RunLauncherStub(noName, starter), 0);
  EXPECT_TRUE(starter.started.empty());
}

TEST(LauncherStub, TooLongDirectoryStartsNothing) {
  fakes::FakeModuleInfo module;
  module.fileName = "C:\\" + std::string(250, 'x') + "\\orbboot.exe";
  fakes::FakeCommandStarter starter;
  EXPECT_EQ(launcher::RunLauncherStub(module, starter), 0);
  EXPECT_TRUE(starter.started.empty());
}

}  // namespace
