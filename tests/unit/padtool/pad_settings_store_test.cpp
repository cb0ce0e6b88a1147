#include "padtool/assignment/pad_settings_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "padtool/resources/resource.h"
#include "tests/fakes/fake_dialog_controls.h"
#include "tests/fakes/fake_registry.h"

namespace {

using fakes::RegValue;
using padtool::CloseDecision;
using padtool::PadAssignment;

constexpr char kKey[] = "SOFTWARE\\OrbinetUS\\Corvane\\VeldaraTestClient";
const std::string kDefaultCodes = "4,6,11,7,10,2,0,1,3,8,-1,-1,9,33,33,32,32,37,37,34,34,41,41,40,40,5,-1";

std::string AllMinusOne() {
  std::string text = "-1";
  for (int i = 1; i < 27; ++i) text += ",-1";
  return text;
}

// Remembers the busy flag as it was when each message box opened.
class Controls : public fakes::FakeDialogControls {
 public:
  std::uint8_t* busy = nullptr;
  std::vector<int> busyAtMessage;
  int ShowMessage(int textId, int captionId, unsigned style) override {
    busyAtMessage.push_back(busy != nullptr ? *busy : -1);
    return FakeDialogControls::ShowMessage(textId, captionId, style);
  }
};

class PadSettingsStoreTest : public ::testing::Test {
 protected:
  PadSettingsStoreTest() {
    for (std::size_t i = 0; i < padtool::kCodeCount; ++i) {
      if (padtool::IsFunctionIndex(i)) dialog.comboItemCount[padtool::FunctionComboId(i)] = 33;
    }
    dialog.busy = &busy;
  }

  void Store(const std::string& name, const std::string& text) { registry.Key(kKey)[name] = RegValue::String(text); }
  std::string Stored(const std::string& name) const {
    const RegValue* value = registry.Find(kKey, name);
    return value == nullptr ? "<missing>" : value->AsString();
  }
  CloseDecision Save(const PadAssignment& record, bool silent = false) {
    return store.SaveOnClose(record, silent, dialog, busy);
  }

  fakes::FakeRegistry registry;
  Controls dialog;
  padtool::PadSettingsStore store{registry};
  std::uint8_t busy = 0;
};

// --- Open ---------------------------------------------------------------------

TEST_F(PadSettingsStoreTest, OpenCreatesTheClientKeyWithTheGivenAccess) {
  std::unique_ptr<platform::RegistryKey> key;
  EXPECT_EQ(store.Open(platform::kKeyRead, key), platform::kErrorSuccess);
  EXPECT_NE(key, nullptr);
  EXPECT_TRUE(registry.HasKey(kKey));
  registry.deniedAccess = {platform::kKeyAllAccess};
  EXPECT_EQ(store.Open(platform::kKeyAllAccess, key), platform::kErrorAccessDenied);
  EXPECT_EQ(key, nullptr);
}

// --- Load -----------------------------------------------------------------------

TEST_F(PadSettingsStoreTest, FirstRunLoadsNoCodesAndTheFallbackFlags) {
  PadAssignment record;
  dialog.checked[IDC_ENABLE_HAT_SWITCHES] = true;
  dialog.checked[IDC_ENABLE_SLIDER] = true;
  store.Load(record, dialog);
  EXPECT_EQ(record.codes, PadAssignment().codes);
  EXPECT_EQ(record.gamepadEnabled, 0);
  EXPECT_EQ(record.forceFeedbackEnabled, 1);
  EXPECT_EQ(record.sliderEnabled, 1);
  EXPECT_EQ(record.hatSwitchesEnabled, 1);
  EXPECT_FALSE(dialog.checked[IDC_ENABLE_HAT_SWITCHES]);
  EXPECT_FALSE(dialog.checked[IDC_ENABLE_SLIDER]);
  EXPECT_TRUE(dialog.comboSelection.empty());
  EXPECT_TRUE(dialog.shown.empty());
  EXPECT_TRUE(registry.HasKey(kKey));
  EXPECT_EQ(registry.openKeys, 0) << "the key is closed after the load";
}

TEST_F(PadSettingsStoreTest, LoadFillsTheRecordAndSelectsTheFunctionCombos) {
  Store("padsin000", kDefaultCodes);
  Store("padmode000", "1,0,1,1");
  PadAssignment record;
  store.Load(record, dialog);
  EXPECT_EQ(record.codes[0], 4);
  EXPECT_EQ(record.codes[19], 34);
  EXPECT_EQ(record.codes[26], -1);
  EXPECT_EQ(dialog.comboSelection[1019], 4);
  EXPECT_EQ(dialog.comboSelection[1003], 1);
  EXPECT_EQ(dialog.comboSelection[1032], 5);
  EXPECT_EQ(dialog.comboSelection[1027], -1);
  EXPECT_EQ(dialog.comboSelection[1034], -1);
  EXPECT_EQ(dialog.comboSelection.size(), 15u) << "direction entries have no combo box";
  EXPECT_EQ(record.gamepadEnabled, 1);
  EXPECT_EQ(record.forceFeedbackEnabled, 0);
  EXPECT_EQ(record.sliderEnabled, 1);
  EXPECT_EQ(record.hatSwitchesEnabled, 1);
}

TEST_F(PadSettingsStoreTest, ValueThatIsNoItemIndexLoadsButSelectsNothing) {
  Store("padsin000", "40,5");
  PadAssignment record;
  store.Load(record, dialog);
  EXPECT_EQ(record.codes[0], 40);
  EXPECT_EQ(dialog.comboSelection[1019], -1);
  EXPECT_EQ(dialog.comboSelection[1020], 5);
}

TEST_F(PadSettingsStoreTest, TwentyFieldsLoadEntriesZeroToNineteen) {
  std::string text = "0";
  for (int i = 1; i < 20; ++i) text += "," + std::to_string(i);
  Store("padsin000", text);
  PadAssignment record;
  store.Load(record, dialog);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(record.codes[i], i);
  for (int i = 20; i < 27; ++i) EXPECT_EQ(record.codes[i], -1);
}

TEST_F(PadSettingsStoreTest, FieldsBeyondTheRecordAreIgnored) {
  Store("padsin000", kDefaultCodes + ",17,18");
  Store("padmode000", "1,0,1,1,9");
  PadAssignment record;
  store.Load(record, dialog);
  EXPECT_EQ(record.codes[26], -1);
  EXPECT_EQ(record.hatSwitchesEnabled, 1);
}

TEST_F(PadSettingsStoreTest, FieldOfLettersLoadsAsButtonOne) {
  Store("padsin000", "abc,2");
  PadAssignment record;
  store.Load(record, dialog);
  EXPECT_EQ(record.codes[0], 0);
  EXPECT_EQ(dialog.comboSelection[1019], 0);
}

TEST_F(PadSettingsStoreTest, ShortFlagsTextLeavesTheOtherFlags) {
  Store("padmode000", "1");
  PadAssignment record;
  record.sliderEnabled = 7;
  store.Load(record, dialog);
  EXPECT_EQ(record.gamepadEnabled, 1);
  EXPECT_EQ(record.sliderEnabled, 7);
}

TEST_F(PadSettingsStoreTest, ValueOf127CharactersLoadsAnd128DoNot) {
  std::string fits = "3,4" + std::string(124, ' ');
  ASSERT_EQ(fits.size(), 127u);
  Store("padsin000", fits);
  PadAssignment loaded;
  store.Load(loaded, dialog);
  EXPECT_EQ(loaded.codes[0], 3);

  Store("padsin000", fits + " ");
  PadAssignment refused;
  dialog.comboSelection.clear();
  store.Load(refused, dialog);
  EXPECT_EQ(refused.codes, PadAssignment().codes);
  EXPECT_TRUE(dialog.comboSelection.empty());
}

TEST_F(PadSettingsStoreTest, UnterminatedValueIsReadOnlyWithinItsSize) {
  RegValue raw{platform::kRegSz, std::vector<std::uint8_t>(128, '1')};
  raw.data[1] = ',';
  registry.Key(kKey)["padsin000"] = raw;
  registry.Key(kKey)["padmode000"] = RegValue{platform::kRegBinary, {'1', ',', '1'}};
  PadAssignment record;
  store.Load(record, dialog);
  EXPECT_EQ(record.codes[0], 1);
  EXPECT_EQ(record.codes[1], INT32_MAX) << "126 digits saturate";
  EXPECT_EQ(record.gamepadEnabled, 1);
  EXPECT_EQ(record.forceFeedbackEnabled, 1);
}

TEST_F(PadSettingsStoreTest, KeyWithoutWriteAccessWarnsAndLoadsReadOnly) {
  Store("padsin000", "5");
  Store("padmode000", "1,1,0,0");
  registry.deniedAccess = {platform::kKeyAllAccess};
  PadAssignment record;
  store.Load(record, dialog);
  ASSERT_EQ(dialog.shown.size(), 1u);
  EXPECT_EQ(dialog.shown[0].textId, 126);
  EXPECT_EQ(dialog.shown[0].captionId, 140);
  EXPECT_EQ(dialog.shown[0].style, 0x30u);
  EXPECT_EQ(registry.createCalls, 2);
  EXPECT_EQ(record.codes[0], 5);
  EXPECT_EQ(record.sliderEnabled, 0);
}

TEST_F(PadSettingsStoreTest, KeyThatCannotBeOpenedAtAllLoadsTheFallbacks) {
  Store("padmode000", "1,1,0,0");
  registry.deniedAccess = {platform::kKeyAllAccess, platform::kKeyRead};
  PadAssignment record;
  store.Load(record, dialog);
  EXPECT_EQ(dialog.shown.size(), 1u);
  EXPECT_EQ(record.gamepadEnabled, 0);
  EXPECT_EQ(record.forceFeedbackEnabled, 1);
}

// --- Save on close ----------------------------------------------------------

TEST_F(PadSettingsStoreTest, FirstRunAsksAndYesWritesBothTexts) {
  PadAssignment record;
  store.Load(record, dialog);
  dialog.answers = {platform::kIdYes};
  EXPECT_EQ(Save(record), CloseDecision::Close);
  ASSERT_EQ(dialog.shown.size(), 2u);
  EXPECT_EQ(dialog.shown[0].textId, 125);
  EXPECT_EQ(dialog.shown[0].captionId, 140);
  EXPECT_EQ(dialog.shown[0].style, 0x3u);
  EXPECT_EQ(dialog.shown[1].textId, 128);
  EXPECT_EQ(dialog.shown[1].captionId, 140);
  EXPECT_EQ(dialog.shown[1].style, 0x40u);
  EXPECT_EQ(dialog.busyAtMessage, (std::vector<int>{1, 1}));
  EXPECT_EQ(busy, 0);
  EXPECT_EQ(Stored("padsin000"), AllMinusOne());
  EXPECT_EQ(Stored("padmode000"), "0,1,1,1");
  const RegValue* codes = registry.Find(kKey, "padsin000");
  EXPECT_EQ(codes->type, platform::kRegSz);
  EXPECT_EQ(codes->data.size(), AllMinusOne().size() + 1) << "the terminator is written";
  EXPECT_EQ(codes->data.back(), 0);
  EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(PadSettingsStoreTest, UnchangedRecordWritesNothingAndAsksNothing) {
  Store("padsin000", kDefaultCodes);
  Store("padmode000", "1,0,1,1");
  PadAssignment record;
  store.Load(record, dialog);
  registry.setCalls = 0;
  EXPECT_EQ(Save(record), CloseDecision::Close);
  EXPECT_TRUE(dialog.shown.empty());
  EXPECT_EQ(registry.setCalls, 0);
}

TEST_F(PadSettingsStoreTest, StoredTextThatGoesOnAfterTheNewTextCountsAsUnchanged) {
  Store("padsin000", kDefaultCodes + ",77");
  Store("padmode000", "1,0,1,1,9");
  PadAssignment record;
  store.Load(record, dialog);
  EXPECT_EQ(Save(record), CloseDecision::Close);
  EXPECT_TRUE(dialog.shown.empty());
  EXPECT_EQ(Stored("padmode000"), "1,0,1,1,9") << "not rewritten";
}

TEST_F(PadSettingsStoreTest, NewLastFieldThatIsThePrefixOfTheStoredOneIsStillSaved) {
  const std::string stored = AllMinusOne().substr(0, AllMinusOne().size() - 2) + "12";
  Store("padsin000", stored);
  Store("padmode000", "1,0,1,1");
  PadAssignment record;
  store.Load(record, dialog);
  ASSERT_EQ(record.codes[26], 12);
  record.codes[26] = 1;  // Button 13 changed to Button 2 on the last function
  dialog.answers = {platform::kIdYes};
  EXPECT_EQ(Save(record), CloseDecision::Close);
  ASSERT_EQ(dialog.shown.size(), 2u);
  EXPECT_EQ(dialog.shown[0].textId, 125);
  EXPECT_EQ(Stored("padsin000"), stored.substr(0, stored.size() - 1));
}

TEST_F(PadSettingsStoreTest, StoredTextGoingOnAfterABlankCountsAsUnchanged) {
  Store("padsin000", AllMinusOne() + " trailing");
  Store("padmode000", "0,1,1,1");
  PadAssignment record;
  store.Load(record, dialog);
  EXPECT_EQ(Save(record), CloseDecision::Close);
  EXPECT_TRUE(dialog.shown.empty());
}

TEST_F(PadSettingsStoreTest, StoredTextShorterThanTheNewTextCountsAsChanged) {
  PadAssignment record;
  record.codes[0] = 4;
  Store("padsin000", "4");
  Store("padmode000", "0,0,0,0");
  dialog.answers = {platform::kIdNo};
  EXPECT_EQ(Save(record), CloseDecision::Close);
  ASSERT_EQ(dialog.shown.size(), 1u);
  EXPECT_EQ(dialog.shown[0].textId, 125);
}

TEST_F(PadSettingsStoreTest, OnlyTheFlagsDifferingStillAsks) {
  PadAssignment record;
  Store("padsin000", AllMinusOne());
  Store("padmode000", "0,0,0,1");
  dialog.answers = {platform::kIdYes};
  Save(record);
  EXPECT_EQ(Stored("padmode000"), "0,0,0,0");
}

TEST_F(PadSettingsStoreTest, LongStoredValueDoesNotLoadButComparesNormallyAtSave) {
  const std::string padded = AllMinusOne() + std::string(140 - AllMinusOne().size(), ' ');
  Store("padsin000", padded);
  Store("padmode000", "0,1,1,1");
  PadAssignment record;
  record.codes[3] = 9;  // not loaded: the value does not fit the load buffer
  store.Load(record, dialog);
  EXPECT_EQ(record.codes[3], 9);
  record.codes[3] = -1;
  EXPECT_EQ(Save(record), CloseDecision::Close);
  EXPECT_TRUE(dialog.shown.empty());
}

TEST_F(PadSettingsStoreTest, StoredValueBeyondTheCompareBufferCountsAsChanged) {
  PadAssignment record;
  Store("padsin000", AllMinusOne() + std::string(600, ' '));
  Store("padmode000", "0,0,0,0");
  dialog.answers = {platform::kIdYes};
  EXPECT_EQ(Save(record), CloseDecision::Close);
  EXPECT_EQ(Stored("padsin000"), AllMinusOne());
}

TEST_F(PadSettingsStoreTest, NoAnswerWritesNothingAndCloses) {
  PadAssignment record;
  dialog.answers = {platform::kIdNo};
  EXPECT_EQ(Save(record), CloseDecision::Close);
  EXPECT_EQ(dialog.shown.size(), 1u);
  EXPECT_EQ(registry.setCalls, 0);
  EXPECT_EQ(busy, 0);
}

TEST_F(PadSettingsStoreTest, CancelAnswerWritesNothingAndStays) {
  PadAssignment record;
  for (int answer : {platform::kIdCancel, 0, 99}) {
    dialog.answers = {answer};
    dialog.shown.clear();
    EXPECT_EQ(Save(record), CloseDecision::Stay) << answer;
    EXPECT_EQ(dialog.shown.size(), 1u);
    EXPECT_EQ(registry.setCalls, 0);
    EXPECT_EQ(busy, 0);
  }
}

TEST_F(PadSettingsStoreTest, OkAnswerSavesLikeYes) {
  PadAssignment record;
  dialog.answers = {platform::kIdOk};
  EXPECT_EQ(Save(record), CloseDecision::Close);
  EXPECT_EQ(Stored("padmode000"), "0,0,0,0");
}

TEST_F(PadSettingsStoreTest, SilentSaveWritesWithoutAsking) {
  PadAssignment record;
  record.codes[7] = 2;
  EXPECT_EQ(Save(record, true), CloseDecision::Close);
  EXPECT_TRUE(dialog.shown.empty());
  EXPECT_EQ(Stored("padsin000").substr(0, 18), "-1,-1,-1,-1,-1,-1,");
  EXPECT_EQ(Stored("padsin000").substr(18, 6), "-1,2,-");
  EXPECT_EQ(Stored("padmode000"), "0,0,0,0");
  EXPECT_EQ(busy, 0);
}

TEST_F(PadSettingsStoreTest, FailedCodesWriteSkipsTheFlagsWrite) {
  PadAssignment record;
  registry.failingWrites = {"padsin000"};
  EXPECT_EQ(Save(record, true), CloseDecision::Close);
  EXPECT_EQ(registry.setCalls, 1);
  EXPECT_EQ(Stored("padmode000"), "<missing>");
  EXPECT_TRUE(dialog.shown.empty());
}

TEST_F(PadSettingsStoreTest, YesWithAFailedWriteReportsUnableToSave) {
  for (const char* failing : {"padsin000", "padmode000"}) {
    fakes::FakeRegistry fresh;
    fresh.failingWrites = {failing};
    padtool::PadSettingsStore other(fresh);
    Controls controls;
    controls.answers = {platform::kIdYes};
    std::uint8_t flag = 0;
    EXPECT_EQ(other.SaveOnClose(PadAssignment(), false, controls, flag), CloseDecision::Close);
    ASSERT_EQ(controls.shown.size(), 2u) << failing;
    EXPECT_EQ(controls.shown[1].textId, 127);
    EXPECT_EQ(controls.shown[1].captionId, 140);
    EXPECT_EQ(controls.shown[1].style, 0x30u);
  }
}

TEST_F(PadSettingsStoreTest, WithoutWriteAccessEveryCloseAsksAndYesReportsFailure) {
  Store("padsin000", AllMinusOne());
  Store("padmode000", "0,1,1,1");
  registry.deniedAccess = {platform::kKeyAllAccess};
  PadAssignment record;
  store.Load(record, dialog);
  dialog.shown.clear();
  dialog.answers = {platform::kIdYes};
  EXPECT_EQ(Save(record), CloseDecision::Close);
  ASSERT_EQ(dialog.shown.size(), 2u);
  EXPECT_EQ(dialog.shown[0].textId, 125);
  EXPECT_EQ(dialog.shown[1].textId, 127);
}

}  // namespace
