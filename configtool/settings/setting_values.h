// The game settings in memory: one 32-bit slot per setting number and the
// tool-wide SettingsChanged flag. The program keeps exactly one instance; the
// pages read and assign settings by number, GameSettings loads and saves them.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace configtool {

// Setting numbers of the table (value name = the number with "%04d"), under
// the settings' own names; the five settings that have none are named by number.
enum SettingNumber : int {
  MipMapping = 0,
  OverlayWidth = 1,
  OverlayHeight = 2,
  BackgroundWidth = 3,
  BackgroundHeight = 4,
  SoundEnabled = 7,
  EnvironmentalAnimation = 11,
  BumpMapping = 17,
  TextureCompression = 18,
  MapCompression = 19,
  kSetting20 = 20,
  HardwareMouseCursor = 21,
  OpeningMovie = 22,
  SimpleCharacterCreation = 23,
  kSetting24 = 24,
  GammaBase = 28,
  SoundEffectCount = 29,
  Lcd3dMode = 30,
  kSetting31 = 31,
  kSetting32 = 32,
  kSetting33 = 33,
  WindowedMode = 34,
};

constexpr int kSettingSlots = 35;  // numbers 0..34; only the table's 22 are used

class SettingValues {
 public:
  // Raw 32 bits of a setting; 0 for a number outside 0..34.
  std::uint32_t Bits(int number) const { return InRange(number) ? slots_[number] : 0; }
  void SetBits(int number, std::uint32_t bits) {
    if (InRange(number)) slots_[number] = bits;
  }

  // Integer settings are signed 32-bit.
  std::int32_t Int(int number) const {
    std::uint32_t bits = Bits(number);
    std::int32_t value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  void SetInt(int number, std::int32_t value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    SetBits(number, bits);
  }

  // Settings 28 and 31 hold the bits of a single-precision float.
  float Float(int number) const {
    std::uint32_t bits = Bits(number);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  void SetFloat(int number, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    SetBits(number, bits);
  }

  bool SettingsChanged() const { return settingsChanged_; }
  void SetSettingsChanged(bool changed) { settingsChanged_ = changed; }

 private:
  static bool InRange(int number) { return number >= 0 && number < kSettingSlots; }

  std::array<std::uint32_t, kSettingSlots> slots_{};
  bool settingsChanged_ = false;
};

}  // namespace configtool
