#include "padtool/assignment/pad_assignment.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

namespace {

using padtool::Direction;
using padtool::DirectionGroup;
using padtool::PadAssignment;
using padtool::PadFunction;
using padtool::PredefinedSetup;

TEST(PadAssignmentRecord, NewRecordHoldsNoInputInEveryCode) {
  PadAssignment record;
  for (std::size_t i = 0; i < padtool::kCodeCount; ++i) EXPECT_EQ(*record.Code(i), -1) << i;
}

TEST(PadAssignmentRecord, LookupsBeyondTheRecordYieldNoEntry) {
  PadAssignment record;
  EXPECT_NE(record.Code(26), nullptr);
  EXPECT_EQ(record.Code(27), nullptr);
  EXPECT_NE(record.Flag(3), nullptr);
  EXPECT_EQ(record.Flag(4), nullptr);
}

TEST(PadAssignmentRecord, FlagsAreInStorageOrder) {
  PadAssignment record;
  *record.Flag(0) = 10;
  *record.Flag(1) = 11;
  *record.Flag(2) = 12;
  *record.Flag(3) = 13;
  EXPECT_EQ(record.gamepadEnabled, 10);
  EXPECT_EQ(record.forceFeedbackEnabled, 11);
  EXPECT_EQ(record.sliderEnabled, 12);
  EXPECT_EQ(record.hatSwitchesEnabled, 13);
}

TEST(PadAssignmentRecord, FunctionsMapToComboBoxesAndHelpStringsByStorageIndex) {
  struct Row {
    std::size_t index;
    PadFunction function;
    int combo;
    int help;
  };
  const Row rows[] = {
      {0, PadFunction::Autorun, 1019, 106},           {1, PadFunction::MacroPaletteCtrl, 1020, 107},
      {2, PadFunction::ChangeView, 1025, 111},        {3, PadFunction::MacroPaletteAlt, 1021, 108},
      {4, PadFunction::HealLockTarget, 1024, 112},    {5, PadFunction::Cancel, 1016, 103},
      {6, PadFunction::MainMenu, 1018, 105},          {7, PadFunction::SelectConfirm, 1003, 102},
      {8, PadFunction::ActiveWindow, 1017, 104},      {9, PadFunction::HideMenus, 1023, 110},
      {10, PadFunction::MenusWithMovement, 1027, 113}, {11, PadFunction::CameraWithMovement, 1026, 114},
      {12, PadFunction::Logout, 1022, 109},           {25, PadFunction::TakeScreenshot, 1032, 123},
      {26, PadFunction::ToggleDirectional, 1034, 138}};
  for (const Row& row : rows) {
    EXPECT_EQ(padtool::IndexOf(row.function), row.index);
    EXPECT_EQ(padtool::FunctionComboId(row.index), row.combo) << row.index;
    EXPECT_EQ(padtool::FunctionHelpString(row.index), row.help) << row.index;
    EXPECT_EQ(padtool::FunctionIndexOfCombo(row.combo), row.index) << row.combo;
    EXPECT_TRUE(padtool::IsFunctionIndex(row.index));
  }
  for (std::size_t i = 13; i <= 24; ++i) {
    EXPECT_EQ(padtool::FunctionComboId(i), 0) << i;
    EXPECT_FALSE(padtool::IsFunctionIndex(i));
  }
  EXPECT_EQ(padtool::FunctionComboId(27), 0);
  EXPECT_FALSE(padtool::FunctionIndexOfCombo(0).has_value());
  EXPECT_FALSE(padtool::FunctionIndexOfCombo(1006).has_value());
}

TEST(PadAssignmentRecord, DirectionEntriesAreThirteenPlusFourTimesGroupPlusDirection) {
  EXPECT_EQ(padtool::DirectionIndex(DirectionGroup::Movement, Direction::Up), 13u);
  EXPECT_EQ(padtool::DirectionIndex(DirectionGroup::Movement, Direction::Right), 16u);
  EXPECT_EQ(padtool::DirectionIndex(DirectionGroup::Camera, Direction::Up), 17u);
  EXPECT_EQ(padtool::DirectionIndex(DirectionGroup::Camera, Direction::Left), 19u);
  EXPECT_EQ(padtool::DirectionIndex(DirectionGroup::Menus, Direction::Down), 22u);
  EXPECT_EQ(padtool::DirectionIndex(DirectionGroup::Menus, Direction::Right), 24u);
}

// --- Predefined setups ------------------------------------------------------

struct SetupColumn {
  PredefinedSetup setup;
  std::array<padtool::InputCode, 27> codes;  // Camera Left/Right of DefaultSetup given for a Z axis
  int forceFeedback, slider, hatSwitches;
};

const SetupColumn kColumns[] = {
    {PredefinedSetup::DefaultSetup,
     {4, 6, 11, 7, 10, 2, 0, 1, 3, 8, -1, -1, 9, 33, 33, 32, 32, 37, 37, 34, 34, 41, 41, 40, 40, 5, -1},
     0, 1, 1},
    {PredefinedSetup::SetupA,
     {6, 4, 11, 5, 10, 2, 3, 1, 0, 8, -1, -1, 9, 33, 33, 32, 32, 34, 34, 37, 37, 12, 14, 15, 13, 7, -1},
     1, 1, 0},
    {PredefinedSetup::SetupB,
     {3, -1, -1, -1, 5, 1, 0, 2, 4, -1, 7, 6, -1, 33, 33, 32, 32, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
     0, 0, 0},
    {PredefinedSetup::SetupC,
     {-1, -1, -1, -1, -1, 0, 1, 2, -1, -1, -1, -1, -1, 33, 33, 32, 32, 33, 33, 32, 32, 33, 33, 32, 32, -1, 3},
     0, 0, 0},
};

TEST(PredefinedSetups, EachSetupWritesItsWholeColumn) {
  for (const SetupColumn& column : kColumns) {
    PadAssignment record;
    record.codes.fill(99);
    record.forceFeedbackEnabled = record.sliderEnabled = record.hatSwitchesEnabled = 7;
    padtool::ApplySetup(record, column.setup, true);
    EXPECT_EQ(record.codes, column.codes) << static_cast<int>(column.setup);
    EXPECT_EQ(record.forceFeedbackEnabled, column.forceFeedback);
    EXPECT_EQ(record.sliderEnabled, column.slider);
    EXPECT_EQ(record.hatSwitchesEnabled, column.hatSwitches);
  }
}

TEST(PredefinedSetups, DefaultSetupTakesTheFirstSliderWithoutAZAxis) {
  PadAssignment record;
  padtool::ApplySetup(record, PredefinedSetup::DefaultSetup, false);
  EXPECT_EQ(record.codes[19], 38);
  EXPECT_EQ(record.codes[20], 38);
  padtool::ApplySetup(record, PredefinedSetup::DefaultSetup, true);
  EXPECT_EQ(record.codes[19], 34);
  EXPECT_EQ(record.codes[20], 34);
}

TEST(PredefinedSetups, OtherSetupsDoNotDependOnTheZAxis) {
  for (const SetupColumn& column : kColumns) {
    if (column.setup == PredefinedSetup::DefaultSetup) continue;
    PadAssignment withZ;
    PadAssignment withoutZ;
    padtool::ApplySetup(withZ, column.setup, true);
    padtool::ApplySetup(withoutZ, column.setup, false);
    EXPECT_EQ(withZ.codes, withoutZ.codes);
  }
}

TEST(PredefinedSetups, SetupsLeaveGamepadEnabledUnchanged) {
  for (const SetupColumn& column : kColumns) {
    for (int enabled : {0, 1, 5}) {
      PadAssignment record;
      record.gamepadEnabled = enabled;
      padtool::ApplySetup(record, column.setup, false);
      EXPECT_EQ(record.gamepadEnabled, enabled);
    }
  }
}

TEST(PredefinedSetups, EverySetupAlreadyKeepsEachButtonOnOneFunction) {
  for (const SetupColumn& column : kColumns) {
    for (bool hasZ : {true, false}) {
      PadAssignment record;
      padtool::ApplySetup(record, column.setup, hasZ);
      std::set<padtool::InputCode> used;
      for (std::size_t i = 0; i < padtool::kCodeCount; ++i) {
        if (!padtool::IsFunctionIndex(i) || record.codes[i] == -1) continue;
        EXPECT_TRUE(used.insert(record.codes[i]).second) << "button " << record.codes[i] << " twice";
      }
    }
  }
}

// --- Exclusivity rule ---------------------------------------------------------

TEST(ExclusivityRule, ResolvingToAButtonAnotherFunctionHoldsClearsTheOther) {
  PadAssignment record;
  record[PadFunction::MainMenu] = 2;
  record[PadFunction::Logout] = 2;  // two holders while the user was still choosing
  record.codes[padtool::DirectionIndex(DirectionGroup::Menus, Direction::Up)] = 2;
  const std::uint32_t cleared = padtool::ResolveFunction(record, padtool::IndexOf(PadFunction::Cancel), 2);
  EXPECT_EQ(record[PadFunction::Cancel], 2);
  EXPECT_EQ(record[PadFunction::MainMenu], -1);
  EXPECT_EQ(record[PadFunction::Logout], -1);
  EXPECT_EQ(record.codes[21], 2) << "direction entries are never touched";
  EXPECT_EQ(cleared, (1u << 6) | (1u << 12));
}

TEST(ExclusivityRule, FunctionsInTheLastTwoEntriesTakePart) {
  PadAssignment record;
  record[PadFunction::ToggleDirectional] = 9;
  record[PadFunction::Autorun] = 9;
  const std::uint32_t cleared = padtool::ResolveFunction(record, 25, 9);
  EXPECT_EQ(record[PadFunction::TakeScreenshot], 9);
  EXPECT_EQ(record[PadFunction::ToggleDirectional], -1);
  EXPECT_EQ(record[PadFunction::Autorun], -1);
  EXPECT_EQ(cleared, (1u << 26) | 1u);
}

TEST(ExclusivityRule, ResolvingToTheBlankItemLeavesTheFunctionUnassigned) {
  PadAssignment record;
  record[PadFunction::Cancel] = 32;
  record[PadFunction::HideMenus] = 32;  // another entry still on the blank item
  record[PadFunction::Logout] = 4;
  const std::uint32_t cleared = padtool::ResolveFunction(record, padtool::IndexOf(PadFunction::Cancel), 32);
  EXPECT_EQ(record[PadFunction::Cancel], -1);
  EXPECT_EQ(record[PadFunction::HideMenus], -1);
  EXPECT_EQ(record[PadFunction::Logout], 4);
  EXPECT_EQ(cleared, 1u << 9);
}

TEST(ExclusivityRule, ResolvingToNoSelectionChangesNothingElse) {
  PadAssignment record;
  record[PadFunction::Cancel] = 3;
  const PadAssignment before = record;
  EXPECT_EQ(padtool::ResolveFunction(record, padtool::IndexOf(PadFunction::Autorun), -1), 0u);
  EXPECT_EQ(record.codes, before.codes);
}

TEST(ExclusivityRule, DirectionEntryIsNoFunctionToResolve) {
  PadAssignment record;
  record[PadFunction::Cancel] = 1;
  EXPECT_EQ(padtool::ResolveFunction(record, 13, 1), 0u);
  EXPECT_EQ(record[PadFunction::Cancel], 1);
  EXPECT_EQ(record.codes[13], -1);
}

}  // namespace
