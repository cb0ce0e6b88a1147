// The gamepad assignment record: 27 input codes in storage order (15 game
// functions and the 12 direction entries of Movement, Camera and Menus) and 4
// option flags; the function-to-combo-box table, the four predefined setups and
// the rule that keeps a button on at most one function.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace padtool {

// One controller input: -1 none, 0..31 Button 1..32, 32..37 the axes X, Y, Z,
// Rx, Ry, Rz, 38..39 the sliders, 40..43 the hat half-axes; negative = inverted.
using InputCode = std::int32_t;

constexpr InputCode kNoInput = -1;
constexpr InputCode kXAxis = 32;
constexpr InputCode kYAxis = 33;
constexpr InputCode kZAxis = 34;
constexpr InputCode kRxAxis = 35;
constexpr InputCode kRyAxis = 36;
constexpr InputCode kRzAxis = 37;
constexpr InputCode kFirstSlider = 38;
constexpr InputCode kSecondSlider = 39;
constexpr InputCode kFirstHatHorizontal = 40;
constexpr InputCode kFirstHatVertical = 41;
constexpr InputCode kSecondHatHorizontal = 42;
constexpr InputCode kSecondHatVertical = 43;

constexpr int kButtonItemCount = 32;  // combo items "Button 1" ... "Button 32"
constexpr int kBlankItem = 32;        // index of the combo's last item, " "

constexpr std::size_t kCodeCount = 27;
constexpr std::size_t kFlagCount = 4;
constexpr std::size_t kFunctionCount = 15;

// The game functions, valued by their storage index.
enum class PadFunction : std::size_t {
  Autorun = 0,
  MacroPaletteCtrl = 1,
  ChangeView = 2,
  MacroPaletteAlt = 3,
  HealLockTarget = 4,
  Cancel = 5,
  MainMenu = 6,
  SelectConfirm = 7,
  ActiveWindow = 8,
  HideMenus = 9,
  MenusWithMovement = 10,
  CameraWithMovement = 11,
  Logout = 12,
  TakeScreenshot = 25,
  ToggleDirectional = 26,
};

constexpr std::size_t IndexOf(PadFunction function) { return static_cast<std::size_t>(function); }

enum class DirectionGroup : std::size_t { Movement = 0, Camera = 1, Menus = 2 };
enum class Direction : std::size_t { Up = 0, Down = 1, Left = 2, Right = 3 };

constexpr std::size_t DirectionIndex(DirectionGroup group, Direction direction) {
  return 13 + 4 * static_cast<std::size_t>(group) + static_cast<std::size_t>(direction);
}

// Storage index -> combo box id of the main dialog; 0 for direction entries.
constexpr std::array<int, kCodeCount> kFunctionComboTable = {
    1019, 1020, 1025, 1021, 1024, 1016, 1018, 1003, 1017, 1023, 1027, 1026, 1022,
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    1032, 1034};

// Storage index -> help string id of the function; 0 for direction entries.
constexpr std::array<int, kCodeCount> kFunctionHelpTable = {
    106, 107, 111, 108, 112, 103, 105, 102, 104, 110, 113, 114, 109,
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   123, 138};

// The combo box id of a storage index, 0 for direction entries and beyond 26.
int FunctionComboId(std::size_t index);
// The help string id of a function's storage index, 0 otherwise.
int FunctionHelpString(std::size_t index);
// The storage index edited by a function combo box.
std::optional<std::size_t> FunctionIndexOfCombo(int comboId);
bool IsFunctionIndex(std::size_t index);

struct PadAssignment {
  std::array<InputCode, kCodeCount> codes;
  std::int32_t gamepadEnabled = 0;
  std::int32_t forceFeedbackEnabled = 0;
  std::int32_t sliderEnabled = 0;
  std::int32_t hatSwitchesEnabled = 0;

  PadAssignment() { codes.fill(kNoInput); }

  // Code by storage index; null beyond 26.
  InputCode* Code(std::size_t index) { return index < kCodeCount ? &codes[index] : nullptr; }
  const InputCode* Code(std::size_t index) const { return index < kCodeCount ? &codes[index] : nullptr; }
  InputCode& operator[](PadFunction function) { return codes[IndexOf(function)]; }
  InputCode operator[](PadFunction function) const { return codes[IndexOf(function)]; }
  // Flag by storage index (gamepad, force feedback, slider, hat switches); null beyond 3.
  std::int32_t* Flag(std::size_t index);
  const std::int32_t* Flag(std::size_t index) const;
};

enum class PredefinedSetup { DefaultSetup, SetupA, SetupB, SetupC };

// Writes all 27 codes and the force-feedback, slider and hat-switch flags of
// the setup; gamepadEnabled is left alone. hasZAxis picks the Z axis or the
// first slider for DefaultSetup's camera left and right.
void ApplySetup(PadAssignment& record, PredefinedSetup setup, bool hasZAxis);

// The exclusivity rule after function `functionIndex` was set to combo index
// `value`: the blank item (32) becomes -1, every other function holding
// `value` becomes -1; direction entries are never touched. Returns a mask of
// the storage indices of the other functions that were cleared.
std::uint32_t ResolveFunction(PadAssignment& record, std::size_t functionIndex, int value);

}  // namespace padtool
