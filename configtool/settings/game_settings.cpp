#include "configtool/settings/game_settings.h"

#include <cstdio>
#include <cstring>

#include "configtool/settings/region.h"

namespace configtool {

namespace {

constexpr std::uint32_t kBitsOfPoint006 = 0x3BC49BA6;  // 0.006f
constexpr std::size_t kSubkeySize = 260;

}  // namespace

const std::array<SettingDefinition, kSettingCount> kSettingsTable = {{
    {MipMapping, 0},
    {OverlayWidth, 640},
    {OverlayHeight, 480},
    {BackgroundWidth, 512},
    {BackgroundHeight, 512},
    {SoundEnabled, 1},
    {EnvironmentalAnimation, 1},
    {BumpMapping, 0},
    {TextureCompression, 1},
    {MapCompression, 1},
    {kSetting20, 1},
    {HardwareMouseCursor, 0},
    {OpeningMovie, 1},
    {SimpleCharacterCreation, 0},
    {kSetting24, 0},
    {GammaBase, 0x00000000},
    {SoundEffectCount, 12},
    {Lcd3dMode, 0},
    {kSetting31, kBitsOfPoint006},
    {kSetting32, 0},
    {kSetting33, 0},
    {WindowedMode, 0},
}};

bool IsTableSetting(int number) {
  for (const SettingDefinition& setting : kSettingsTable) {
    if (setting.number == number) return true;
  }
  return false;
}

bool FormatValueName(int number, char (&name)[kValueNameSize]) {
  int written = std::snprintf(name, sizeof name, "%04d", number);
  if (written < 0 || static_cast<std::size_t>(written) >= sizeof name) {
    name[0] = '\0';
    return false;
  }
  return true;
}

GameSettings::GameSettings(platform::Registry& registry, SettingValues& values, int regionIndex)
    : registry_(registry), values_(values), regionIndex_(regionIndex) {
  OpenKey();
  ResetToDefaults();
  Load();
}

GameSettings::~GameSettings() = default;

bool GameSettings::OpenKey() {
  const char* root = SettingsRegionRoot(regionIndex_);
  if (root == nullptr) return false;
  char subkey[kSubkeySize];
  int written = std::snprintf(subkey, sizeof subkey, "%s%s", root, kSettingsKeyName);
  if (written < 0 || static_cast<std::size_t>(written) >= sizeof subkey) return false;

  std::unique_ptr<platform::RegistryKey> key;
  if (registry_.CreateKey(subkey, platform::kKeyAllAccess, &key) == platform::kErrorSuccess && key) {
    key_ = std::move(key);
    accessMode_ = kAccessReadWrite;
    return true;
  }
  key.reset();
  if (registry_.CreateKey(subkey, platform::kKeyRead, &key) == platform::kErrorSuccess && key) {
    key_ = std::move(key);
    accessMode_ = kAccessReadOnly;
    return true;
  }
  return false;
}

void GameSettings::ResetToDefaults() {
  for (const SettingDefinition& setting : kSettingsTable) values_.SetBits(setting.number, setting.defaultBits);
}

bool GameSettings::Load() {
  if ((accessMode_ != kAccessReadWrite && accessMode_ != kAccessReadOnly) || !key_) return true;
  bool allWritten = true;
  for (const SettingDefinition& setting : kSettingsTable) {
    char name[kValueNameSize];
    if (!FormatValueName(setting.number, name)) continue;
    // Data shorter than 4 bytes fills the low bytes; the rest stays zero.
    std::uint8_t data[4] = {0, 0, 0, 0};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof data;
    long result = key_->QueryValue(name, &type, data, &size);
    if (result == platform::kErrorSuccess && size <= sizeof data) {
      std::uint32_t bits = 0;
      std::memcpy(&bits, data, sizeof bits);
      values_.SetBits(setting.number, bits);
    } else if (!WriteSetting(setting)) {
      allWritten = false;
    }
  }
  return allWritten;
}

bool GameSettings::Save() {
  if (accessMode_ != kAccessReadWrite || !key_) return false;
  bool allWritten = true;
  for (const SettingDefinition& setting : kSettingsTable) {
    if (!WriteSetting(setting)) allWritten = false;
  }
  return allWritten;
}

bool GameSettings::WriteSetting(const SettingDefinition& setting) {
  char name[kValueNameSize];
  if (!FormatValueName(setting.number, name)) return false;
  std::uint32_t bits = values_.Bits(setting.number);
  std::uint8_t data[4];
  std::memcpy(data, &bits, sizeof data);
  return key_->SetValue(name, platform::kRegDword, data, sizeof data) == platform::kErrorSuccess;
}

}  // namespace configtool
