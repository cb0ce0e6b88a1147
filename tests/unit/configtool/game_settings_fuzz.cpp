// Fuzzes GameSettings creation and saving over arbitrary registry contents:
// any type, any size, present or missing per value name, denied access modes
// and failing writes. Every documented outcome is checked; a mismatch traps.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "configtool/settings/game_settings.h"
#include "configtool/settings/region.h"
#include "tests/fakes/fake_registry.h"

namespace {

constexpr char kKey[] = "SOFTWARE\\OrbinetUS\\Corvane\\VeldaraTestClient";
const char* const kOtherNames[] = {"0005", "0026", "padsin000"};

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t Byte() { return offset_ < size_ ? data_[offset_++] : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
};

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::uint32_t LowBytes(const std::vector<std::uint8_t>& data) {
  std::uint32_t bits = 0;
  if (!data.empty()) std::memcpy(&bits, data.data(), data.size());
  return bits;
}

struct Planned {
  std::string name;
  bool present = false;
  bool failingWrite = false;
  fakes::RegValue value;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input(data, size);
  fakes::FakeRegistry registry;
  std::uint8_t access = input.Byte();
  bool denyFull = access & 1;
  bool denyRead = access & 2;
  if (denyFull) registry.deniedAccess.insert(platform::kKeyAllAccess);
  if (denyRead) registry.deniedAccess.insert(platform::kKeyRead);

  std::vector<Planned> planned;
  for (const auto& setting : configtool::kSettingsTable) {
    char name[configtool::kValueNameSize];
    Check(configtool::FormatValueName(setting.number, name));
    planned.emplace_back();
    planned.back().name = name;
  }
  for (const char* name : kOtherNames) {
    planned.emplace_back();
    planned.back().name = name;
  }

  auto& key = registry.Key(kKey);
  for (Planned& p : planned) {
    std::uint8_t flags = input.Byte();
    p.present = flags & 1;
    p.failingWrite = flags & 2;
    if (p.failingWrite) registry.failingWrites.insert(p.name);
    if (!p.present) continue;
    p.value.type = input.Byte();
    std::size_t length = input.Byte() % 24;
    for (std::size_t i = 0; i < length; ++i) p.value.data.push_back(input.Byte());
    key[p.name] = p.value;
  }

  configtool::SettingValues values;
  const std::uint32_t untouchedSlot = 0xA5A5A5A5;
  values.SetBits(5, untouchedSlot);
  configtool::GameSettings store(registry, values, configtool::kRegionOrbinetUs);

  int expectedMode = !denyFull ? configtool::kAccessReadWrite
                               : (!denyRead ? configtool::kAccessReadOnly : configtool::kAccessNone);
  Check(store.AccessMode() == expectedMode);
  Check(values.Bits(5) == untouchedSlot);

  bool expectLoadOk = true;
  for (std::size_t i = 0; i < configtool::kSettingsTable.size(); ++i) {
    const auto& setting = configtool::kSettingsTable[i];
    const Planned& p = planned[i];
    bool loads = expectedMode != configtool::kAccessNone && p.present && p.value.data.size() <= 4;
    Check(values.Bits(setting.number) == (loads ? LowBytes(p.value.data) : setting.defaultBits));

    const fakes::RegValue* stored = registry.Find(kKey, p.name);
    bool rewritten = expectedMode == configtool::kAccessReadWrite && !loads && !p.failingWrite;
    if (expectedMode != configtool::kAccessNone && !loads && !rewritten) expectLoadOk = false;
    if (rewritten) {
      Check(stored != nullptr && stored->type == platform::kRegDword && stored->data.size() == 4 &&
            stored->AsDword() == setting.defaultBits);
    } else if (p.present) {
      Check(stored != nullptr && stored->type == p.value.type && stored->data == p.value.data);
    } else {
      Check(stored == nullptr);
    }
  }
  for (std::size_t i = configtool::kSettingsTable.size(); i < planned.size(); ++i) {
    const fakes::RegValue* stored = registry.Find(kKey, planned[i].name);
    Check(planned[i].present ? (stored != nullptr && stored->data == planned[i].value.data) : stored == nullptr);
  }
  // A second load after the fill-in reports exactly what the first one left missing.
  Check(store.Load() == expectLoadOk);

  for (const auto& setting : configtool::kSettingsTable) values.SetBits(setting.number, setting.defaultBits ^ 0x5A5A5A5Au);
  int writesBefore = registry.setCalls;
  bool saved = store.Save();
  if (expectedMode != configtool::kAccessReadWrite) {
    Check(!saved && registry.setCalls == writesBefore);
  } else {
    bool anyFailing = false;
    for (std::size_t i = 0; i < configtool::kSettingsTable.size(); ++i) {
      const Planned& p = planned[i];
      anyFailing = anyFailing || p.failingWrite;
      const fakes::RegValue* stored = registry.Find(kKey, p.name);
      if (!p.failingWrite) {
        Check(stored != nullptr && stored->type == platform::kRegDword &&
              stored->AsDword() == (configtool::kSettingsTable[i].defaultBits ^ 0x5A5A5A5Au));
      }
    }
    Check(saved == !anyFailing);
  }
  for (std::size_t i = configtool::kSettingsTable.size(); i < planned.size(); ++i) {
    const fakes::RegValue* stored = registry.Find(kKey, planned[i].name);
    Check(planned[i].present ? (stored != nullptr && stored->data == planned[i].value.data) : stored == nullptr);
  }
  return 0;
}
