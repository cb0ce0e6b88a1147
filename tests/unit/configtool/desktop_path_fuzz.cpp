// Fuzzes GetDesktopPathSH with any STRRET (any kind, any offset, ANSI names
// without a terminator, any wide name and conversion failure), any item list
// block, any shell results and any output size, then the desktop shortcut
// built on it. The output buffer is exactly the size given, so a write past
// it is an AddressSanitizer report; every documented outcome is checked.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "configtool/shell/desktop_shortcut.h"
#include "tests/fakes/fake_shell.h"
#include "tests/unit/configtool/fuzz_input.h"

namespace {

using fuzz::Check;
using platform::HResult;

struct Outcome {
  HResult result;
  std::uint32_t lastError;
  std::string text;  // the output as a C string
};

HResult FromWin32(std::uint32_t error) { return static_cast<HResult>(0x80070000u | (error & 0xFFFFu)); }

// The name the STRRET gives, or nothing for a kind that gives none; false
// (with its failure) when the name cannot be taken into size characters.
bool Name(const fakes::FakeShell& shell, const platform::StrRet& name, std::size_t size, bool* given,
          std::string* text, Outcome* failure) {
  *given = true;
  auto doesNotFit = Outcome{platform::kHrInsufficientBuffer, platform::kErrorInsufficientBuffer, ""};
  switch (name.type) {
    case platform::kStrRetWstr: {
      if (size == 0 || (shell.wideToAnsiError == 0 && name.wide.size() + 1 > size)) {
        *failure = doesNotFit;
        return false;
      }
      if (shell.wideToAnsiError != 0) {
        *failure = {FromWin32(shell.wideToAnsiError), shell.wideToAnsiError, ""};
        return false;
      }
      for (char16_t c : name.wide) {
        if (static_cast<char>(c) == '\0') break;
        text->push_back(static_cast<char>(c));
      }
      return true;
    }
    case platform::kStrRetOffset: {
      const std::vector<std::uint8_t>& block = shell.itemListBytes;
      std::size_t end = 0;
      for (std::size_t at = 0; at + 2 <= block.size();) {
        std::size_t itemSize = block[at] | block[at + 1] << 8;
        if (itemSize == 0) {
          end = at + 2;
          break;
        }
        at += itemSize;
      }
      auto terminator = std::find(block.begin() + std::min<std::size_t>(name.offset, end), block.begin() + end, 0);
      if (name.offset >= end || terminator == block.begin() + end ||
          static_cast<std::size_t>(terminator - block.begin()) - name.offset >= size) {
        *failure = doesNotFit;
        return false;
      }
      text->assign(block.begin() + name.offset, terminator);
      return true;
    }
    case platform::kStrRetCstr: {
      std::size_t length = strnlen(name.cStr, sizeof name.cStr);
      if (length == sizeof name.cStr || length >= size) {
        *failure = doesNotFit;
        return false;
      }
      text->assign(name.cStr, length);
      return true;
    }
    default:
      *given = false;
      return true;
  }
}

Outcome Expected(const fakes::FakeShell& shell, std::size_t size, const std::string& before) {
  if (!platform::HrSucceeded(shell.specialFolderResult)) return {shell.specialFolderResult, 1, before};
  if (!platform::HrSucceeded(shell.desktopFolderResult)) return {shell.desktopFolderResult, 2, before};
  platform::StrRet name = platform::HrSucceeded(shell.displayNameResult) ? shell.displayName : platform::StrRet{};
  bool given = false;
  std::string text;
  Outcome failure{};
  if (!Name(shell, name, size, &given, &text, &failure)) {
    // A failed conversion drops whatever it wrote; the other failures write nothing.
    failure.text = name.type == platform::kStrRetWstr && size > 0 ? "" : before;
    return failure;
  }
  if (!given) text = before;
  if (size == 0 || text.empty()) {
    HResult named = shell.displayNameResult;
    return {platform::HrSucceeded(named) ? static_cast<HResult>(0x80070003) : named, 3, text};
  }
  return {shell.desktopFolderResult, shell.lastError, text};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  fakes::FakeShell shell;
  std::uint8_t switches = in.Byte();
  if (switches & 0x01) shell.specialFolderResult = static_cast<HResult>(in.U32());
  if (switches & 0x02) shell.desktopFolderResult = static_cast<HResult>(in.U32());
  if (switches & 0x04) shell.displayNameResult = static_cast<HResult>(in.U32());
  if (switches & 0x08) shell.wideToAnsiError = in.U32();

  platform::StrRet& name = shell.displayName;
  name = platform::StrRet{};
  name.type = switches & 0x10 ? in.U32() : in.Byte() % 4;
  name.offset = switches & 0x20 ? in.U32() : in.Byte();
  std::vector<std::uint8_t> ansi = in.Bytes(in.U16() % (sizeof name.cStr + 1));
  std::copy(ansi.begin(), ansi.end(), name.cStr);
  for (std::size_t i = 0, n = in.Byte(); i < n; ++i) name.wide.push_back(in.U16());
  shell.itemListBytes = in.Bytes(in.U16() % 600);

  std::size_t outputSize = in.U16() % 300;
  std::unique_ptr<char[]> output(new char[outputSize]);
  std::string before = outputSize > 0 && (switches & 0x40) ? std::string(std::min<std::size_t>(outputSize - 1, 5), 'x') : "";
  if (outputSize > 0) std::memcpy(output.get(), before.c_str(), before.size() + 1);

  Outcome expected = Expected(shell, outputSize, before);
  HResult result = configtool::GetDesktopPathSH(shell, output.get(), outputSize);
  Check(result == expected.result);
  if (!platform::HrSucceeded(result)) Check(shell.lastError == expected.lastError);
  if (outputSize > 0) Check(std::memchr(output.get(), 0, outputSize) != nullptr && output.get() == expected.text);
  Check(shell.liveItemLists + shell.liveFolders == 0);

  // The desktop link on the same shell: a line only for the step that failed.
  shell.lastError = 0;
  shell.standardOutput.clear();
  Outcome desktop = Expected(shell, 260, "");
  int created = configtool::CreateDesktopShortcut(shell, "C:\\Games\\Demo");
  bool linkFits = desktop.text.size() + 24 <= 259;
  if (!platform::HrSucceeded(desktop.result)) {
    char line[96];
    std::snprintf(line, sizeof line, "GetDesktopPathSH code = 0x%X-%d\n", static_cast<unsigned>(desktop.result),
                  static_cast<int>(desktop.lastError));
    Check(created == 0 && shell.standardOutput == line && shell.steps.empty());
  } else {
    Check(created == (linkFits ? 1 : 0) && shell.standardOutput.empty());
    Check(shell.saved.count(desktop.text + "\\VELDARA Test Client.LNK") == (linkFits ? 1u : 0u));
  }
  Check(shell.comInitializations == 1 && shell.comUninitializations == 1);
  Check(shell.liveLinks + shell.livePersistFiles + shell.liveItemLists + shell.liveFolders == 0);
  return 0;
}
