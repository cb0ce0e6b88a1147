#include "configtool/settings/game_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "configtool/settings/region.h"
#include "tests/fakes/fake_registry.h"

namespace {

using configtool::GameSettings;
using configtool::SettingValues;
using fakes::FakeRegistry;
using fakes::RegValue;

constexpr char kKey[] = "SOFTWARE\\OrbinetUS\\Corvane\\VeldaraTestClient";

struct Expected {
  const char* name;
  std::uint32_t defaultBits;
};

// The documented table, in table order.
const std::vector<Expected> kTable = {
    {"0000", 0},   {"0001", 640}, {"0002", 480}, {"0003", 512}, {"0004", 512},        {"0007", 1},
    {"0011", 1},   {"0017", 0},   {"0018", 1},   {"0019", 1},   {"0020", 1},          {"0021", 0},
    {"0022", 1},   {"0023", 0},   {"0024", 0},   {"0028", 0},   {"0029", 12},         {"0030", 0},
    {"0031", 0x3BC49BA6},         {"0032", 0},   {"0033", 0},   {"0034", 0},
};

int NumberOf(const char* name) { return std::stoi(name); }

// Forwards to a FakeRegistry and records the value names queried and written, in order.
class OrderRecordingRegistry : public platform::Registry {
 public:
  explicit OrderRecordingRegistry(FakeRegistry& inner) : inner_(inner) {}
  std::vector<std::string> queried;
  std::vector<std::string> written;

  long CreateKey(const char* subkey, std::uint32_t access, std::unique_ptr<platform::RegistryKey>* key) override {
    std::unique_ptr<platform::RegistryKey> innerKey;
    long result = inner_.CreateKey(subkey, access, &innerKey);
    if (result == platform::kErrorSuccess) *key = std::make_unique<Key>(this, std::move(innerKey));
    return result;
  }
  long OpenKey(const char* subkey, std::uint32_t access, std::unique_ptr<platform::RegistryKey>* key) override {
    return inner_.OpenKey(subkey, access, key);
  }

 private:
  class Key : public platform::RegistryKey {
   public:
    Key(OrderRecordingRegistry* owner, std::unique_ptr<platform::RegistryKey> inner)
        : owner_(owner), inner_(std::move(inner)) {}
    long QueryValue(const char* name, std::uint32_t* type, void* data, std::uint32_t* size) override {
      owner_->queried.emplace_back(name);
      return inner_->QueryValue(name, type, data, size);
    }
    long SetValue(const char* name, std::uint32_t type, const void* data, std::uint32_t size) override {
      owner_->written.emplace_back(name);
      return inner_->SetValue(name, type, data, size);
    }

   private:
    OrderRecordingRegistry* owner_;
    std::unique_ptr<platform::RegistryKey> inner_;
  };
  FakeRegistry& inner_;
};

std::vector<std::string> TableNames() {
  std::vector<std::string> names;
  for (const Expected& e : kTable) names.emplace_back(e.name);
  return names;
}

TEST(SettingsTable, HoldsTheTwentyTwoSettingsInTableOrderWithTheirDefaults) {
  ASSERT_EQ(configtool::kSettingsTable.size(), kTable.size());
  for (std::size_t i = 0; i < kTable.size(); ++i) {
    char name[configtool::kValueNameSize];
    ASSERT_TRUE(configtool::FormatValueName(configtool::kSettingsTable[i].number, name));
    EXPECT_STREQ(name, kTable[i].name) << "entry " << i;
    EXPECT_EQ(configtool::kSettingsTable[i].defaultBits, kTable[i].defaultBits) << kTable[i].name;
  }
}

TEST(SettingsTable, NumbersOutsideTheTableAreNotSettings) {
  for (int number : {5, 6, 8, 9, 10, 12, 13, 14, 15, 16, 25, 26, 27, 35, -1}) {
    EXPECT_FALSE(configtool::IsTableSetting(number)) << number;
  }
  for (const Expected& e : kTable) EXPECT_TRUE(configtool::IsTableSetting(NumberOf(e.name))) << e.name;
}

TEST(SettingsTable, ValueNameRefusesNumbersBeyondFourDigits) {
  char name[configtool::kValueNameSize] = "xxxx";
  EXPECT_FALSE(configtool::FormatValueName(12345, name));
  EXPECT_STREQ(name, "");
  EXPECT_TRUE(configtool::FormatValueName(9999, name));
  EXPECT_STREQ(name, "9999");
}

TEST(SettingValues, IntegersAreSignedAndRealsKeepTheirBits) {
  SettingValues values;
  values.SetInt(24, -5);
  EXPECT_EQ(values.Bits(24), 0xFFFFFFFBu);
  EXPECT_EQ(values.Int(24), -5);
  values.SetFloat(28, 0.006f);
  EXPECT_EQ(values.Bits(28), 0x3BC49BA6u);
  values.SetBits(31, 0xBF800000u);
  EXPECT_EQ(values.Float(31), -1.0f);
}

TEST(SettingValues, NumbersOutsideTheSlotsReadZeroAndIgnoreWrites) {
  SettingValues values;
  values.SetInt(35, 7);
  values.SetInt(-1, 7);
  EXPECT_EQ(values.Int(35), 0);
  EXPECT_EQ(values.Int(-1), 0);
}

TEST(GameSettingsOpenKey, FullAccessGivesReadWriteMode) {
  FakeRegistry registry;
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  EXPECT_EQ(store.AccessMode(), configtool::kAccessReadWrite);
  EXPECT_TRUE(registry.HasKey(kKey));
  EXPECT_EQ(registry.createCalls, 1);
  EXPECT_EQ(registry.openKeys, 1);
}

TEST(GameSettingsOpenKey, FallsBackToReadOnlyWhenFullAccessIsDenied) {
  FakeRegistry registry;
  registry.deniedAccess = {platform::kKeyAllAccess};
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  EXPECT_EQ(store.AccessMode(), configtool::kAccessReadOnly);
  EXPECT_EQ(registry.createCalls, 2);
  EXPECT_EQ(registry.openKeys, 1);
}

TEST(GameSettingsOpenKey, NoKeyWhenBothAttemptsFail) {
  FakeRegistry registry;
  registry.deniedAccess = {platform::kKeyAllAccess, platform::kKeyRead};
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  EXPECT_EQ(store.AccessMode(), configtool::kAccessNone);
  EXPECT_EQ(registry.openKeys, 0);
  EXPECT_FALSE(store.OpenKey());
}

TEST(GameSettingsOpenKey, ReopeningClosesTheKeyHeldBefore) {
  FakeRegistry registry;
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  EXPECT_TRUE(store.OpenKey());
  EXPECT_EQ(registry.openKeys, 1);
  registry.deniedAccess = {platform::kKeyAllAccess};
  EXPECT_TRUE(store.OpenKey());
  EXPECT_EQ(store.AccessMode(), configtool::kAccessReadOnly);
  EXPECT_EQ(registry.openKeys, 1);
}

TEST(GameSettingsOpenKey, DestroyingTheStoreClosesItsKey) {
  FakeRegistry registry;
  SettingValues values;
  {
    GameSettings store(registry, values, configtool::kRegionOrbinetUs);
    EXPECT_EQ(registry.openKeys, 1);
  }
  EXPECT_EQ(registry.openKeys, 0);
}

TEST(GameSettingsOpenKey, UnknownRegionOpensNoKey) {
  FakeRegistry registry;
  SettingValues values;
  GameSettings store(registry, values, 7);
  EXPECT_EQ(store.AccessMode(), configtool::kAccessNone);
  EXPECT_EQ(registry.createCalls, 0);
  EXPECT_EQ(values.Bits(31), 0x3BC49BA6u);
}

TEST(GameSettingsLoad, EmptyKeyInReadWriteModeGetsEveryDefaultAsDword) {
  FakeRegistry registry;
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  const auto& key = registry.Key(kKey);
  EXPECT_EQ(key.size(), kTable.size());
  for (const Expected& e : kTable) {
    const RegValue* value = registry.Find(kKey, e.name);
    ASSERT_NE(value, nullptr) << e.name;
    EXPECT_EQ(value->type, platform::kRegDword) << e.name;
    EXPECT_EQ(value->data.size(), 4u) << e.name;
    EXPECT_EQ(value->AsDword(), e.defaultBits) << e.name;
    EXPECT_EQ(values.Bits(NumberOf(e.name)), e.defaultBits) << e.name;
  }
  EXPECT_EQ(registry.Find(kKey, "0031")->AsDword(), 0x3BC49BA6u);
  EXPECT_EQ(registry.Find(kKey, "0028")->AsDword(), 0u);
}

TEST(GameSettingsLoad, QueriesAndFillsInTableOrder) {
  FakeRegistry inner;
  OrderRecordingRegistry registry(inner);
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  EXPECT_EQ(registry.queried, TableNames());
  EXPECT_EQ(registry.written, TableNames());
}

TEST(GameSettingsLoad, StoredDwordsAreTakenAsTheyAre) {
  FakeRegistry registry;
  auto& key = registry.Key(kKey);
  key["0001"] = RegValue::Dword(1024);
  key["0024"] = RegValue::Dword(0xFFFFFFFBu);
  key["0028"] = RegValue::Dword(0x3F000000u);  // 0.5f
  key["0018"] = RegValue::Dword(7);             // outside the combo's range, kept
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  EXPECT_EQ(values.Int(1), 1024);
  EXPECT_EQ(values.Int(24), -5);
  EXPECT_EQ(values.Float(28), 0.5f);
  EXPECT_EQ(values.Int(18), 7);
  EXPECT_EQ(registry.Find(kKey, "0018")->AsDword(), 7u);
}

TEST(GameSettingsLoad, RegistryTypeIsIgnoredForFourBytes) {
  FakeRegistry registry;
  RegValue binary{platform::kRegBinary, {0x78, 0x56, 0x34, 0x12}};
  registry.Key(kKey)["0020"] = binary;
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  EXPECT_EQ(values.Bits(20), 0x12345678u);
  EXPECT_EQ(registry.Find(kKey, "0020")->type, platform::kRegBinary);
}

TEST(GameSettingsLoad, TenByteStringIsTreatedAsMissingAndReplacedByDword) {
  FakeRegistry registry;
  registry.Key(kKey)["0018"] = RegValue::String("123456789");  // 10 bytes with terminator
  ASSERT_EQ(registry.Find(kKey, "0018")->data.size(), 10u);
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  const RegValue* value = registry.Find(kKey, "0018");
  EXPECT_EQ(value->type, platform::kRegDword);
  EXPECT_EQ(value->data.size(), 4u);
  EXPECT_EQ(value->AsDword(), 1u);
  EXPECT_EQ(values.Int(18), 1);
}

TEST(GameSettingsLoad, FiveByteValueIsTreatedAsMissing) {
  FakeRegistry registry;
  registry.Key(kKey)["0029"] = RegValue{platform::kRegBinary, {20, 0, 0, 0, 0}};
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  EXPECT_EQ(values.Int(29), 12);
  EXPECT_EQ(registry.Find(kKey, "0029")->type, platform::kRegDword);
}

TEST(GameSettingsLoad, ShortValueFillsTheLowBytesAndZeroesTheRest) {
  struct Case {
    std::vector<std::uint8_t> data;
    std::uint32_t expected;
  };
  // "0001" defaults to 640 (0x280): nothing of the default may survive.
  const std::vector<Case> cases = {
      {{}, 0x00000000u},
      {{0xAB}, 0x000000ABu},
      {{0x37, 0x00}, 0x00000037u},
      {{0x01, 0x02, 0x03}, 0x00030201u},
      {{0x01, 0x02, 0x03, 0x04}, 0x04030201u},
  };
  for (const Case& c : cases) {
    FakeRegistry registry;
    registry.Key(kKey)["0001"] = RegValue{platform::kRegSz, c.data};
    SettingValues values;
    GameSettings store(registry, values, configtool::kRegionOrbinetUs);
    EXPECT_EQ(values.Bits(1), c.expected) << c.data.size() << " bytes";
    EXPECT_EQ(registry.Find(kKey, "0001")->data, c.data) << "a value that loads is not rewritten";
  }
}

TEST(GameSettingsLoad, ValuesOutsideTheTableAreNeverTouched) {
  FakeRegistry registry;
  auto& key = registry.Key(kKey);
  key["0005"] = RegValue::String("five");
  key["0026"] = RegValue::Dword(0xDEADBEEF);
  key["padsin000"] = RegValue::String("1,2,3");
  SettingValues values;
  values.SetInt(5, 55);
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  ASSERT_TRUE(store.Save());
  EXPECT_EQ(registry.Find(kKey, "0005")->AsString(), "five");
  EXPECT_EQ(registry.Find(kKey, "0005")->type, platform::kRegSz);
  EXPECT_EQ(registry.Find(kKey, "0026")->AsDword(), 0xDEADBEEFu);
  EXPECT_EQ(registry.Find(kKey, "padsin000")->AsString(), "1,2,3");
  EXPECT_EQ(values.Int(5), 55);
  EXPECT_EQ(registry.Key(kKey).size(), kTable.size() + 3);
}

TEST(GameSettingsLoad, FailedFillInIsReportedAndTheLoopGoesOn) {
  FakeRegistry registry;
  registry.failingWrites = {"0007"};
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  EXPECT_FALSE(store.Load());  // "0007" is still missing
  EXPECT_EQ(registry.Find(kKey, "0007"), nullptr);
  EXPECT_NE(registry.Find(kKey, "0034"), nullptr);
  EXPECT_EQ(values.Int(7), 1);
}

TEST(GameSettingsLoad, SecondLoadOfACompleteKeySucceedsWithoutWrites) {
  FakeRegistry registry;
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  int writes = registry.setCalls;
  EXPECT_TRUE(store.Load());
  EXPECT_EQ(registry.setCalls, writes);
}

TEST(GameSettingsReadOnly, ExistingValuesLoadAndMissingOnesKeepDefaults) {
  FakeRegistry registry;
  registry.deniedAccess = {platform::kKeyAllAccess};
  registry.Key(kKey)["0034"] = RegValue::Dword(1);
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  EXPECT_EQ(values.Int(34), 1);
  EXPECT_EQ(values.Int(1), 640);
  EXPECT_EQ(values.Bits(31), 0x3BC49BA6u);
  EXPECT_FALSE(store.Load());
  EXPECT_EQ(registry.Key(kKey).size(), 1u);
}

TEST(GameSettingsReadOnly, SaveFailsWithoutCallingTheRegistry) {
  FakeRegistry registry;
  registry.deniedAccess = {platform::kKeyAllAccess};
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  int writes = registry.setCalls;
  EXPECT_FALSE(store.Save());
  EXPECT_EQ(registry.setCalls, writes);
}

TEST(GameSettingsNoKey, DefaultsStayAndNothingIsReadOrWritten) {
  FakeRegistry registry;
  registry.deniedAccess = {platform::kKeyAllAccess, platform::kKeyRead};
  SettingValues values;
  values.SetInt(1, 99);
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  EXPECT_EQ(values.Int(1), 640);
  EXPECT_TRUE(store.Load());
  EXPECT_FALSE(store.Save());
  EXPECT_EQ(registry.queryCalls, 0);
  EXPECT_EQ(registry.setCalls, 0);
}

TEST(GameSettingsSave, WritesEverySettingAsDwordInTableOrder) {
  FakeRegistry inner;
  OrderRecordingRegistry registry(inner);
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  registry.written.clear();
  values.SetInt(1, 1024);
  values.SetInt(24, -2);
  values.SetFloat(28, 0.5f);
  EXPECT_TRUE(store.Save());
  EXPECT_EQ(registry.written, TableNames());
  EXPECT_EQ(inner.Find(kKey, "0001")->AsDword(), 1024u);
  EXPECT_EQ(inner.Find(kKey, "0024")->AsDword(), 0xFFFFFFFEu);
  EXPECT_EQ(inner.Find(kKey, "0028")->AsDword(), 0x3F000000u);
  for (const Expected& e : kTable) EXPECT_EQ(inner.Find(kKey, e.name)->type, platform::kRegDword);
}

TEST(GameSettingsSave, FailedWriteIsReportedAndTheOthersAreStillWritten) {
  FakeRegistry registry;
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  registry.failingWrites = {"0000"};
  values.SetInt(34, 1);
  EXPECT_FALSE(store.Save());
  EXPECT_EQ(registry.Find(kKey, "0034")->AsDword(), 1u);
}

TEST(GameSettingsReset, ReturnsToDefaultsInMemoryOnly) {
  FakeRegistry registry;
  registry.Key(kKey)["0001"] = RegValue::Dword(1600);
  SettingValues values;
  GameSettings store(registry, values, configtool::kRegionOrbinetUs);
  ASSERT_EQ(values.Int(1), 1600);
  int queries = registry.queryCalls;
  int writes = registry.setCalls;
  store.ResetToDefaults();
  for (const Expected& e : kTable) EXPECT_EQ(values.Bits(NumberOf(e.name)), e.defaultBits) << e.name;
  EXPECT_EQ(registry.queryCalls, queries);
  EXPECT_EQ(registry.setCalls, writes);
  EXPECT_EQ(registry.Find(kKey, "0001")->AsDword(), 1600u);
}

}  // namespace
