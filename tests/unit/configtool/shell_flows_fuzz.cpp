// Fuzzes what the configuration tool builds from the game folder: the
// description edit with any template bytes and any link path, and the
// install-folder value with any type, length and bytes through the shortcut
// flow and both Media Center flows (with any Windows folder, failing starts,
// conversions and saves, and missing resources). Every documented outcome is
// checked; a mismatch traps.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "configtool/resources/resource.h"
#include "configtool/shell/description_edit.h"
#include "configtool/shell/desktop_shortcut.h"
#include "configtool/shell/install_folder.h"
#include "configtool/shell/media_center.h"
#include "tests/fakes/fake_dialog_controls.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_shell.h"
#include "tests/fakes/fake_system_services.h"
#include "tests/unit/configtool/fuzz_input.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using fuzz::Check;

constexpr std::size_t kPathRoom = 259;  // characters of a path before its terminator
constexpr char kDesktopLink[] = "C:\\Users\\Player\\Desktop\\VELDARA Test Client.LNK";

// The value of the first run="..." as the scan finds it, a byte of 0x80 or
// above taking the next byte with it: [start, end), or false.
bool RunValue(const Bytes& text, std::size_t* start, std::size_t* end) {
  std::size_t p = 0;
  for (; p < text.size(); ++p) {
    if (text[p] >= 0x80) {
      ++p;
      continue;
    }
    if (text.size() - p >= 5 && std::memcmp(&text[p], "run=\"", 5) == 0) break;
  }
  if (p >= text.size()) return false;
  *start = p + 5;
  for (std::size_t q = *start; q < text.size(); ++q) {
    if (text[q] >= 0x80) {
      ++q;
      continue;
    }
    if (text[q] == '"') {
      *end = q;
      return true;
    }
  }
  return false;
}

// Reads attribute text back as an XML parser does; false for anything that is
// not plain ASCII or one of the references the edit writes.
bool DecodeAttribute(const Bytes& text, std::u32string* decoded) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint8_t c = text[i];
    if (c >= 0x80 || c < 0x20 || c == '<' || c == '"') return false;
    if (c != '&') {
      decoded->push_back(c);
      continue;
    }
    std::size_t semicolon = i;
    while (semicolon < text.size() && text[semicolon] != ';') ++semicolon;
    if (semicolon == text.size()) return false;
    std::string name(text.begin() + i + 1, text.begin() + semicolon);
    if (name == "amp") {
      decoded->push_back('&');
    } else if (name == "lt") {
      decoded->push_back('<');
    } else if (name == "quot") {
      decoded->push_back('"');
    } else if (name.size() > 1 && name.size() <= 8 && name[0] == '#' &&
               name.find_first_not_of("0123456789", 1) == std::string::npos) {
      std::uint32_t code = std::stoul(name.substr(1));
      if (code < 0x80 || code > 0x10FFFF) return false;
      decoded->push_back(code);
    } else {
      return false;
    }
    i = semicolon;
  }
  return true;
}

// The code points of UTF-16 text; false for a control character or a lone surrogate.
bool CodePoints(const std::u16string& text, std::u32string* points) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c < 0x20) return false;
    if (c >= 0xD800 && c <= 0xDFFF) {
      if (c > 0xDBFF || i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    points->push_back(c);
  }
  return true;
}

// The edit's result against the scan and a decoding of the inserted text.
void CheckEdit(const Bytes& templateBytes, const std::u16string& link) {
  Bytes result;
  bool edited = configtool::EditDescription(templateBytes.data(), templateBytes.size(), link, &result);
  std::size_t start = 0;
  std::size_t end = 0;
  std::u32string points;
  bool expected = RunValue(templateBytes, &start, &end) && CodePoints(link, &points);
  Check(edited == expected);
  if (!edited) {
    Check(result.empty());
    return;
  }
  std::size_t tail = templateBytes.size() - end;
  Check(result.size() >= start + tail);
  Check(std::equal(templateBytes.begin(), templateBytes.begin() + start, result.begin()));
  Check(std::equal(templateBytes.begin() + end, templateBytes.end(), result.end() - tail));
  std::u32string decoded;
  Check(DecodeAttribute(Bytes(result.begin() + start, result.end() - tail), &decoded) && decoded == points);
}

// The folder GetInstallFolder must give for a stored value, or false.
bool ExpectedFolder(const fakes::RegValue& value, std::string* folder) {
  if (value.data.size() > 260) return false;
  auto length = static_cast<std::size_t>(std::find(value.data.begin(), value.data.end(), 0) - value.data.begin());
  if (length == 260) return false;
  std::string text(value.data.begin(), value.data.begin() + length);
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  bool drive = text.size() >= 3 && letter(text[0]) && text[1] == ':' && text[2] == '\\';
  bool unc = text.size() >= 3 && text[0] == '\\' && text[1] == '\\' && text[2] != '\\';
  if (!drive && !unc) return false;
  if (text.back() == '\\') text.pop_back();
  *folder = text;
  return true;
}

std::u16string Widened(const std::string& text) {
  std::u16string wide;
  for (unsigned char c : text) wide.push_back(c);  // the fake shell's conversion
  return wide;
}

struct World {
  fakes::FakeRegistry registry;
  fakes::FakeShell shell;
  fakes::FakeFiles files;
  fakes::FakeSystemInfo system;
  fakes::FakeModuleResources resources;
  fakes::FakeProcesses processes;
  std::vector<std::string> journal;
  configtool::MediaCenterServices services{registry, 1, shell, files, system, resources, processes};

  World() {
    files.journal = &journal;
    processes.journal = &journal;
    shell.journal = &journal;
  }
};

std::string RegisterCommand(const std::string& windows, const std::string& folder, const char* arguments) {
  return windows + "\\ehome\\RegisterMCEApp.exe" + arguments + " \"" + folder + "\\VDRA.XML\"";
}

void CheckShortcutFlow(World& w, bool found, const std::string& folder) {
  fakes::FakeDialogControls controls;
  controls.answers = {platform::kIdYes};
  configtool::RunCreateShortcutFlow(controls, w.registry, 1, w.shell);
  if (!found) {
    Check(controls.shown.size() == 1 && w.shell.comInitializations == 0 && w.shell.steps.empty());
    return;
  }
  Check(controls.shown.size() == 2);
  bool fits = folder.size() + 12 <= kPathRoom;
  bool saved = fits && platform::HrSucceeded(w.shell.initializeResult) &&
               platform::HrSucceeded(w.shell.saveResult) && !w.shell.ansiToWideFails;
  Check(controls.shown[1].textId == (saved ? IDS_SHORTCUT_CREATED : IDS_SHORTCUT_FAILED));
  Check(w.shell.saved.count(kDesktopLink) == (saved ? 1u : 0u));
  if (saved) {
    const fakes::SavedLink& link = w.shell.saved[kDesktopLink];
    Check(link.target == folder + "\\orbboot.exe" && link.workingDirectory == folder);
  }
  Check(w.shell.comInitializations == w.shell.comUninitializations);
  Check(w.shell.liveLinks + w.shell.livePersistFiles + w.shell.liveItemLists + w.shell.liveFolders == 0);
}

void CheckAddFlow(World& w, bool found, const std::string& folder, const std::string& windows,
                  const Bytes* description, const Bytes* tile) {
  w.journal.clear();
  w.shell.saved.clear();
  configtool::AddToMediaCenter(w.services);
  if (!found) {
    Check(w.journal.empty() && w.files.files.empty() && w.processes.starts.empty());
    return;
  }
  std::vector<std::string> expected;
  bool fileFits = folder.size() + 9 <= kPathRoom;
  bool linkFits = folder.size() + 16 <= kPathRoom;
  std::u32string points;
  std::size_t start = 0;
  std::size_t end = 0;
  bool describes = description && fileFits && linkFits && !w.shell.ansiToWideFails &&
                   RunValue(*description, &start, &end) && CodePoints(Widened(folder + "\\ORBBOOT.EXE.LNK"), &points);
  if (describes) expected.push_back("WriteFile(" + folder + "\\VDRA.XML)");
  if (tile && fileFits) expected.push_back("WriteFile(" + folder + "\\VDRA.PNG)");
  std::string command = RegisterCommand(windows, folder, " /allusers");
  if (fileFits && windows.size() < 260 && command.size() <= kPathRoom) {
    expected.push_back("StartProcess(" + command + ",1)");
    if (w.processes.startSucceeds) expected.insert(expected.end(), {"CloseHandle", "CloseHandle"});
  }
  if (linkFits) expected.push_back("CoInitialize");
  bool linked = linkFits && platform::HrSucceeded(w.shell.initializeResult);
  bool saved = linked && platform::HrSucceeded(w.shell.saveResult) && !w.shell.ansiToWideFails;
  if (saved) expected.push_back("SaveLink(" + folder + "\\ORBBOOT.EXE.LNK)");
  if (linked) expected.push_back("CoUninitialize");
  Check(w.journal == expected);
  if (tile && fileFits) Check(w.files.files[folder + "\\VDRA.PNG"] == *tile);
  if (describes) {
    const Bytes& written = w.files.files[folder + "\\VDRA.XML"];
    std::size_t tail = description->size() - end;
    std::u32string decoded;
    Check(written.size() >= start + tail &&
          std::equal(description->begin(), description->begin() + start, written.begin()) &&
          DecodeAttribute(Bytes(written.begin() + start, written.end() - tail), &decoded) && decoded == points);
  }
  if (saved) {
    const fakes::SavedLink& link = w.shell.saved[folder + "\\ORBBOOT.EXE.LNK"];
    Check(link.target == folder + "\\orbboot.exe" && link.arguments == "/MediaCenter" && link.workingDirectory.empty());
  }
}

void CheckRemoveFlow(World& w, bool found, const std::string& folder, const std::string& windows) {
  w.journal.clear();
  configtool::RemoveFromMediaCenter(w.services);
  if (!found) {
    Check(w.journal.empty());
    return;
  }
  std::vector<std::string> expected;
  bool fileFits = folder.size() + 9 <= kPathRoom;
  if (folder.size() + 16 <= kPathRoom) expected.push_back("DeleteFile(" + folder + "\\ORBBOOT.EXE.LNK)");
  std::string command = RegisterCommand(windows, folder, " /u /allusers");
  if (fileFits && windows.size() < 260 && command.size() <= kPathRoom) {
    expected.push_back("StartProcess(" + command + ",1)");
    if (w.processes.startSucceeds) expected.insert(expected.end(), {"WaitForProcess(4294967295)", "CloseHandle", "CloseHandle"});
  }
  if (fileFits) expected.insert(expected.end(), {"DeleteFile(" + folder + "\\VDRA.XML)", "DeleteFile(" + folder + "\\VDRA.PNG)"});
  Check(w.journal == expected);
  Check(w.processes.open.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  std::uint8_t switches = in.Byte();

  Bytes templateBytes = in.Bytes(in.U16() % 1024);
  std::u16string link;
  for (std::size_t i = 0, n = in.Byte(); i < n; ++i) {
    std::uint16_t unit = in.U16();
    // Mostly printable ASCII, so that the references are the exception.
    link.push_back(switches & 0x01 ? unit : 0x20 + unit % 0x60);
  }
  CheckEdit(templateBytes, link);

  World w;
  fakes::RegValue value;
  bool registered = !(switches & 0x02);
  if (registered) {
    value.type = in.U32();
    std::size_t length = in.U16() % 300;
    static constexpr const char* kPrefixes[] = {"", "C:\\", "\\\\srv\\", "z:\\G\\"};
    const char* prefix = kPrefixes[in.Byte() % 4];
    value.data.assign(prefix, prefix + std::strlen(prefix));
    Bytes rest = in.Bytes(length);
    value.data.insert(value.data.end(), rest.begin(), rest.end());
    w.registry.Key("SOFTWARE\\OrbinetUS\\InstallFolder")["0015"] = value;
  }
  std::string folder;
  bool found = registered && ExpectedFolder(value, &folder);
  configtool::PathText got;
  Check(configtool::GetInstallFolder(w.registry, 1, &got) == found);
  Check(!found || folder == got.c_str());
  Check(w.registry.openKeys == 0);

  std::string windows;
  std::size_t windowsLength = in.U16() % 300;
  for (std::size_t i = 0; i < windowsLength; ++i) windows.push_back(static_cast<char>(1 + in.Byte() % 255));
  w.system.environment["windir"] = windows;
  if (switches & 0x04) w.shell.saveResult = platform::kHrFail;
  if (switches & 0x08) w.shell.ansiToWideFails = true;
  if (switches & 0x10) w.shell.initializeResult = platform::kHrFail;
  if (switches & 0x20) w.processes.startSucceeds = false;
  Bytes tile = in.Bytes(in.Byte());
  if (!(switches & 0x40)) w.resources.resources[{"MCE_XML", "BINARY"}] = templateBytes;
  if (!(switches & 0x80)) w.resources.resources[{"MCE_PNG", "BINARY"}] = tile;
  if (found && in.Byte() & 1) w.files.files[folder + "\\ORBBOOT.EXE.LNK"] = {};
  bool linkPresent = found && w.files.files.count(folder + "\\ORBBOOT.EXE.LNK");
  Check(configtool::MediaCenterLinkExists(w.services) == (linkPresent && folder.size() + 16 <= kPathRoom));
  w.files.files.clear();

  CheckShortcutFlow(w, found, folder);
  CheckAddFlow(w, found, folder, windows, switches & 0x40 ? nullptr : &templateBytes, switches & 0x80 ? nullptr : &tile);
  CheckRemoveFlow(w, found, folder, windows);
  return 0;
}
