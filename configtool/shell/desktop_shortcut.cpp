#include "configtool/shell/desktop_shortcut.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "configtool/resources/resource.h"
#include "configtool/shell/install_folder.h"
#include "configtool/shell/path_text.h"

namespace configtool {

namespace {

constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorPathNotFound = 3;
constexpr platform::HResult kHrPathNotFound = static_cast<platform::HResult>(0x80070003);

// Copies text of a known length when it fits with its terminator.
bool CopyName(const char* text, std::size_t length, char* path, std::size_t size) {
  if (length >= size) return false;
  std::memcpy(path, text, length);
  path[length] = '\0';
  return true;
}

// Length of the item list at the start of its memory block, with the zero
// size field that ends it; 0 when no such field lies within the block.
std::size_t ItemListLength(const std::vector<std::uint8_t>& block) {
  std::size_t at = 0;
  while (at + 2 <= block.size()) {
    std::size_t itemSize = block[at] | (block[at + 1] << 8);
    if (itemSize == 0) return at + 2;
    at += itemSize;
  }
  return 0;
}

platform::HResult NameDoesNotFit(platform::Shell& shell) {
  shell.SetLastError(platform::kErrorInsufficientBuffer);
  return platform::kHrInsufficientBuffer;
}

platform::HResult FromLastError(platform::Shell& shell) {
  std::uint32_t error = shell.GetLastError();
  if (error == 0) return platform::kHrFail;
  return static_cast<platform::HResult>(0x80070000u | (error & 0xFFFFu));
}

void WriteDiagnostic(platform::Shell& shell, const char* operation, platform::HResult result) {
  char line[96];
  std::snprintf(line, sizeof line, "%s code = 0x%X-%d\n", operation, static_cast<unsigned>(result),
                static_cast<int>(shell.GetLastError()));
  shell.WriteStandardOutput(line);
}

}  // namespace

platform::HResult GetDesktopPathSH(platform::Shell& shell, char* path, std::size_t size) {
  std::unique_ptr<platform::ItemList> items;
  platform::HResult result = shell.GetSpecialFolderLocation(platform::kCsidlDesktopDirectory, &items);
  if (!platform::HrSucceeded(result)) {
    shell.SetLastError(platform::kErrorInvalidFunction);
    return result;
  }
  std::unique_ptr<platform::ShellFolder> desktop;
  result = shell.GetDesktopFolder(&desktop);
  if (!platform::HrSucceeded(result)) {
    shell.SetLastError(kErrorFileNotFound);
    return result;
  }
  platform::StrRet name;
  platform::HResult named = desktop->GetDisplayNameOf(*items, platform::kShgdnForParsing, &name);

  switch (name.type) {
    case platform::kStrRetWstr:
      if (size == 0) return NameDoesNotFit(shell);
      if (shell.WideToAnsi(name.wide, path, static_cast<int>(size)) == 0) {
        // The conversion's own last error stays; a partly written name is dropped.
        path[0] = '\0';
        return FromLastError(shell);
      }
      break;
    case platform::kStrRetOffset: {
      // The name lies inside the list; a list that does not end within its
      // block has no name to offer.
      std::vector<std::uint8_t> bytes = items->Bytes();
      std::size_t listLength = ItemListLength(bytes);
      if (name.offset >= listLength) return NameDoesNotFit(shell);
      const char* text = reinterpret_cast<const char*>(bytes.data() + name.offset);
      std::size_t room = listLength - name.offset;
      std::size_t length = strnlen(text, room);
      if (length == room || !CopyName(text, length, path, size)) return NameDoesNotFit(shell);
      break;
    }
    case platform::kStrRetCstr: {
      std::size_t length = strnlen(name.cStr, sizeof name.cStr);
      if (length == sizeof name.cStr || !CopyName(name.cStr, length, path, size)) return NameDoesNotFit(shell);
      break;
    }
    default:
      break;
  }
  // No name (a failed display-name call, an unknown kind, an empty string) is
  // no desktop: the link would land at the drive's root.
  if (size == 0 || path[0] == '\0') {
    shell.SetLastError(kErrorPathNotFound);
    return platform::HrSucceeded(named) ? kHrPathNotFound : named;
  }
  return result;
}

platform::HResult CreateShortCut(platform::Shell& shell, const char* target, const char* linkFile,
                                 const char* description, const char* arguments, const char* workingDirectory) {
  std::unique_ptr<platform::ShellLink> link;
  platform::HResult result = shell.CreateShellLink(&link);
  if (!platform::HrSucceeded(result)) return result;
  // Declared after the link, so it is released before it.
  std::unique_ptr<platform::PersistFile> file;
  result = link->QueryPersistFile(&file);
  if (platform::HrSucceeded(result)) result = link->SetPath(target);
  if (platform::HrSucceeded(result)) result = link->SetDescription(description);
  if (platform::HrSucceeded(result)) result = link->SetArguments(arguments);
  if (platform::HrSucceeded(result)) result = link->SetWorkingDirectory(workingDirectory);
  if (platform::HrSucceeded(result)) {
    char16_t widePath[PathText::kCapacity];
    if (shell.AnsiToWide(linkFile, widePath, static_cast<int>(PathText::kCapacity)) == 0) {
      // An unconvertible or too long path is never saved under a mangled name.
      result = FromLastError(shell);
    } else {
      result = file->Save(widePath, true);
    }
  }
  return result;
}

namespace {

int CreateDesktopLink(platform::Shell& shell, const PathText& target, const PathText& workingDirectory) {
  char desktop[PathText::kCapacity] = "";
  platform::HResult result = GetDesktopPathSH(shell, desktop, sizeof desktop);
  if (!platform::HrSucceeded(result)) {
    WriteDiagnostic(shell, "GetDesktopPathSH", result);
    return 0;
  }
  PathText linkFile;
  // A link path that does not fit is never handed to CreateShortCut, so
  // there is no CreateShortCut result to report.
  if (!linkFile.Append(desktop) || !linkFile.Append("\\") || !linkFile.Append(kShortcutName) ||
      !linkFile.Append(".LNK")) {
    shell.SetLastError(platform::kErrorInsufficientBuffer);
    return 0;
  }
  result = CreateShortCut(shell, target.c_str(), linkFile.c_str(), kShortcutName, "", workingDirectory.c_str());
  if (!platform::HrSucceeded(result)) WriteDiagnostic(shell, "CreateShortCut", result);
  return platform::HrSucceeded(result) ? 1 : 0;
}

}  // namespace

int CreateDesktopShortcut(platform::Shell& shell, const char* installFolder) {
  PathText workingDirectory;
  PathText target;
  // A folder too long for the target path gets no link rather than a cut one.
  if (!workingDirectory.Append(installFolder) || !target.Append(installFolder) || !target.Append("\\") ||
      !target.Append(kLauncherFileName)) {
    return 0;
  }
  // CoUninitialize follows on every path, also after a failed CoInitialize.
  int created = 0;
  if (platform::HrSucceeded(shell.InitializeCom())) created = CreateDesktopLink(shell, target, workingDirectory);
  shell.UninitializeCom();
  return created;
}

void RunCreateShortcutFlow(platform::DialogControls& controls, platform::Registry& registry, int regionIndex,
                           platform::Shell& shell) {
  if (controls.ShowMessage(IDS_CREATE_SHORTCUT, IDS_CAPTION, platform::kMbYesNo | platform::kMbIconQuestion) !=
      platform::kIdYes) {
    return;
  }
  PathText folder;
  if (!GetInstallFolder(registry, regionIndex, &folder)) return;
  if (CreateDesktopShortcut(shell, folder.c_str()) == 1) {
    controls.ShowMessage(IDS_SHORTCUT_CREATED, IDS_CAPTION, platform::kMbOk);
  } else {
    controls.ShowMessage(IDS_SHORTCUT_FAILED, IDS_CAPTION, platform::kMbIconWarning);
  }
}

}  // namespace configtool
