#include "padtool/assignment/pad_assignment.h"

namespace padtool {

namespace {

struct SetupColumn {
  std::array<InputCode, kCodeCount> codes;
  std::int32_t forceFeedbackEnabled;
  std::int32_t sliderEnabled;
  std::int32_t hatSwitchesEnabled;
};

// Camera Left and Right (indices 19, 20) of DefaultSetup are filled in by ApplySetup.
constexpr SetupColumn kDefaultSetup = {
    {4, 6, 11, 7, 10, 2, 0, 1, 3, 8, -1, -1, 9, 33, 33, 32, 32, 37, 37, 0, 0, 41, 41, 40, 40, 5, -1}, 0, 1, 1};
constexpr SetupColumn kSetupA = {
    {6, 4, 11, 5, 10, 2, 3, 1, 0, 8, -1, -1, 9, 33, 33, 32, 32, 34, 34, 37, 37, 12, 14, 15, 13, 7, -1}, 1, 1, 0};
constexpr SetupColumn kSetupB = {
    {3, -1, -1, -1, 5, 1, 0, 2, 4, -1, 7, 6, -1, 33, 33, 32, 32, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}, 0, 0, 0};
constexpr SetupColumn kSetupC = {
    {-1, -1, -1, -1, -1, 0, 1, 2, -1, -1, -1, -1, -1, 33, 33, 32, 32, 33, 33, 32, 32, 33, 33, 32, 32, -1, 3}, 0, 0, 0};

const SetupColumn& ColumnOf(PredefinedSetup setup) {
  switch (setup) {
    case PredefinedSetup::SetupA:
      return kSetupA;
    case PredefinedSetup::SetupB:
      return kSetupB;
    case PredefinedSetup::SetupC:
      return kSetupC;
    case PredefinedSetup::DefaultSetup:
      break;
  }
  return kDefaultSetup;
}

}  // namespace

int FunctionComboId(std::size_t index) { return index < kCodeCount ? kFunctionComboTable[index] : 0; }

int FunctionHelpString(std::size_t index) { return index < kCodeCount ? kFunctionHelpTable[index] : 0; }

bool IsFunctionIndex(std::size_t index) { return FunctionComboId(index) != 0; }

std::optional<std::size_t> FunctionIndexOfCombo(int comboId) {
  if (comboId == 0) return std::nullopt;
  for (std::size_t i = 0; i < kCodeCount; ++i) {
    if (kFunctionComboTable[i] == comboId) return i;
  }
  return std::nullopt;
}

std::int32_t* PadAssignment::Flag(std::size_t index) {
  switch (index) {
    case 0:
      return &gamepadEnabled;
    case 1:
      return &forceFeedbackEnabled;
    case 2:
      return &sliderEnabled;
    case 3:
      return &hatSwitchesEnabled;
    default:
      return nullptr;
  }
}

const std::int32_t* PadAssignment::Flag(std::size_t index) const {
  return const_cast<PadAssignment*>(this)->Flag(index);
}

void ApplySetup(PadAssignment& record, PredefinedSetup setup, bool hasZAxis) {
  const SetupColumn& column = ColumnOf(setup);
  record.codes = column.codes;
  if (setup == PredefinedSetup::DefaultSetup) {
    const InputCode cameraHorizontal = hasZAxis ? kZAxis : kFirstSlider;
    record.codes[DirectionIndex(DirectionGroup::Camera, Direction::Left)] = cameraHorizontal;
    record.codes[DirectionIndex(DirectionGroup::Camera, Direction::Right)] = cameraHorizontal;
  }
  record.forceFeedbackEnabled = column.forceFeedbackEnabled;
  record.sliderEnabled = column.sliderEnabled;
  record.hatSwitchesEnabled = column.hatSwitchesEnabled;
}

std::uint32_t ResolveFunction(PadAssignment& record, std::size_t functionIndex, int value) {
  if (!IsFunctionIndex(functionIndex)) return 0;
  record.codes[functionIndex] = value == kBlankItem ? kNoInput : value;
  const int ownCombo = kFunctionComboTable[functionIndex];
  std::uint32_t cleared = 0;
  for (std::size_t g = 0; g < kCodeCount; ++g) {
    const int combo = kFunctionComboTable[g];
    if (combo == 0 || combo == ownCombo) continue;
    if (value != kNoInput && record.codes[g] == value) {
      record.codes[g] = kNoInput;
      cleared |= std::uint32_t{1} << g;
    }
  }
  return cleared;
}

}  // namespace padtool
