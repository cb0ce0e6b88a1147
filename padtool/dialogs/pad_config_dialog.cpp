#include "padtool/dialogs/pad_config_dialog.h"

#include <cstring>
#include <new>
#include <optional>

#include "padtool/resources/resource.h"

namespace padtool {

namespace {

constexpr std::uint64_t Bit(unsigned bit) { return std::uint64_t{1} << bit; }

// Push buttons that follow "Enable Gamepad" (the ButtonHelpTable entries other than OK and Help).
constexpr std::array<int, 8> kGamepadButtons = {IDC_MOVEMENT,   IDC_CAMERA,  IDC_MENUS,   IDC_DEFAULT_SETUP,
                                                IDC_SETUP_A,    IDC_SETUP_B, IDC_SETUP_C, IDC_TEST_GAMEPAD};

constexpr unsigned kAboutCommand = 0x10;
constexpr unsigned kKeyB = 0x42;
constexpr unsigned kKeyNumpad2 = 0x62;

bool IsFunctionCombo(int id) { return FunctionIndexOfCombo(id).has_value(); }

}  // namespace

int ButtonHelpString(int id) {
  for (const ButtonHelp& entry : kButtonHelpTable) {
    if (entry.id == 0) break;
    if (entry.id == id) return entry.helpString;
  }
  return 0;
}

PadConfigDialog::PadConfigDialog(const PadConfigServices& services)
    : services_(services), store_(services.registry) {}

PadConfigDialog::~PadConfigDialog() = default;

void PadConfigDialog::Initialise(platform::WindowId window, platform::ModuleToken instance) {
  platform::DialogControls& controls = services_.controls;
  window_ = window;
  controls.StartTimer(kPadTimerId, kPadTimerPeriodMs);

  device_.reset(new (std::nothrow) PadDevice(services_.directInput));
  if (device_ == nullptr) return;
  PublishPadDevice(device_.get());
  device_->SetWindow(window);
  device_->Init(instance);

  busy_ = 0;
  store_.Load(record_, controls);

  controls.SetChecked(IDC_ENABLE_HAT_SWITCHES, record_.hatSwitchesEnabled != 0);
  controls.SetChecked(IDC_ENABLE_SLIDER, record_.sliderEnabled != 0);
  controls.SetChecked(IDC_ENABLE_GAMEPAD, record_.gamepadEnabled != 0);
  // The loaded codes stay as they are until the first copy back from the
  // controls, so a stored value that is no item index survives an unchanged save.
  ApplyEnableState(false);
  controls.SetChecked(IDC_ENABLE_FORCE_FEEDBACK, record_.forceFeedbackEnabled != 0);
  silentSave_ = 0;
}

void PadConfigDialog::Destroy() { device_.reset(); }

template <typename Child>
void PadConfigDialog::WhileBusy(Child&& child) {
  const std::uint8_t wasBusy = busy_;
  busy_ = 1;
  child();
  busy_ = wasBusy;
}

void PadConfigDialog::OnTimer() {
  if (closed_) return;
  if (services_.windows.TopLevelWindowExists(kPlatformWindowClass, nullptr)) {
    silentSave_ = 1;
    OnOk();
    return;
  }
  if (device_ == nullptr || busy_ != 0) return;
  device_->Update();
  const std::uint64_t pressed = device_->Input().pressed;
  if (pressed == 0) return;

  if ((pressed & Bit(kStickUpBit)) != 0) {
    if (trackedControl_ == IDC_FUNC_SELECT_CONFIRM) {
      trackedControl_ = platform::kIdOk;
      ShowStatus(IDS_HELP_OK);
    }
    pendingTarget_ = kNoTarget;
    services_.controls.MoveFocus(true);
  } else if ((pressed & Bit(kStickDownBit)) != 0) {
    if (trackedControl_ == IDC_FUNC_CAMERA_WITH_MOVEMENT) {
      trackedControl_ = IDC_MOVEMENT;
      ShowStatus(IDS_HELP_MOVEMENT);
    }
    pendingTarget_ = kNoTarget;
    services_.controls.MoveFocus(false);
  } else if (pendingTarget_ != kNoTarget) {
    AssignPressedButton(pressed);
  } else if ((pressed & Bit(0)) != 0) {
    ActOnTrackedControl();
  }
}

void PadConfigDialog::AssignPressedButton(std::uint64_t pressed) {
  // With a push button tracked there is no combo box to take the button.
  if (!IsFunctionCombo(trackedControl_)) return;
  for (int i = 0; i < kButtonItemCount; ++i) {
    if ((pressed & Bit(static_cast<unsigned>(i))) == 0) continue;
    record_.codes[static_cast<std::size_t>(pendingTarget_)] = i;
    services_.controls.SetComboSelection(trackedControl_, i);
    ResolveCombo(trackedControl_);
    return;
  }
}

void PadConfigDialog::ActOnTrackedControl() {
  if (trackedControl_ == platform::kIdOk) {
    OnOk();
    return;
  }
  RunButtonAction(trackedControl_);
}

void PadConfigDialog::RunButtonAction(int id) {
  switch (id) {
    case IDC_MOVEMENT:
      Capture(DirectionGroup::Movement);
      break;
    case IDC_CAMERA:
      Capture(DirectionGroup::Camera);
      break;
    case IDC_MENUS:
      Capture(DirectionGroup::Menus);
      break;
    case IDC_SETUP_A:
      ApplyPredefinedSetup(PredefinedSetup::SetupA);
      break;
    case IDC_SETUP_B:
      ApplyPredefinedSetup(PredefinedSetup::SetupB);
      break;
    case IDC_SETUP_C:
      ApplyPredefinedSetup(PredefinedSetup::SetupC);
      break;
    case IDC_DEFAULT_SETUP:
      ApplyPredefinedSetup(PredefinedSetup::DefaultSetup);
      break;
    case IDC_TEST_GAMEPAD:
      RunGamepadTest();
      break;
    default:
      break;
  }
}

void PadConfigDialog::OnFunctionFocus(int comboId) {
  auto index = FunctionIndexOfCombo(comboId);
  if (!index) return;
  pendingTarget_ = static_cast<int>(*index);
  trackedControl_ = comboId;
  ShowStatus(FunctionHelpString(*index));
}

void PadConfigDialog::OnFunctionSelectionChanged(int comboId) {
  if (!IsFunctionCombo(comboId)) return;
  CopyControlsToRecord();
}

void PadConfigDialog::OnFunctionFocusLost(int comboId) {
  if (!IsFunctionCombo(comboId)) return;
  ResolveCombo(comboId);
}

void PadConfigDialog::ResolveCombo(int comboId) {
  auto index = FunctionIndexOfCombo(comboId);
  if (!index) return;
  platform::DialogControls& controls = services_.controls;
  const int value = controls.GetComboSelection(comboId);
  if (value == kBlankItem) controls.SetComboSelection(comboId, -1);
  const std::uint32_t cleared = ResolveFunction(record_, *index, value);
  for (std::size_t g = 0; g < kCodeCount; ++g) {
    if ((cleared & (std::uint32_t{1} << g)) != 0) controls.SetComboSelection(FunctionComboId(g), -1);
  }
  CopyControlsToRecord();
}

void PadConfigDialog::OnFocusLeaving(int receiverId) {
  if (IsFunctionCombo(receiverId)) {
    trackedControl_ = receiverId;
    return;
  }
  const int help = ButtonHelpString(receiverId);
  if (help != 0) {
    trackedControl_ = receiverId;
    ShowStatus(help);
  }
}

void PadConfigDialog::OnClicked(int id) {
  if (closed_) return;
  platform::DialogControls& controls = services_.controls;
  switch (id) {
    case IDC_ENABLE_GAMEPAD:
      ApplyEnableState(true);
      break;
    case IDC_ENABLE_FORCE_FEEDBACK:
      record_.forceFeedbackEnabled = controls.IsChecked(id) ? 1 : 0;
      break;
    case IDC_ENABLE_SLIDER:
      record_.sliderEnabled = controls.IsChecked(id) ? 1 : 0;
      break;
    case IDC_ENABLE_HAT_SWITCHES:
      record_.hatSwitchesEnabled = controls.IsChecked(id) ? 1 : 0;
      break;
    case IDC_HELP_BUTTON:
      ShowHelp();
      break;
    default:
      RunButtonAction(id);
      break;
  }
}

void PadConfigDialog::OnOk() {
  if (closed_) return;
  if (store_.SaveOnClose(record_, silentSave_ != 0, services_.controls, busy_) != CloseDecision::Close) return;
  // The platform window's tick may have closed the dialog while the question was open.
  if (closed_) return;
  closed_ = true;
  services_.controls.StopTimer(kPadTimerId);
  CopyControlsToRecord();
  services_.controls.EndDialog(platform::kIdOk);
  // The OK path can run while a child dialog or the save question is open (the
  // platform window's tick, or an OK that reaches the disabled dialog): the
  // dialog ends only once they have, and what they would still hand back
  // belongs to a record already saved.
  services_.children.CancelOpenDialogs();
}

bool PadConfigDialog::OnSystemCommand(unsigned command) {
  if ((command & 0xFFF0) != kAboutCommand) return false;
  RunAbout();
  return true;
}

bool PadConfigDialog::SwallowsKeyDown(unsigned virtualKey) {
  return virtualKey == kKeyB || virtualKey == kKeyNumpad2;
}

bool PadConfigDialog::SwallowsCharacter(unsigned character) { return character == 'b' || character == 'B'; }

void PadConfigDialog::ShowStatus(int stringId) {
  statusText_ = services_.controls.LoadString(stringId);
  services_.controls.SetControlText(IDC_STATUS, statusText_);
}

void PadConfigDialog::ApplyEnableState(bool copyControls) {
  platform::DialogControls& controls = services_.controls;
  const bool enabled = controls.IsChecked(IDC_ENABLE_GAMEPAD);
  record_.gamepadEnabled = enabled ? 1 : 0;
  for (std::size_t i = 0; i < kCodeCount; ++i) {
    if (IsFunctionIndex(i)) controls.EnableControl(FunctionComboId(i), enabled);
  }
  for (int id : kGamepadButtons) controls.EnableControl(id, enabled);
  if (copyControls) CopyControlsToRecord();
}

void PadConfigDialog::CopyControlsToRecord() {
  platform::DialogControls& controls = services_.controls;
  for (std::size_t i = 0; i < kCodeCount; ++i) {
    if (IsFunctionIndex(i)) record_.codes[i] = controls.GetComboSelection(FunctionComboId(i));
  }
  statusText_ = controls.GetControlText(IDC_STATUS);
}

void PadConfigDialog::Capture(DirectionGroup group) {
  platform::DialogControls& controls = services_.controls;
  int heading = IDS_CAPTURE_MOVEMENT;
  if (group == DirectionGroup::Camera) heading = IDS_CAPTURE_CAMERA;
  if (group == DirectionGroup::Menus) heading = IDS_CAPTURE_MENUS;
  pendingTarget_ = kNoTarget;
  std::optional<CapturedDirections> captured;
  WhileBusy([&] {
    captured = services_.children.CaptureDirections(heading, controls.IsChecked(IDC_ENABLE_HAT_SWITCHES),
                                                    controls.IsChecked(IDC_ENABLE_SLIDER),
                                                    group == DirectionGroup::Menus);
  });
  if (captured && !closed_) {
    record_.codes[DirectionIndex(group, Direction::Up)] = captured->up;
    record_.codes[DirectionIndex(group, Direction::Down)] = captured->down;
    record_.codes[DirectionIndex(group, Direction::Left)] = captured->left;
    record_.codes[DirectionIndex(group, Direction::Right)] = captured->right;
  }
}

void PadConfigDialog::ApplyPredefinedSetup(PredefinedSetup setup) {
  platform::DialogControls& controls = services_.controls;
  // Without a device object there is no controller, so no Z axis either.
  const bool hasZAxis = device_ != nullptr && device_->HasZAxis();
  ApplySetup(record_, setup, hasZAxis);
  controls.SetChecked(IDC_ENABLE_FORCE_FEEDBACK, record_.forceFeedbackEnabled != 0);
  controls.SetChecked(IDC_ENABLE_SLIDER, record_.sliderEnabled != 0);
  controls.SetChecked(IDC_ENABLE_HAT_SWITCHES, record_.hatSwitchesEnabled != 0);
  for (std::size_t i = 0; i < kCodeCount; ++i) {
    if (IsFunctionIndex(i)) controls.SetComboSelection(FunctionComboId(i), record_.codes[i]);
  }
}

void PadConfigDialog::RunGamepadTest() {
  platform::DialogControls& controls = services_.controls;
  GamepadTestInput input{};
  for (std::size_t i = 0; i < input.directions.size(); ++i) {
    input.directions[i] = record_.codes[DirectionIndex(DirectionGroup::Movement, Direction::Up) + i];
  }
  std::size_t next = 0;
  for (std::size_t i = 0; i < kCodeCount; ++i) {
    if (IsFunctionIndex(i)) input.functions[next++] = record_.codes[i];
  }
  input.forceFeedbackEnabled = controls.IsChecked(IDC_ENABLE_FORCE_FEEDBACK);
  input.sliderEnabled = controls.IsChecked(IDC_ENABLE_SLIDER);
  input.hatSwitchesEnabled = controls.IsChecked(IDC_ENABLE_HAT_SWITCHES);
  pendingTarget_ = kNoTarget;
  WhileBusy([&] { services_.children.RunGamepadTest(input); });
}

void PadConfigDialog::RunAbout() {
  if (closed_) return;
  WhileBusy([&] { services_.children.RunAbout(); });
}

void PadConfigDialog::ShowHelp() {
  char path[kHelpPathSize];
  if (services_.module.GetOwnFileName(path, sizeof path) == 0) return;
  path[sizeof path - 1] = '\0';
  std::size_t folder = 0;
  if (const char* separator = std::strrchr(path, '\\')) {
    folder = static_cast<std::size_t>(separator - path) + 1;
  } else if (const char* slash = std::strrchr(path, '/')) {
    folder = static_cast<std::size_t>(slash - path) + 1;
  }
  // The separator itself stays: it is the "\" that goes before the file name.
  const std::string file = services_.controls.LoadString(IDS_HELP_FILE);
  if (folder > 0) path[folder - 1] = '\\';
  if (folder + file.size() + 1 > sizeof path) return;
  std::memcpy(path + folder, file.c_str(), file.size() + 1);
  services_.help.DisplayTopic(window_, path);
}

}  // namespace padtool
