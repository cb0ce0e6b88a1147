#include "padtool/dialogs/gamepad_test_dialog.h"

#include "padtool/dialogs/gamepad_test_readings.h"
#include "padtool/input/pad_device.h"
#include "padtool/resources/resource.h"

namespace padtool {

namespace {

GroupMarkers gLastShown;

constexpr std::size_t kMovement = 0;
constexpr std::size_t kCamera = 1;
constexpr std::size_t kMenus = 2;
constexpr int kEraseSize = 12;  // at least this square is erased over an old marker

// The old marker is erased and repainted at once, children included: the
// picture under it repaints now, not after the new marker is drawn.
constexpr unsigned kRepaintNow =
    platform::kRdwInvalidate | platform::kRdwErase | platform::kRdwUpdateNow | platform::kRdwAllChildren;

constexpr std::int32_t kPulseStart = 10000;
constexpr std::int32_t kPulseEnd = 1000;
constexpr std::int32_t kPulseCycles = 5;

bool operator!=(const GroupMarker& a, const GroupMarker& b) { return a.h != b.h || a.v != b.v; }

// Index of a function in GamepadTestInput::functions (storage entries 0..12, 25, 26).
constexpr std::size_t FunctionSlot(PadFunction function) {
  const std::size_t index = IndexOf(function);
  return index <= IndexOf(PadFunction::Logout) ? index : index - 12;
}

}  // namespace

const std::array<TestIndicator, kFunctionCount> kTestIndicators = {{
    {IDC_TEST_SELECT_CONFIRM, FunctionSlot(PadFunction::SelectConfirm)},
    {IDC_TEST_CANCEL, FunctionSlot(PadFunction::Cancel)},
    {IDC_TEST_ACTIVE_WINDOW, FunctionSlot(PadFunction::ActiveWindow)},
    {IDC_TEST_MAIN_MENU, FunctionSlot(PadFunction::MainMenu)},
    {IDC_TEST_AUTORUN, FunctionSlot(PadFunction::Autorun)},
    {IDC_TEST_MACRO_CTRL, FunctionSlot(PadFunction::MacroPaletteCtrl)},
    {IDC_TEST_MACRO_ALT, FunctionSlot(PadFunction::MacroPaletteAlt)},
    {IDC_TEST_LOGOUT, FunctionSlot(PadFunction::Logout)},
    {IDC_TEST_HIDE_MENUS, FunctionSlot(PadFunction::HideMenus)},
    {IDC_TEST_HEAL_LOCK, FunctionSlot(PadFunction::HealLockTarget)},
    {IDC_TEST_CHANGE_VIEW, FunctionSlot(PadFunction::ChangeView)},
    {IDC_TEST_SCREENSHOT, FunctionSlot(PadFunction::TakeScreenshot)},
    {IDC_TEST_MENUS_WITH_MOVEMENT, FunctionSlot(PadFunction::MenusWithMovement)},
    {IDC_TEST_CAMERA_WITH_MOVEMENT, FunctionSlot(PadFunction::CameraWithMovement)},
    {IDC_TEST_TOGGLE_DIRECTIONAL, FunctionSlot(PadFunction::ToggleDirectional)},
}};

GroupMarkers& ProcessLastShownMarkers() { return gLastShown; }

GamepadTestDialog::GamepadTestDialog(platform::DialogControls& controls, platform::WindowDrawing& drawing,
                                     const GamepadTestInput& input, GroupMarkers& lastShown)
    : controls_(controls), drawing_(drawing), input_(input), lastShown_(lastShown) {}

InputCode GamepadTestDialog::Function(PadFunction function) const { return input_.functions[FunctionSlot(function)]; }

void GamepadTestDialog::OnInit() {
  drawing_.CentrePictures(kTestMarkerOrigins.data(), kTestMarkerOrigins.size());
  // A font whose "+" cell is taller or wider than the square would leave
  // pieces of the old marker behind: the whole cell is erased then.
  const platform::ClientSize cell = drawing_.TextSize("+");
  eraseSize_ = {cell.cx > kEraseSize ? cell.cx : kEraseSize, cell.cy > kEraseSize ? cell.cy : kEraseSize};
  controls_.EnableControl(IDC_TEST_VIBRATION, input_.forceFeedbackEnabled);
  controls_.StartTimer(kPadTimerId, kPadTimerPeriodMs);
}

int GamepadTestDialog::InitialFocus() const { return platform::kIdOk; }

bool GamepadTestDialog::OnCommand(int id, int notification) {
  if (id != IDC_TEST_VIBRATION || notification != platform::kBnClicked) return false;
  PadDevice* device = ActivePadDevice();
  if (input_.forceFeedbackEnabled && device != nullptr) device->AddPulse(kPulseStart, kPulseEnd, kPulseCycles);
  return true;
}

void GamepadTestDialog::OnTimer(unsigned id) {
  if (id != kPadTimerId) return;
  const PadTick tick = UpdateActivePad();
  const TestReadings read(tick.state, tick.input.held, input_.sliderEnabled, input_.hatSwitchesEnabled);

  GroupMarkers now;
  for (std::size_t group = 0; group < now.size(); ++group) {
    const InputCode* codes = &input_.directions[4 * group];  // Up, Down, Left, Right
    now[group].v = read.Pair(codes[0], codes[1]);
    now[group].h = read.Pair(codes[2], codes[3]);
  }
  if (read.Held(Function(PadFunction::MenusWithMovement)) != 0) {
    now[kMenus] = now[kMovement];
    now[kMovement] = GroupMarker{};
  } else if (read.Held(Function(PadFunction::CameraWithMovement)) != 0) {
    now[kCamera] = now[kMovement];
    now[kMovement] = GroupMarker{};
  }
  if (now[kMenus].v != 0) now[kMenus].h = 0;  // menus move one way at a time, vertical first

  for (std::size_t group = 0; group < now.size(); ++group) {
    GroupMarker& last = lastShown_[group];
    if (!(now[group] != last)) continue;
    const int left = last.h / 4 + kTestMarkerOrigins[group].x;
    const int top = last.v / 4 + kTestMarkerOrigins[group].y;
    drawing_.RedrawRect({left, top, left + eraseSize_.cx, top + eraseSize_.cy}, kRepaintNow);
    last = now[group];
  }

  if (!drawing_.GetContext()) return;
  for (const TestIndicator& indicator : kTestIndicators) {
    controls_.SetChecked(indicator.id, read.Held(input_.functions[indicator.function]) != 0);
  }
  for (std::size_t group = 0; group < now.size(); ++group) {
    drawing_.WriteText(now[group].h / 4 + kTestMarkerOrigins[group].x, now[group].v / 4 + kTestMarkerOrigins[group].y,
                       "+");
  }
  drawing_.ReleaseContext();
}

}  // namespace padtool
