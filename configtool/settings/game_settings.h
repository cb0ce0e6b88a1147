// GameSettings: the table of 22 numbered settings and their registry key
// HKEY_LOCAL_MACHINE\<region root>VeldaraTestClient, values "0000".."0034" as
// REG_DWORD. The store opens the key once and holds it until it is destroyed;
// the values themselves live in the program's SettingValues.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "configtool/settings/setting_values.h"
#include "platform/registry.h"

namespace configtool {

struct SettingDefinition {
  int number;
  std::uint32_t defaultBits;
};

// Room for a value name: four digits and the terminator.
constexpr std::size_t kValueNameSize = 5;

// Formats the value name of a setting number with "%04d"; false (and an empty
// name) when the number does not fit four digits.
bool FormatValueName(int number, char (&name)[kValueNameSize]);

constexpr int kSettingCount = 22;

// The table in table order, which is also the order of loading and saving.
extern const std::array<SettingDefinition, kSettingCount> kSettingsTable;

// Whether number is one of the table's settings.
bool IsTableSetting(int number);

enum AccessModeValue : int {
  kAccessNone = 0,
  kAccessReadWrite = 1,
  kAccessReadOnly = 2,
};

constexpr char kSettingsKeyName[] = "VeldaraTestClient";

class GameSettings {
 public:
  // OpenKey, ResetToDefaults, then Load.
  GameSettings(platform::Registry& registry, SettingValues& values, int regionIndex);
  ~GameSettings();
  GameSettings(const GameSettings&) = delete;
  GameSettings& operator=(const GameSettings&) = delete;

  // Creates or opens the key, first for full access (mode 1), then for
  // reading (mode 2); mode 0 and false when both fail.
  bool OpenKey();
  // All 22 settings to their table defaults, in memory only.
  void ResetToDefaults();
  // Reads every setting of the table; a missing value, or one longer than 4
  // bytes, is written back with the setting's current value. False when one
  // of those writes failed.
  bool Load();
  // Writes all 22 settings as REG_DWORD; false without a write in modes 0 and
  // 2, or when any write failed.
  bool Save();

  int AccessMode() const { return accessMode_; }

 private:
  bool WriteSetting(const SettingDefinition& setting);

  platform::Registry& registry_;
  SettingValues& values_;
  int regionIndex_;
  int accessMode_ = kAccessNone;
  std::unique_ptr<platform::RegistryKey> key_;
};

}  // namespace configtool
