#include "configtool/app/help_path.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/fakes/fake_system.h"

namespace {

using configtool::BuildHelpPath;
using configtool::kPathBufferSize;

std::string Build(const std::string& own, const std::string& file = "VELDARA Config.chm") {
  char path[kPathBufferSize];
  if (!BuildHelpPath(own.c_str(), file, path)) return "<refused>";
  return path;
}

TEST(HelpPath, CutsAtTheLastBackslash) {
  EXPECT_EQ(Build("C:\\Games\\VELDARA\\VELDARA Config.exe"), "C:\\Games\\VELDARA\\VELDARA Config.chm");
  EXPECT_EQ(Build("C:\\a/b\\c/d.exe"), "C:\\a/b\\VELDARA Config.chm");
}

TEST(HelpPath, UsesTheLastForwardSlashWithoutBackslash) {
  EXPECT_EQ(Build("/opt/game/tool.exe"), "/opt/game\\VELDARA Config.chm");
}

TEST(HelpPath, PathWithoutSeparatorStaysWhole) {
  EXPECT_EQ(Build("tool.exe"), "tool.exe\\VELDARA Config.chm");
}

TEST(HelpPath, LongestResultThatFitsIsBuilt) {
  // folder + "\" + 18 characters + terminator = 260.
  std::string folder = "C:\\" + std::string(237, 'f');
  ASSERT_EQ(folder.size() + 1 + 18 + 1, kPathBufferSize);
  EXPECT_EQ(Build(folder + "\\x.exe"), folder + "\\VELDARA Config.chm");
}

TEST(HelpPath, ResultThatDoesNotFitIsRefused) {
  std::string folder = "C:\\" + std::string(238, 'f');
  char path[kPathBufferSize] = "sentinel";
  EXPECT_FALSE(BuildHelpPath((folder + "\\x.exe").c_str(), "VELDARA Config.chm", path));
  EXPECT_STREQ(path, "");
}

TEST(HelpPath, UnterminatedOwnPathIsRefused) {
  std::string own(kPathBufferSize + 5, 'a');
  EXPECT_EQ(Build(own), "<refused>");
}

TEST(HelpPath, OwnPathComesFromTheModule) {
  fakes::FakeModuleInfo module;
  module.fileName = "D:\\Tools\\VELDARA Config.exe";
  char path[kPathBufferSize];
  ASSERT_TRUE(configtool::BuildOwnHelpPath(module, "VELDARA Config.chm", path));
  EXPECT_STREQ(path, "D:\\Tools\\VELDARA Config.chm");
  module.failFileName = true;
  EXPECT_FALSE(configtool::BuildOwnHelpPath(module, "VELDARA Config.chm", path));
}

}  // namespace
