#include "configtool/shell/media_center.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "configtool/pages/misc_page.h"
#include "configtool/shell/description_edit.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_shell.h"
#include "tests/fakes/fake_system_services.h"
#include "tests/unit/configtool/page_test_support.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes TemplateFile() {
  std::ifstream file(std::string(VELDARA_SOURCE_DIR) + "/configtool/resources/mce_app.xml", std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Edited(const std::string& text, std::u16string_view link) {
  Bytes source = ToBytes(text);
  Bytes result;
  if (!configtool::EditDescription(source.data(), source.size(), link, &result)) return "<none>";
  return std::string(result.begin(), result.end());
}

// The registry form of a GUID: {8-4-4-4-12 hexadecimal digits}.
bool IsBracedGuid(const std::string& text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  for (std::size_t i = 1; i < 37; ++i) {
    bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

TEST(DescriptionTemplate, Is340BytesOfAsciiCrLfLinesWithOneBracedGuidForBothIds) {
  Bytes bytes = TemplateFile();
  std::string text(bytes.begin(), bytes.end());
  EXPECT_EQ(bytes.size(), 340u);
  EXPECT_EQ(text.find('\n') - 1, text.find("\r\n"));
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(text.find("<?xml version=\"1.0\" encoding=\"us-ascii\"?>\r\n"), 0u);
  for (std::uint8_t byte : bytes) EXPECT_LT(byte, 0x80);
  EXPECT_NE(text.find("\t<entrypoint "), std::string::npos);
  EXPECT_NE(text.find("\t\t<category category=\"More Programs\""), std::string::npos);
  std::size_t appId = text.find("<application title=\"VELDARA\" id=\"");
  std::size_t entryId = text.find("<entrypoint id=\"");
  ASSERT_NE(appId, std::string::npos);
  ASSERT_NE(entryId, std::string::npos);
  std::string applicationGuid = text.substr(appId + 33, text.find('"', appId + 33) - (appId + 33));
  EXPECT_TRUE(IsBracedGuid(applicationGuid)) << applicationGuid;
  EXPECT_EQ(applicationGuid, text.substr(entryId + 16, text.find('"', entryId + 16) - (entryId + 16)));
}

TEST(DescriptionEdit, TheRunValueBecomesTheLinkPathAndEverythingElseStays) {
  Bytes bytes = TemplateFile();
  std::string text(bytes.begin(), bytes.end());
  std::string expected = text;
  expected.replace(expected.find("ORBBOOT.EXE.LNK"), 15, "C:\\Games\\Demo\\ORBBOOT.EXE.LNK");
  EXPECT_EQ(Edited(text, u"C:\\Games\\Demo\\ORBBOOT.EXE.LNK"), expected);
  EXPECT_EQ(Edited(text, u"C:\\Games\\Demo\\ORBBOOT.EXE.LNK").size(), 340u + 14u);
}

TEST(DescriptionEdit, ThePathIsWrittenAsAsciiAttributeTextThatXmlReadsBackAsThePath) {
  EXPECT_EQ(Edited("<e run=\"X\"/>", u"C:\\R&D <1> \"q\"\\L"), "<e run=\"C:\\R&amp;D &lt;1> &quot;q&quot;\\L\"/>");
  // Latin, Japanese and a character beyond the 16-bit range (a surrogate pair).
  EXPECT_EQ(Edited("<e run=\"X\"/>", u"C:\\Sp\u00E4l\\\u30B2\U0001F3AE"), "<e run=\"C:\\Sp&#228;l\\&#12466;&#127918;\"/>");
  EXPECT_EQ(Edited("<e run=\"X\"/>", u"C:\\a\tb"), "<none>");
  EXPECT_EQ(Edited("<e run=\"X\"/>", std::u16string(u"C:\\") + char16_t(0xD83C)), "<none>");
  EXPECT_EQ(Edited("<e run=\"X\"/>", std::u16string(u"C:\\") + char16_t(0xDF6E) + u"x"), "<none>");
}

TEST(DescriptionEdit, DoubleByteCharactersHideTheirSecondByteFromTheScan) {
  // A lead byte right before run=" swallows the r, so the keyword is not seen.
  EXPECT_EQ(Edited("<e \x81run=\"X\"/>", u"L"), "<none>");
  EXPECT_EQ(Edited("<e \x81run=\"X\" run=\"Y\"/>", u"L"), "<e \x81run=\"X\" run=\"L\"/>");
  // A second byte that looks like a quote does not end the value.
  EXPECT_EQ(Edited("<e run=\"a\x81\"b\"/>", u"L"), "<e run=\"L\"/>");
  EXPECT_EQ(Edited("<e title=\"X\"/>", u"L"), "<none>");
  EXPECT_EQ(Edited("<e run=\"X", u"L"), "<none>");
  EXPECT_EQ(Edited("run=\"", u"L"), "<none>");
}

struct VersionRow {
  std::uint32_t major;
  std::uint32_t minor;
  int mediaCenterMetric;
  bool versionSucceeds;
  bool mediaCenter;
};

TEST(MediaCenterSystem, OnlyVersion5WithTheMediaCenterMetric) {
  const std::vector<VersionRow> rows = {
      {5, 1, 1, true, true},   {5, 2, 1, true, true},   {5, 0, 1, true, true},  {6, 0, 1, true, false},
      {10, 0, 1, true, false}, {4, 0, 1, true, false},  {5, 1, 0, true, false}, {5, 1, 1, false, false},
  };
  for (const VersionRow& row : rows) {
    fakes::FakeSystemInfo system;
    system.version = {row.major, row.minor, 2600, 2};
    system.metrics[platform::kSmMediaCenter] = row.mediaCenterMetric;
    system.versionSucceeds = row.versionSucceeds;
    EXPECT_EQ(configtool::IsMediaCenterSystem(system), row.mediaCenter) << row.major << "." << row.minor;
    EXPECT_EQ(system.versionInfoSizes, std::vector<std::uint32_t>{148});
  }
}

class MediaCenterFlowTest : public ::testing::Test {
 protected:
  MediaCenterFlowTest() {
    registry.Key("SOFTWARE\\OrbinetUS\\InstallFolder")["0015"] = fakes::RegValue::String("C:\\Games\\Demo\\");
    resources.resources[{"MCE_XML", "BINARY"}] = TemplateFile();
    resources.resources[{"MCE_PNG", "BINARY"}] = {0x89, 'P', 'N', 'G'};
    files.journal = &journal;
    processes.journal = &journal;
    shell.journal = &journal;
  }

  std::vector<std::string> journal;
  fakes::FakeRegistry registry;
  fakes::FakeShell shell;
  fakes::FakeFiles files;
  fakes::FakeSystemInfo system;
  fakes::FakeModuleResources resources;
  fakes::FakeProcesses processes;
  configtool::MediaCenterServices services{registry, 1, shell, files, system, resources, processes};
};

TEST_F(MediaCenterFlowTest, AddWritesBothFilesRegistersWithoutWaitingThenLinksTheLauncher) {
  configtool::AddToMediaCenter(services);
  EXPECT_EQ(journal, (std::vector<std::string>{
                         "WriteFile(C:\\Games\\Demo\\VDRA.XML)",
                         "WriteFile(C:\\Games\\Demo\\VDRA.PNG)",
                         "StartProcess(C:\\WINDOWS\\ehome\\RegisterMCEApp.exe /allusers "
                         "\"C:\\Games\\Demo\\VDRA.XML\",1)",
                         "CloseHandle",
                         "CloseHandle",
                         "CoInitialize",
                         "SaveLink(C:\\Games\\Demo\\ORBBOOT.EXE.LNK)",
                         "CoUninitialize",
                     }));
  EXPECT_NE(files.Text("C:\\Games\\Demo\\VDRA.XML").find("run=\"C:\\Games\\Demo\\ORBBOOT.EXE.LNK\""),
            std::string::npos);
  EXPECT_EQ(files.files["C:\\Games\\Demo\\VDRA.PNG"], (Bytes{0x89, 'P', 'N', 'G'}));
  const fakes::SavedLink& link = shell.saved["C:\\Games\\Demo\\ORBBOOT.EXE.LNK"];
  EXPECT_EQ(link.target, "C:\\Games\\Demo\\orbboot.exe");
  EXPECT_EQ(link.description, "");
  EXPECT_EQ(link.arguments, "/MediaCenter");
  EXPECT_EQ(link.workingDirectory, "");
  EXPECT_TRUE(processes.open.empty());
}

TEST_F(MediaCenterFlowTest, AddGoesOnPastATemplateWithoutRunAndAMissingResource) {
  resources.resources[{"MCE_XML", "BINARY"}] = ToBytes("<application title=\"VELDARA\"/>\r\n");
  resources.resources.erase({"MCE_PNG", "BINARY"});
  configtool::AddToMediaCenter(services);
  EXPECT_TRUE(files.files.empty());
  ASSERT_EQ(processes.starts.size(), 1u);
  EXPECT_EQ(shell.saved.count("C:\\Games\\Demo\\ORBBOOT.EXE.LNK"), 1u);

  // A link path that does not convert names no link in a description either.
  resources.resources[{"MCE_XML", "BINARY"}] = TemplateFile();
  shell.ansiToWideFails = true;
  configtool::AddToMediaCenter(services);
  EXPECT_TRUE(files.files.empty());
  EXPECT_EQ(processes.starts.size(), 2u);
}

TEST_F(MediaCenterFlowTest, RemoveDeletesTheLinkUnregistersAndWaitsThenDeletesTheFiles) {
  configtool::RemoveFromMediaCenter(services);
  EXPECT_EQ(journal, (std::vector<std::string>{
                         "DeleteFile(C:\\Games\\Demo\\ORBBOOT.EXE.LNK)",
                         "StartProcess(C:\\WINDOWS\\ehome\\RegisterMCEApp.exe /u /allusers "
                         "\"C:\\Games\\Demo\\VDRA.XML\",1)",
                         "WaitForProcess(4294967295)",
                         "CloseHandle",
                         "CloseHandle",
                         "DeleteFile(C:\\Games\\Demo\\VDRA.XML)",
                         "DeleteFile(C:\\Games\\Demo\\VDRA.PNG)",
                     }));
}

TEST_F(MediaCenterFlowTest, TheWindowsFolderComesFromWindirAndAValueThatCannotFitStartsNothing) {
  system.environment.clear();
  processes.startSucceeds = false;
  configtool::RemoveFromMediaCenter(services);
  ASSERT_EQ(processes.starts.size(), 1u);
  EXPECT_EQ(processes.starts[0].commandLine, "\\ehome\\RegisterMCEApp.exe /u /allusers \"C:\\Games\\Demo\\VDRA.XML\"");
  EXPECT_TRUE(processes.waits.empty());

  system.environment["windir"] = std::string(200, 'W');  // fits its buffer, not the command
  configtool::RemoveFromMediaCenter(services);
  system.environment["windir"] = std::string(300, 'W');
  configtool::RemoveFromMediaCenter(services);
  EXPECT_EQ(processes.starts.size(), 1u);
}

TEST_F(MediaCenterFlowTest, AFolderThatIsNoAbsolutePathSkipsEveryStep) {
  // The files the flows would touch if the value were taken for a folder.
  for (const char* file : {"\\ORBBOOT.EXE.LNK", "\\VDRA.XML", "Q\\ORBBOOT.EXE.LNK", "Q\\VDRA.XML"}) files.files[file] = {};
  const auto kept = files.files;
  for (const fakes::RegValue& value : {fakes::RegValue::String(""), fakes::RegValue::String("\\"),
                                       fakes::RegValue::String("Q\\"), fakes::RegValue::Dword(0x12345678)}) {
    registry.Key("SOFTWARE\\OrbinetUS\\InstallFolder")["0015"] = value;
    EXPECT_FALSE(configtool::MediaCenterLinkExists(services)) << value.AsString();
    configtool::AddToMediaCenter(services);
    configtool::RemoveFromMediaCenter(services);
    EXPECT_EQ(journal, std::vector<std::string>{}) << value.AsString();
  }
  EXPECT_EQ(files.files, kept);
  EXPECT_EQ(shell.comInitializations, 0);
}

class MiscPageTest : public MediaCenterFlowTest {
 protected:
  MiscPageTest() {
    state.CreateStore();
    system.metrics[platform::kSmMediaCenter] = 1;
  }
  pagetest::PageState state;
  configtool::MiscPage page{state.app, state.controls, services};
};

TEST_F(MiscPageTest, OnAMediaCenterSystemTheBoxFollowsTheLinkOnDisk) {
  page.OnPaint();
  EXPECT_FALSE(state.controls.checked[IDC_ADD_TO_MEDIA_CENTER]);
  EXPECT_TRUE(state.controls.IsEnabled(IDC_ADD_TO_MEDIA_CENTER));
  EXPECT_TRUE(state.controls.checked[IDC_OPENING_MOVIE]);
  files.files["C:\\Games\\Demo\\ORBBOOT.EXE.LNK"] = {};
  page.OnPaint();
  EXPECT_TRUE(state.controls.checked[IDC_ADD_TO_MEDIA_CENTER]);
  EXPECT_EQ(page.MediaCenterChoiceValue(), 1);

  page.ClearMediaCenterChoice();
  journal.clear();
  page.ApplyMediaCenterChoice();
  EXPECT_EQ(journal.front(), "DeleteFile(C:\\Games\\Demo\\ORBBOOT.EXE.LNK)");
}

TEST_F(MiscPageTest, ElsewhereTheBoxIsDisabledAndEverySaveRemoves) {
  system.version.majorVersion = 6;
  configtool::RemoveFromMediaCenter(services);
  const std::vector<std::string> removal = journal;
  files.files["C:\\Games\\Demo\\ORBBOOT.EXE.LNK"] = {};  // registered on an earlier system
  state.controls.checked[IDC_ADD_TO_MEDIA_CENTER] = true;
  for (int save = 1; save <= 2; ++save) {
    page.OnPaint();
    EXPECT_FALSE(state.controls.IsEnabled(IDC_ADD_TO_MEDIA_CENTER));
    EXPECT_TRUE(state.controls.checked[IDC_ADD_TO_MEDIA_CENTER]);  // the state is left as it was
    journal.clear();
    page.ApplyMediaCenterChoice();
    EXPECT_EQ(journal, removal) << "save " << save;
  }
  EXPECT_EQ(files.files.count("C:\\Games\\Demo\\ORBBOOT.EXE.LNK"), 0u);
}

TEST_F(MiscPageTest, ClicksWriteOnlyTheirOwnSettingAndTheMediaCenterBoxIsTheChoice) {
  state.controls.checked[IDC_OPENING_MOVIE] = false;
  state.controls.checked[IDC_HARDWARE_MOUSE_CURSOR] = true;
  page.OnCommand(IDC_OPENING_MOVIE, platform::kBnClicked);
  EXPECT_EQ(state.app.settings.Int(configtool::OpeningMovie), 0);
  EXPECT_EQ(state.app.settings.Int(configtool::HardwareMouseCursor), 0);
  state.app.settings.SetSettingsChanged(false);
  state.controls.checked[IDC_ADD_TO_MEDIA_CENTER] = true;
  page.OnCommand(IDC_ADD_TO_MEDIA_CENTER, platform::kBnClicked);
  EXPECT_TRUE(state.app.settings.SettingsChanged());
  page.ApplyMediaCenterChoice();
  EXPECT_EQ(journal.front(), "WriteFile(C:\\Games\\Demo\\VDRA.XML)");
}

}  // namespace
