#include "padtool/assignment/pad_settings_store.h"

#include <cstdio>
#include <cstring>

#include "padtool/assignment/stored_text.h"
#include "padtool/resources/resource.h"

namespace padtool {

namespace {

constexpr std::size_t kSubkeySize = 260;

// Reads a value into buffer; returns the bytes of text (up to the first zero
// byte) or -1 when the value is missing or does not fit.
long ReadText(platform::RegistryKey* key, const char* name, char* buffer, std::size_t size) {
  if (key == nullptr) return -1;
  std::uint32_t type = 0;
  auto room = static_cast<std::uint32_t>(size);
  if (key->QueryValue(name, &type, buffer, &room) != platform::kErrorSuccess) return -1;
  if (room > size) return -1;
  const void* end = std::memchr(buffer, '\0', room);
  return end != nullptr ? static_cast<const char*>(end) - buffer : static_cast<long>(room);
}

bool WriteText(platform::RegistryKey* key, const char* name, const char* text, std::size_t length) {
  if (key == nullptr) return false;
  return key->SetValue(name, platform::kRegSz, text, static_cast<std::uint32_t>(length + 1)) ==
         platform::kErrorSuccess;
}

// Whether the stored text fails to start with `text`. A stored text that goes
// on after `text` counts as the same only when `text` ends at a field
// boundary: "1,0,1,1,9" holds "1,0,1,1", but "...,12" does not hold "...,1".
bool StoredDiffers(platform::RegistryKey* key, const char* name, const char* text, std::size_t length) {
  char stored[kCompareBufferSize] = {};
  long storedLength = ReadText(key, name, stored, sizeof stored);
  if (storedLength < 0) return true;
  const auto available = static_cast<std::size_t>(storedLength);
  if (available < length) return true;
  if (std::memcmp(stored, text, length) != 0) return true;
  return available > length && stored[length] != ',' && stored[length] != ' ';
}

}  // namespace

long PadSettingsStore::Open(std::uint32_t access, std::unique_ptr<platform::RegistryKey>& key) {
  key.reset();
  char subkey[kSubkeySize];
  int length = std::snprintf(subkey, sizeof subkey, "%s%s", kSettingsRoot, kSettingsClient);
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof subkey) return platform::kErrorFileNotFound;
  long result = registry_.CreateKey(subkey, access, &key);
  if (result != platform::kErrorSuccess) key.reset();
  return result;
}

void PadSettingsStore::Load(PadAssignment& record, platform::DialogControls& dialog) {
  std::unique_ptr<platform::RegistryKey> key;
  if (Open(platform::kKeyAllAccess, key) != platform::kErrorSuccess) {
    dialog.ShowMessage(IDS_NEED_ADMIN, IDS_CAPTION, platform::kMbIconExclamation | platform::kMbOk);
    Open(platform::kKeyRead, key);
  }
  dialog.SetChecked(IDC_ENABLE_HAT_SWITCHES, false);
  dialog.SetChecked(IDC_ENABLE_SLIDER, false);

  char text[kLoadBufferSize];
  long length = ReadText(key.get(), kCodesValueName, text, sizeof text);
  if (length >= 0) {
    ParseFields(text, static_cast<std::size_t>(length), record.codes.data(), kCodeCount);
    for (std::size_t i = 0; i < kCodeCount; ++i) {
      if (IsFunctionIndex(i)) dialog.SetComboSelection(FunctionComboId(i), record.codes[i]);
    }
  }

  length = ReadText(key.get(), kFlagsValueName, text, sizeof text);
  if (length >= 0) {
    std::int32_t flags[kFlagCount];
    std::size_t count = ParseFields(text, static_cast<std::size_t>(length), flags, kFlagCount);
    for (std::size_t i = 0; i < count; ++i) *record.Flag(i) = flags[i];
  } else {
    record.gamepadEnabled = 0;
    record.forceFeedbackEnabled = 1;
    record.sliderEnabled = 1;
    record.hatSwitchesEnabled = 1;
  }
}

CloseDecision PadSettingsStore::SaveOnClose(const PadAssignment& record, bool silent,
                                            platform::DialogControls& dialog, std::uint8_t& busy) {
  std::unique_ptr<platform::RegistryKey> key;
  Open(platform::kKeyAllAccess, key);

  char codes[kCodesTextSize];
  char flags[kFlagsTextSize];
  const std::size_t codesLength = FormatCodes(record, codes);
  const std::size_t flagsLength = FormatFlags(record, flags);

  bool changed = false;
  if (StoredDiffers(key.get(), kCodesValueName, codes, codesLength)) changed = true;
  if (StoredDiffers(key.get(), kFlagsValueName, flags, flagsLength)) changed = true;
  if (!changed) return CloseDecision::Close;

  auto writeBoth = [&] {
    return WriteText(key.get(), kCodesValueName, codes, codesLength) &&
           WriteText(key.get(), kFlagsValueName, flags, flagsLength);
  };

  if (silent) {
    writeBoth();
    return CloseDecision::Close;
  }

  // The question may open while a child dialog holds the flag already: leaving
  // it set keeps the main dialog from reading the controller beside that child.
  const std::uint8_t wasBusy = busy;
  busy = 1;
  CloseDecision decision = CloseDecision::Close;
  const int answer = dialog.ShowMessage(IDS_SAVE_CHANGES, IDS_CAPTION, platform::kMbYesNoCancel);
  if (answer == platform::kIdYes || answer == platform::kIdOk) {
    if (writeBoth()) {
      dialog.ShowMessage(IDS_SETTINGS_SAVED, IDS_CAPTION, platform::kMbIconInformation | platform::kMbOk);
    } else {
      dialog.ShowMessage(IDS_SAVE_FAILED, IDS_CAPTION, platform::kMbIconExclamation | platform::kMbOk);
    }
  } else if (answer != platform::kIdNo) {
    decision = CloseDecision::Stay;
  }
  busy = wasBusy;
  return decision;
}

}  // namespace padtool
