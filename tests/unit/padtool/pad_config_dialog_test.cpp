#include "padtool/dialogs/pad_config_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "padtool/dialogs/single_instance.h"
#include "padtool/resources/resource.h"
#include "tests/fakes/fake_dialog_controls.h"
#include "tests/fakes/fake_direct_input.h"
#include "tests/fakes/fake_html_help.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_system.h"

namespace {

using fakes::RegValue;
using padtool::PadConfigDialog;

constexpr char kKey[] = "SOFTWARE\\OrbinetUS\\Corvane\\VeldaraTestClient";
constexpr platform::WindowId kWindow = 0x5150;
constexpr platform::ModuleToken kInstance = 0x400000;
constexpr int kOk = platform::kIdOk;

const std::vector<int> kTabOrder = {1015, 1003, 1016, 1017, 1018, 1019, 1020, 1021, 1022, 1023,
                                    1024, 1025, 1032, 1027, 1026, 1034, 1028, 1029, 1030, 1006,
                                    1007, 1008, 1033, 1012, 1013, 1035, 1014, 1031, 1};
const std::vector<int> kFunctionCombos = {1003, 1016, 1017, 1018, 1019, 1020, 1021, 1022,
                                          1023, 1024, 1025, 1032, 1027, 1026, 1034};
const std::vector<int> kGamepadButtons = {1006, 1007, 1008, 1033, 1012, 1013, 1035, 1014};
const std::vector<int> kReportingButtons = {1006, 1007, 1008, 1033, 1012, 1013, 1035, 1014, 1031, 1};

std::string AllMinusOne() {
  std::string text = "-1";
  for (int i = 1; i < 27; ++i) text += ",-1";
  return text;
}

bool Contains(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

// Dialog controls with a keyboard focus that moves along the tab order and
// raises the notifications the real dialog raises: the old control's focus
// loss first, then the new control's focus gain.
class Controls : public fakes::FakeDialogControls {
 public:
  PadConfigDialog* dialog = nullptr;
  int focus = 1015;
  std::function<void(int textId)> onMessage;

  int ShowMessage(int textId, int captionId, unsigned style) override {
    if (onMessage) onMessage(textId);
    return FakeDialogControls::ShowMessage(textId, captionId, style);
  }

  void MoveFocus(bool previous) override {
    FakeDialogControls::MoveFocus(previous);
    if (dialog == nullptr) return;
    const int count = static_cast<int>(kTabOrder.size());
    int at = static_cast<int>(std::find(kTabOrder.begin(), kTabOrder.end(), focus) - kTabOrder.begin());
    for (int step = 0; step < count; ++step) {
      at = (at + (previous ? count - 1 : 1)) % count;
      if (IsEnabled(kTabOrder[at])) break;
    }
    FocusTo(kTabOrder[at]);
  }

  // A focus change by mouse or keyboard.
  void FocusTo(int id) {
    const int old = focus;
    focus = id;
    if (dialog == nullptr || old == id) return;
    if (Contains(kFunctionCombos, old)) dialog->OnFunctionFocusLost(old);
    if (Contains(kReportingButtons, old)) dialog->OnFocusLeaving(id);
    if (Contains(kFunctionCombos, id)) dialog->OnFunctionFocus(id);
  }

  // The user picks an item of a combo box.
  void Choose(int combo, int item) {
    SetComboSelection(combo, item);
    dialog->OnFunctionSelectionChanged(combo);
  }

  void Click(int checkBox) {
    checked[checkBox] = !checked[checkBox];
    dialog->OnClicked(checkBox);
  }
};

struct CaptureRequest {
  int heading;
  bool hats;
  bool slider;
  bool menus;
  bool busy;
  int pending;
};

class Children : public padtool::PadChildDialogs {
 public:
  PadConfigDialog* dialog = nullptr;
  std::optional<padtool::CapturedDirections> result;
  std::vector<CaptureRequest> captures;
  std::vector<padtool::GamepadTestInput> tests;
  std::vector<bool> busyInTest;
  std::function<void()> whileOpen;

  std::optional<padtool::CapturedDirections> CaptureDirections(int heading, bool hats, bool slider,
                                                               bool menus) override {
    captures.push_back({heading, hats, slider, menus, dialog->Busy(), dialog->PendingTarget()});
    if (whileOpen) whileOpen();
    return result;
  }
  void RunGamepadTest(const padtool::GamepadTestInput& input) override {
    tests.push_back(input);
    busyInTest.push_back(dialog->Busy());
    if (whileOpen) whileOpen();
  }
  void RunAbout() override {
    busyInAbout.push_back(dialog->Busy());
    if (whileOpen) whileOpen();
  }
  void CancelOpenDialogs() override { ++cancels; }

  std::vector<bool> busyInAbout;
  int cancels = 0;
};

class PadConfigDialogTest : public ::testing::Test {
 protected:
  PadConfigDialogTest() {
    for (int combo : kFunctionCombos) controls.comboItemCount[combo] = 33;
    for (int id = 101; id <= 140; ++id) controls.strings[id] = "string " + std::to_string(id);
    controls.strings[122] = "Quit VELDARA Gamepad Configuration Tool.";
    controls.strings[139] = "VdraPadConfig.chm";
    module.fileName = "C:\\Games\\VELDARA\\VdraPadConfig.exe";
    pad = &input.Add(1);
    pad->objects = {fakes::Object(platform::kGuidXAxis), fakes::Object(platform::kGuidYAxis)};
    // The masks are process-wide; a stick left pushed by an earlier test is no new push here.
    padtool::ProcessPadInputState() = padtool::PadInputState();
  }
  ~PadConfigDialogTest() override { padtool::PublishPadDevice(nullptr); }

  void Open(bool focusModel = true) {
    dialog = std::make_unique<PadConfigDialog>(
        padtool::PadConfigServices{controls, registry, windows, module, help, input, children});
    children.dialog = dialog.get();
    if (focusModel) controls.dialog = dialog.get();
    dialog->Initialise(kWindow, kInstance);
  }

  void StoreSettings(const std::string& codes, const std::string& flags) {
    registry.Key(kKey)["padsin000"] = RegValue::String(codes);
    registry.Key(kKey)["padmode000"] = RegValue::String(flags);
  }
  std::string Stored(const std::string& name) const {
    const RegValue* value = registry.Find(kKey, name);
    return value == nullptr ? "<missing>" : value->AsString();
  }

  // One timer tick with a gamepad button newly pressed.
  void TickPressing(std::uint32_t button) {
    pad->Press(button);
    dialog->OnTimer();
    pad->Release(button);
    dialog->OnTimer();
  }
  // One tick with the stick pushed (y < 0 up, y > 0 down), then back to the middle.
  void TickStick(std::int32_t y) {
    pad->state.lY = y;
    dialog->OnTimer();
    pad->state.lY = 0;
    dialog->OnTimer();
  }

  std::string Status() const {
    auto found = controls.text.find(IDC_STATUS);
    return found == controls.text.end() ? std::string() : found->second;
  }

  Controls controls;
  fakes::FakeRegistry registry;
  fakes::FakeWindowFinder windows;
  fakes::FakeModuleInfo module;
  fakes::FakeHtmlHelp help;
  fakes::FakeDirectInputSystem input;
  fakes::FakeController* pad = nullptr;
  Children children;
  std::unique_ptr<PadConfigDialog> dialog;
};

// --- Initialisation --------------------------------------------------------------

TEST_F(PadConfigDialogTest, FirstRunShowsNoSelectionGamepadOffAndTheThreeOptionsOn) {
  Open();
  EXPECT_TRUE(controls.timers.count(1));
  for (int combo : kFunctionCombos) EXPECT_EQ(controls.GetComboSelection(combo), -1) << combo;
  EXPECT_FALSE(controls.checked[1015]);
  EXPECT_TRUE(controls.checked[1028]);
  EXPECT_TRUE(controls.checked[1029]);
  EXPECT_TRUE(controls.checked[1030]);
  EXPECT_EQ(dialog->PendingTarget(), 7);
  EXPECT_EQ(dialog->TrackedControl(), 1003);
  EXPECT_FALSE(dialog->Busy());
  EXPECT_FALSE(dialog->SilentSave());
  EXPECT_EQ(padtool::ActivePadDevice(), dialog->Device());
  ASSERT_NE(dialog->Device(), nullptr);
  EXPECT_TRUE(dialog->Device()->HasDevice());
  ASSERT_EQ(pad->cooperativeLevels.size(), 1u);
  EXPECT_EQ(pad->cooperativeLevels[0].first, kWindow);
  EXPECT_EQ(input.creations[0].first, kInstance);
}

TEST_F(PadConfigDialogTest, EnableStateFollowsTheStoredGamepadFlag) {
  for (const char* flags : {"0,1,1,1", "1,1,1,1"}) {
    Controls fresh;
    fakes::FakeRegistry stored;
    stored.Key(kKey)["padmode000"] = RegValue::String(flags);
    PadConfigDialog other(padtool::PadConfigServices{fresh, stored, windows, module, help, input, children});
    other.Initialise(kWindow, kInstance);
    const bool enabled = flags[0] == '1';
    EXPECT_EQ(fresh.checked[1015], enabled);
    for (int id : kFunctionCombos) EXPECT_EQ(fresh.IsEnabled(id), enabled) << id;
    for (int id : kGamepadButtons) EXPECT_EQ(fresh.IsEnabled(id), enabled) << id;
    for (int id : {1, 1031, 1015, 1028, 1029, 1030}) EXPECT_EQ(fresh.enabled.count(id), 0u) << id;
    EXPECT_EQ(other.Record().gamepadEnabled, enabled ? 1 : 0);
  }
}

TEST_F(PadConfigDialogTest, StoredOptionsShowInTheirCheckBoxes) {
  StoreSettings(AllMinusOne(), "1,0,1,0");
  Open();
  EXPECT_TRUE(controls.checked[1015]);
  EXPECT_FALSE(controls.checked[1030]);
  EXPECT_TRUE(controls.checked[1028]);
  EXPECT_FALSE(controls.checked[1029]);
}

TEST_F(PadConfigDialogTest, LoadedValueThatIsNoItemSurvivesUntilTheFirstCopyFromTheControls) {
  StoreSettings("40" + AllMinusOne().substr(2), "1,1,1,1");
  Open();
  EXPECT_EQ(dialog->Record().codes[0], 40);
  EXPECT_EQ(controls.GetComboSelection(1019), -1);
  dialog->OnOk();
  EXPECT_TRUE(controls.shown.empty()) << "the unchanged record is not saved again";
  EXPECT_EQ(controls.endResults, (std::vector<int>{kOk}));
  EXPECT_EQ(dialog->Record().codes[0], -1) << "the OK path copies the controls after the save";
}

TEST_F(PadConfigDialogTest, AnySelectionChangeTurnsANonItemValueIntoNone) {
  StoreSettings("40" + AllMinusOne().substr(2), "1,1,1,1");
  Open();
  controls.Choose(1016, 3);
  EXPECT_EQ(dialog->Record().codes[0], -1);
  EXPECT_EQ(dialog->Record().codes[5], 3);
}

// --- Timer tick: platform window ------------------------------------------------

TEST_F(PadConfigDialogTest, PlatformWindowMakesTheToolSaveSilentlyAndClose) {
  Open();
  controls.Choose(1016, 2);
  windows.windows.insert({"OrbinetUS", ""});
  const int stateReads = pad->stateReads;
  dialog->OnTimer();
  EXPECT_TRUE(dialog->SilentSave());
  EXPECT_TRUE(controls.shown.empty());
  EXPECT_EQ(Stored("padsin000").substr(0, 18), "-1,-1,-1,-1,-1,2,-");
  EXPECT_EQ(Stored("padmode000"), "0,1,1,1");
  EXPECT_EQ(controls.endResults, (std::vector<int>{kOk}));
  EXPECT_FALSE(controls.timers.count(1));
  EXPECT_EQ(pad->stateReads, stateReads) << "the tick ends before polling";
}

TEST_F(PadConfigDialogTest, PlatformWindowIsLookedForByClassOnly) {
  Open();
  windows.windows.insert({"OrbinetUS", "any title"});
  dialog->OnTimer();
  EXPECT_EQ(controls.endResults, (std::vector<int>{kOk}));
}

TEST_F(PadConfigDialogTest, PlatformWindowTestRunsWhileAChildDialogIsOpen) {
  Open();
  children.whileOpen = [&] {
    const int stateReads = pad->stateReads;
    dialog->OnTimer();
    EXPECT_EQ(pad->stateReads, stateReads) << "no poll while busy";
    windows.windows.insert({"OrbinetUS", ""});
    dialog->OnTimer();
  };
  dialog->OnClicked(1006);
  EXPECT_EQ(controls.endResults, (std::vector<int>{kOk}));
  EXPECT_EQ(Stored("padmode000"), "0,1,1,1");
}

// The capture (which would hand back codes), the test and the About box: the
// save is of the record as the tick saw it, the child is told to end, and what
// it hands back afterwards is dropped.
TEST_F(PadConfigDialogTest, PlatformWindowWithAChildOpenSavesTheRecordAsSeenAndEndsTheChild) {
  for (int opener : {1006, 1014, 0}) {
    SCOPED_TRACE(opener);
    StoreSettings(AllMinusOne(), "1,1,1,1");
    children.cancels = 0;
    Open();
    controls.Choose(1016, 2);
    children.result = padtool::CapturedDirections{34, 34, 35, 35};
    children.whileOpen = [&] {
      windows.windows.insert({"OrbinetUS", ""});
      dialog->OnTimer();
      EXPECT_EQ(children.cancels, 1) << "the open child ends at once";
      windows.windows.clear();
    };
    if (opener != 0) {
      dialog->OnClicked(opener);
    } else {
      EXPECT_TRUE(dialog->OnSystemCommand(0x10));
    }
    EXPECT_EQ(Stored("padsin000"), "-1,-1,-1,-1,-1,2," + AllMinusOne().substr(18));
    EXPECT_EQ(dialog->Record().codes[13], -1) << "a capture handed back after the save is dropped";
    EXPECT_EQ(controls.endResults, (std::vector<int>{kOk}));
    EXPECT_FALSE(dialog->Busy());
    controls.endResults.clear();
  }
}

// An OK that reaches the main dialog while a child is open (a posted click)
// runs the OK path inside the child: its question keeps the busy flag of the
// child, so the main dialog still leaves the controller to the child, and
// the child is ended so that the tool can end.
TEST_F(PadConfigDialogTest, OkWhileAChildIsOpenKeepsTheFlagAndEndsTheChild) {
  Open();
  controls.answers = {platform::kIdYes};
  children.result = padtool::CapturedDirections{34, 34, 35, 35};
  children.whileOpen = [&] {
    dialog->OnOk();
    EXPECT_TRUE(dialog->Busy()) << "the question gave back the child's flag";
    const int stateReads = pad->stateReads;
    dialog->OnTimer();
    EXPECT_EQ(pad->stateReads, stateReads);
  };
  dialog->OnClicked(1006);
  EXPECT_EQ(children.cancels, 1);
  EXPECT_EQ(Stored("padsin000"), AllMinusOne());
  EXPECT_EQ(controls.endResults, (std::vector<int>{kOk}));
  EXPECT_EQ(dialog->Record().codes[13], -1);
  EXPECT_FALSE(dialog->Busy());
  dialog->OnClicked(1006);
  EXPECT_EQ(children.captures.size(), 1u) << "a closed dialog opens no further child";
}

TEST_F(PadConfigDialogTest, AboutBoxHoldsTheBusyFlagSoTheTickReadsNothing) {
  Open();
  int readsWhileOpen = -1;
  children.whileOpen = [&] {
    const int stateReads = pad->stateReads;
    pad->Press(0);
    dialog->OnTimer();
    readsWhileOpen = pad->stateReads - stateReads;
  };
  EXPECT_TRUE(dialog->OnSystemCommand(0x13)) << "the low four bits are masked off";
  EXPECT_EQ(children.busyInAbout, (std::vector<bool>{true}));
  EXPECT_EQ(readsWhileOpen, 0);
  EXPECT_FALSE(dialog->Busy());
  EXPECT_FALSE(dialog->OnSystemCommand(0xF060)) << "SC_CLOSE gets default handling";
  EXPECT_EQ(children.busyInAbout.size(), 1u);
  dialog->OnTimer();
  EXPECT_EQ(dialog->Record().codes[7], 0) << "the press waited in the buffer for the main dialog";
}

// The silent save of the tick writes the record the question was about; the
// question then ends as if cancelled, with no second write and no report,
// whatever the user was about to answer.
TEST_F(PadConfigDialogTest, PlatformWindowDuringTheSaveQuestionSavesSilentlyAndEndsTheQuestion) {
  Open();
  controls.answers = {platform::kIdYes};
  controls.onMessage = [&](int textId) {
    if (textId != 125) return;
    windows.windows.insert({"OrbinetUS", ""});
    dialog->OnTimer();
    EXPECT_EQ(registry.setCalls, 2) << "the silent save inside the question";
    EXPECT_EQ(children.cancels, 1);
    controls.answers = {platform::kIdCancel};  // what ending the question gives
  };
  dialog->OnOk();
  EXPECT_EQ(registry.setCalls, 2);
  ASSERT_EQ(controls.shown.size(), 1u);
  EXPECT_EQ(controls.shown[0].textId, 125);
  EXPECT_EQ(Stored("padsin000"), AllMinusOne());
  EXPECT_EQ(Stored("padmode000"), "0,1,1,1");
  EXPECT_EQ(controls.endResults, (std::vector<int>{kOk}));
  EXPECT_FALSE(dialog->Busy());
  EXPECT_TRUE(dialog->Closed());
}

// --- Timer tick: navigation ---------------------------------------------------

TEST_F(PadConfigDialogTest, StickUpFromSelectConfirmLandsOnEnableGamepadAndOffersToQuit) {
  StoreSettings(AllMinusOne(), "1,1,1,1");
  Open();
  controls.FocusTo(1003);
  EXPECT_EQ(Status(), "string 102");
  TickStick(-127);
  EXPECT_EQ(controls.focus, 1015);
  EXPECT_EQ(dialog->TrackedControl(), kOk);
  EXPECT_EQ(dialog->PendingTarget(), PadConfigDialog::kNoTarget);
  EXPECT_EQ(Status(), "Quit VELDARA Gamepad Configuration Tool.");
  EXPECT_EQ(controls.focusMoves, (std::vector<bool>{true}));

  controls.answers = {platform::kIdYes};
  TickPressing(0);
  EXPECT_EQ(controls.endResults, (std::vector<int>{kOk}));
}

TEST_F(PadConfigDialogTest, StickDownFromCameraComboLandsOnToggleComboWhichReportsItself) {
  StoreSettings(AllMinusOne(), "1,1,1,1");
  Open();
  controls.FocusTo(1026);
  TickStick(127);
  EXPECT_EQ(controls.focus, 1034);
  EXPECT_EQ(dialog->TrackedControl(), 1034);
  EXPECT_EQ(dialog->PendingTarget(), 26);
  EXPECT_EQ(Status(), "string 138");
}

TEST_F(PadConfigDialogTest, FixedReplacementsApplyOnlyToTheirTwoControls) {
  struct Case {
    int tracked;
    std::int32_t y;
    int trackedAfter;
    std::string status;
    bool previous;
  };
  const Case cases[] = {{1003, -127, kOk, "Quit VELDARA Gamepad Configuration Tool.", true},
                        {1026, 127, 1006, "string 115", false},
                        {1016, -127, 1016, "", true},
                        {1026, -127, 1026, "", true},
                        {1003, 127, 1003, "", false}};
  for (const Case& c : cases) {
    padtool::ProcessPadInputState() = padtool::PadInputState();
    Controls plain;
    for (int id = 101; id <= 140; ++id) plain.strings[id] = controls.strings[id];
    fakes::FakeDirectInputSystem system;
    fakes::FakeController& stick = system.Add(1);
    PadConfigDialog other(padtool::PadConfigServices{plain, registry, windows, module, help, system, children});
    other.Initialise(kWindow, kInstance);
    other.OnFocusLeaving(c.tracked);
    plain.text.clear();
    stick.state.lY = c.y;
    other.OnTimer();
    EXPECT_EQ(other.TrackedControl(), c.trackedAfter) << c.tracked << " " << c.y;
    EXPECT_EQ(plain.text[IDC_STATUS], c.status) << c.tracked << " " << c.y;
    EXPECT_EQ(other.PendingTarget(), PadConfigDialog::kNoTarget);
    EXPECT_EQ(plain.focusMoves, (std::vector<bool>{c.previous}));
  }
}

TEST_F(PadConfigDialogTest, StickUpWinsOverDownAndButtonsInTheSameTick) {
  Open(false);
  pad->state.lY = -127;
  pad->Press(4);
  dialog->OnTimer();
  EXPECT_EQ(controls.focusMoves, (std::vector<bool>{true}));
  EXPECT_EQ(dialog->Record().codes[7], -1) << "no assignment in a navigation tick";
}

TEST_F(PadConfigDialogTest, HeldStickMovesTheFocusOnlyOnce) {
  Open(false);
  pad->state.lY = 127;
  for (int tick = 0; tick < 5; ++tick) dialog->OnTimer();
  EXPECT_EQ(controls.focusMoves.size(), 1u);
}

TEST_F(PadConfigDialogTest, NavigationSkipsDisabledControls) {
  Open();  // gamepad disabled: combos and the eight buttons are skipped
  controls.focus = 1030;
  TickStick(127);
  EXPECT_EQ(controls.focus, 1031);
  TickStick(-127);
  EXPECT_EQ(controls.focus, 1030);
}

// --- Timer tick: assignment ------------------------------------------------------

TEST_F(PadConfigDialogTest, GamepadButtonGoesToTheFocusedComboAndLeavesOtherFunctions) {
  StoreSettings("-1,-1,-1,-1,-1,-1,2" + AllMinusOne().substr(20), "1,1,1,1");
  Open();
  ASSERT_EQ(controls.GetComboSelection(1018), 2);
  controls.FocusTo(1016);
  TickPressing(2);
  EXPECT_EQ(controls.GetComboSelection(1016), 2);
  EXPECT_EQ(dialog->Record().codes[5], 2);
  EXPECT_EQ(controls.GetComboSelection(1018), -1) << "Main Menu held Button 3";
  EXPECT_EQ(dialog->Record().codes[6], -1);
}

TEST_F(PadConfigDialogTest, ButtonOneOnAFocusedComboAssignsInsteadOfActing) {
  StoreSettings(AllMinusOne(), "1,1,1,1");
  Open();
  controls.FocusTo(1016);
  TickPressing(0);
  EXPECT_EQ(controls.GetComboSelection(1016), 0);
  EXPECT_TRUE(controls.endResults.empty());
  EXPECT_TRUE(controls.shown.empty());
}

TEST_F(PadConfigDialogTest, FirstButtonAfterStartBecomesSelectConfirm) {
  Open();
  EXPECT_EQ(controls.focus, 1015);
  TickPressing(5);
  EXPECT_EQ(controls.GetComboSelection(1003), 5);
  EXPECT_EQ(dialog->Record().codes[7], 5);
}

TEST_F(PadConfigDialogTest, LowestNewlyPressedButtonIsAssigned) {
  Open();
  pad->Press(9);
  pad->Press(3);
  dialog->OnTimer();
  EXPECT_EQ(dialog->Record().codes[7], 3);
}

TEST_F(PadConfigDialogTest, StickDirectionsAloneAssignNothing) {
  Open();
  pad->state.lX = 127;
  dialog->OnTimer();
  EXPECT_EQ(dialog->Record().codes[7], -1);
  EXPECT_EQ(controls.GetComboSelection(1003), -1);
}

TEST_F(PadConfigDialogTest, HeldButtonIsAssignedOnlyOnItsPress) {
  Open();
  pad->Hold(6, true);
  dialog->OnTimer();
  EXPECT_EQ(dialog->Record().codes[7], -1);
}

TEST_F(PadConfigDialogTest, GamepadButtonIsIgnoredWhilePendingAndAPushButtonIsTracked) {
  StoreSettings("-1,-1,-1,-1,-1,-1,0" + AllMinusOne().substr(20), "1,1,1,1");
  Open();
  controls.FocusTo(1016);
  controls.FocusTo(1006);  // by mouse: the combo resolves, the push button does not report
  controls.FocusTo(1007);  // 1006 reports: 1007 is tracked
  ASSERT_EQ(dialog->TrackedControl(), 1007);
  ASSERT_EQ(dialog->PendingTarget(), 5);
  TickPressing(0);
  EXPECT_EQ(dialog->Record().codes[6], 0) << "Main Menu keeps Button 1";
  EXPECT_EQ(controls.GetComboSelection(1018), 0);
  EXPECT_EQ(dialog->Record().codes[5], -1);
  EXPECT_TRUE(children.captures.empty());
}

TEST_F(PadConfigDialogTest, AfterMovingFromAComboToAPushButtonGamepadButtonsStillAssignToTheCombo) {
  StoreSettings(AllMinusOne(), "1,1,1,1");
  Open();
  controls.FocusTo(1020);
  controls.FocusTo(1033);
  TickPressing(8);
  EXPECT_EQ(dialog->Record().codes[1], 8);
  EXPECT_EQ(controls.GetComboSelection(1020), 8);
}

TEST_F(PadConfigDialogTest, ButtonOneActsOnTheTrackedPushButton) {
  struct Case {
    int button;
    int heading;  // 0: not a capture
    bool menus;
  };
  const Case cases[] = {{1006, 130, false}, {1007, 131, false}, {1008, 132, true}, {1014, 0, false}};
  for (const Case& c : cases) {
    padtool::ProcessPadInputState() = padtool::PadInputState();
    Controls plain;
    Children kids;
    fakes::FakeDirectInputSystem system;
    fakes::FakeController& stick = system.Add(1);
    PadConfigDialog other(padtool::PadConfigServices{plain, registry, windows, module, help, system, kids});
    kids.dialog = &other;
    other.Initialise(kWindow, kInstance);
    stick.state.lY = 127;  // leaves PendingTarget empty
    other.OnTimer();
    stick.state.lY = 0;
    other.OnFocusLeaving(c.button);
    stick.Press(0);
    other.OnTimer();
    if (c.heading != 0) {
      ASSERT_EQ(kids.captures.size(), 1u) << c.button;
      EXPECT_EQ(kids.captures[0].heading, c.heading);
      EXPECT_EQ(kids.captures[0].menus, c.menus);
    } else {
      EXPECT_EQ(kids.tests.size(), 1u);
    }
  }
}

TEST_F(PadConfigDialogTest, ButtonOneOnASetupButtonAppliesTheSetup) {
  Open();
  TickStick(127);
  dialog->OnFocusLeaving(1035);
  EXPECT_EQ(Status(), "string 137");
  TickPressing(0);
  EXPECT_EQ(controls.GetComboSelection(1034), 3) << "Setup C puts Button 4 on Toggle";
}

TEST_F(PadConfigDialogTest, NothingIsReadWithoutAController) {
  input.controllers.clear();
  Open();
  dialog->OnTimer();
  EXPECT_EQ(dialog->Record().codes[7], -1);
  EXPECT_TRUE(controls.focusMoves.empty());
}

// --- Function combo boxes and focus tracking --------------------------------------

TEST_F(PadConfigDialogTest, ComboFocusSetsPendingTargetTrackedControlAndHelp) {
  Open(false);
  for (std::size_t i = 0; i < padtool::kCodeCount; ++i) {
    if (!padtool::IsFunctionIndex(i)) continue;
    const int combo = padtool::FunctionComboId(i);
    dialog->OnFunctionFocus(combo);
    EXPECT_EQ(dialog->PendingTarget(), static_cast<int>(i));
    EXPECT_EQ(dialog->TrackedControl(), combo);
    EXPECT_EQ(Status(), "string " + std::to_string(padtool::FunctionHelpString(i)));
  }
}

TEST_F(PadConfigDialogTest, SelectionChangeCopiesWithoutExclusivityUntilFocusIsLost) {
  StoreSettings(AllMinusOne(), "1,1,1,1");
  Open();
  controls.FocusTo(1019);
  controls.Choose(1019, 4);
  controls.FocusTo(1020);
  controls.Choose(1020, 4);
  EXPECT_EQ(dialog->Record().codes[0], 4);
  EXPECT_EQ(dialog->Record().codes[1], 4);
  controls.FocusTo(1021);
  EXPECT_EQ(dialog->Record().codes[0], -1);
  EXPECT_EQ(controls.GetComboSelection(1019), -1);
  EXPECT_EQ(dialog->Record().codes[1], 4);
}

TEST_F(PadConfigDialogTest, BlankItemLeavesTheFunctionUnassignedAndTheComboEmpty) {
  StoreSettings("3" + AllMinusOne().substr(2), "1,1,1,1");
  Open();
  controls.FocusTo(1019);
  controls.Choose(1019, 32);
  EXPECT_EQ(dialog->Record().codes[0], 32);
  controls.FocusTo(1020);
  EXPECT_EQ(controls.GetComboSelection(1019), -1);
  EXPECT_EQ(dialog->Record().codes[0], -1);
}

TEST_F(PadConfigDialogTest, ResolvingKeepsDirectionEntries) {
  StoreSettings("-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,2,2,2,2,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1", "1,1,1,1");
  Open();
  controls.FocusTo(1016);
  TickPressing(2);
  for (std::size_t i = 13; i <= 16; ++i) EXPECT_EQ(dialog->Record().codes[i], 2);
}

TEST_F(PadConfigDialogTest, FocusLossToAComboOrAReportingButtonIsTracked) {
  Open(false);
  dialog->OnFunctionFocus(1016);
  controls.text.clear();
  dialog->OnFocusLeaving(1024);
  EXPECT_EQ(dialog->TrackedControl(), 1024);
  EXPECT_TRUE(controls.text.empty()) << "a combo box shows its own help when it reports";
  EXPECT_EQ(dialog->PendingTarget(), 5);
  for (int id : kReportingButtons) {
    dialog->OnFocusLeaving(id);
    EXPECT_EQ(dialog->TrackedControl(), id);
    EXPECT_EQ(Status(), controls.strings[padtool::ButtonHelpString(id)]);
  }
  dialog->OnFocusLeaving(1015);
  dialog->OnFocusLeaving(0);
  EXPECT_EQ(dialog->TrackedControl(), kOk);
  EXPECT_EQ(dialog->PendingTarget(), 5);
}

TEST_F(PadConfigDialogTest, ButtonHelpTableHasTheTenButtons) {
  const std::vector<std::pair<int, int>> expected = {{1006, 115}, {1007, 116}, {1008, 117}, {1033, 124},
                                                     {1012, 118}, {1013, 119}, {1035, 137}, {1014, 120},
                                                     {1031, 121}, {1, 122}};
  for (const auto& [id, help] : expected) EXPECT_EQ(padtool::ButtonHelpString(id), help) << id;
  EXPECT_EQ(padtool::ButtonHelpString(0), 0);
  EXPECT_EQ(padtool::ButtonHelpString(1015), 0);
  EXPECT_EQ(padtool::ButtonHelpString(1003), 0);
}

// --- Enable state and options ------------------------------------------------------

TEST_F(PadConfigDialogTest, ClearingEnableGamepadDisablesCombosAndEightButtonsOnly) {
  StoreSettings(AllMinusOne(), "1,1,1,1");
  Open();
  controls.enabled.clear();
  controls.Click(1015);
  EXPECT_EQ(dialog->Record().gamepadEnabled, 0);
  for (int id : kFunctionCombos) EXPECT_FALSE(controls.IsEnabled(id)) << id;
  for (int id : kGamepadButtons) EXPECT_FALSE(controls.IsEnabled(id)) << id;
  EXPECT_EQ(controls.enabled.size(), 23u) << "OK, Help and the check boxes stay usable";
  controls.Click(1015);
  EXPECT_EQ(dialog->Record().gamepadEnabled, 1);
  for (int id : kFunctionCombos) EXPECT_TRUE(controls.IsEnabled(id)) << id;
}

TEST_F(PadConfigDialogTest, EnableGamepadClickCopiesTheControls) {
  StoreSettings("40" + AllMinusOne().substr(2), "1,1,1,1");
  Open();
  controls.Click(1015);
  EXPECT_EQ(dialog->Record().codes[0], -1);
}

TEST_F(PadConfigDialogTest, OptionCheckBoxesSetTheirFlags) {
  Open();
  controls.Click(1030);
  EXPECT_EQ(dialog->Record().forceFeedbackEnabled, 0);
  controls.Click(1028);
  EXPECT_EQ(dialog->Record().sliderEnabled, 0);
  controls.Click(1029);
  EXPECT_EQ(dialog->Record().hatSwitchesEnabled, 0);
  controls.Click(1029);
  EXPECT_EQ(dialog->Record().hatSwitchesEnabled, 1);
}

// --- Setups, capture, test ---------------------------------------------------------

TEST_F(PadConfigDialogTest, SetupButtonFillsCombosAndOptionsWithoutSavingOrEnabling) {
  Open();
  const int writes = registry.setCalls;
  dialog->OnClicked(1012);
  const int setupA[] = {6, 4, 11, 5, 10, 2, 3, 1, 0, 8, -1, -1, 9};
  for (std::size_t i = 0; i < 13; ++i) {
    EXPECT_EQ(controls.GetComboSelection(padtool::FunctionComboId(i)), setupA[i]) << i;
  }
  EXPECT_EQ(controls.GetComboSelection(1032), 7);
  EXPECT_EQ(controls.GetComboSelection(1034), -1);
  EXPECT_TRUE(controls.checked[1030]);
  EXPECT_TRUE(controls.checked[1028]);
  EXPECT_FALSE(controls.checked[1029]);
  EXPECT_FALSE(controls.checked[1015]);
  EXPECT_EQ(dialog->Record().gamepadEnabled, 0);
  EXPECT_EQ(registry.setCalls, writes);
  EXPECT_EQ(dialog->Record().codes[21], 12);
}

TEST_F(PadConfigDialogTest, DefaultSetupAsksTheDeviceForAZAxis) {
  Open();
  dialog->OnClicked(1033);
  EXPECT_EQ(dialog->Record().codes[19], 38) << "the stick pad has no Z axis";

  fakes::FakeDirectInputSystem system;
  system.Add(1).objects = {fakes::Object(platform::kGuidZAxis)};
  Controls other;
  PadConfigDialog withZ(padtool::PadConfigServices{other, registry, windows, module, help, system, children});
  withZ.Initialise(kWindow, kInstance);
  withZ.OnClicked(1033);
  EXPECT_EQ(withZ.Record().codes[19], 34);
  EXPECT_EQ(withZ.Record().codes[20], 34);
}

TEST_F(PadConfigDialogTest, NoControllerTakesTheNoZAxisDefault) {
  input.controllers.clear();
  Open();
  dialog->OnClicked(1033);
  EXPECT_EQ(dialog->Record().codes[19], 38);
}

TEST_F(PadConfigDialogTest, CaptureStoresTheCodesInRecordOrder) {
  Open();
  controls.checked[1029] = false;
  children.result = padtool::CapturedDirections{-43, -43, 42, 41};
  dialog->OnClicked(1007);
  ASSERT_EQ(children.captures.size(), 1u);
  EXPECT_EQ(children.captures[0].heading, 131);
  EXPECT_FALSE(children.captures[0].hats);
  EXPECT_TRUE(children.captures[0].slider);
  EXPECT_FALSE(children.captures[0].menus);
  EXPECT_TRUE(children.captures[0].busy);
  EXPECT_EQ(children.captures[0].pending, PadConfigDialog::kNoTarget);
  EXPECT_EQ(dialog->Record().codes[17], -43);
  EXPECT_EQ(dialog->Record().codes[18], -43);
  EXPECT_EQ(dialog->Record().codes[19], 41) << "Left is the fourth captured code";
  EXPECT_EQ(dialog->Record().codes[20], 42) << "Right is the third captured code";
  EXPECT_FALSE(dialog->Busy());
}

TEST_F(PadConfigDialogTest, CancelledCaptureChangesNothing) {
  Open();
  const padtool::PadAssignment before = dialog->Record();
  dialog->OnClicked(1008);
  ASSERT_EQ(children.captures.size(), 1u);
  EXPECT_TRUE(children.captures[0].menus);
  EXPECT_EQ(dialog->Record().codes, before.codes);
  EXPECT_FALSE(dialog->Busy());
}

TEST_F(PadConfigDialogTest, GamepadTestGetsACopyOfTheRecordAndTheCheckStates) {
  StoreSettings("0,1,2,3,4,5,6,7,8,9,10,11,12,32,33,34,35,36,37,38,39,40,41,42,43,13,14", "1,1,1,1");
  Open();
  controls.checked[1030] = false;
  dialog->OnClicked(1014);
  ASSERT_EQ(children.tests.size(), 1u);
  const padtool::GamepadTestInput& test = children.tests[0];
  EXPECT_EQ(test.directions, (std::array<padtool::InputCode, 12>{32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43}));
  EXPECT_EQ(test.functions,
            (std::array<padtool::InputCode, 15>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
  EXPECT_FALSE(test.forceFeedbackEnabled);
  EXPECT_TRUE(test.sliderEnabled);
  EXPECT_TRUE(test.hatSwitchesEnabled);
  EXPECT_EQ(children.busyInTest, (std::vector<bool>{true}));
  EXPECT_FALSE(dialog->Busy());
  EXPECT_EQ(dialog->PendingTarget(), PadConfigDialog::kNoTarget);
}

// --- Help and keys ------------------------------------------------------------

TEST_F(PadConfigDialogTest, HelpOpensTheHelpFileBesideTheProgram) {
  struct Case {
    std::string program;
    std::string help;
  };
  const Case cases[] = {{"C:\\Games\\VELDARA\\VdraPadConfig.exe", "C:\\Games\\VELDARA\\VdraPadConfig.chm"},
                        {"C:/Games/VELDARA/pad.exe", "C:/Games/VELDARA\\VdraPadConfig.chm"},
                        {"D:\\a/b\\c/pad.exe", "D:\\a/b\\VdraPadConfig.chm"},
                        {"pad.exe", "VdraPadConfig.chm"}};
  Open();
  for (const Case& c : cases) {
    module.fileName = c.program;
    help.displayed.clear();
    dialog->OnClicked(1031);
    ASSERT_EQ(help.displayed.size(), 1u) << c.program;
    EXPECT_EQ(help.displayed[0].first, kWindow);
    EXPECT_EQ(help.displayed[0].second, c.help);
  }
}

TEST_F(PadConfigDialogTest, HelpNeedsTheProgramNameAndAPathThatFits) {
  Open();
  module.failFileName = true;
  dialog->OnClicked(1031);
  EXPECT_TRUE(help.displayed.empty());

  module.failFileName = false;
  module.fileName = "C:\\" + std::string(240, 'd') + "\\pad.exe";  // 244 + 17 + 1 > 260
  dialog->OnClicked(1031);
  EXPECT_TRUE(help.displayed.empty());
  module.fileName = "C:\\" + std::string(238, 'd') + "\\pad.exe";  // 242 + 17 + 1 = 260
  dialog->OnClicked(1031);
  EXPECT_EQ(help.displayed.size(), 1u);
}

TEST(PadConfigKeys, TheDialogSwallowsOnlyBAndNumericKeypadTwo) {
  EXPECT_TRUE(PadConfigDialog::SwallowsKeyDown(0x42));
  EXPECT_TRUE(PadConfigDialog::SwallowsKeyDown(0x62));
  for (unsigned key : {0x41u, 0x43u, 0x32u, 0x61u, 0x63u, 0x0Du, 0x1Bu, 0x70u}) {
    EXPECT_FALSE(PadConfigDialog::SwallowsKeyDown(key)) << key;
  }
  EXPECT_TRUE(PadConfigDialog::SwallowsCharacter('b'));
  EXPECT_TRUE(PadConfigDialog::SwallowsCharacter('B'));
  for (unsigned c : {'a', 'c', '2', ' ', 'n'}) EXPECT_FALSE(PadConfigDialog::SwallowsCharacter(c)) << c;
}

// --- OK path and destruction ---------------------------------------------------

TEST_F(PadConfigDialogTest, OkOnFirstRunAsksAndYesWritesTheExactTexts) {
  Open();
  controls.answers = {platform::kIdYes};
  dialog->OnOk();
  ASSERT_EQ(controls.shown.size(), 2u);
  EXPECT_EQ(controls.shown[0].textId, 125);
  EXPECT_EQ(Stored("padsin000"), AllMinusOne());
  EXPECT_EQ(Stored("padmode000"), "0,1,1,1");
  EXPECT_EQ(controls.endResults, (std::vector<int>{kOk}));
  EXPECT_FALSE(controls.timers.count(1));
}

TEST_F(PadConfigDialogTest, CancelAnswerKeepsTheDialogOpenAndPolling) {
  Open();
  controls.answers = {platform::kIdCancel};
  dialog->OnOk();
  EXPECT_TRUE(controls.endResults.empty());
  EXPECT_TRUE(controls.timers.count(1));
  EXPECT_EQ(Stored("padsin000"), "<missing>");
  EXPECT_FALSE(dialog->Busy());
  TickPressing(1);
  EXPECT_EQ(dialog->Record().codes[7], 1);
}

TEST_F(PadConfigDialogTest, SaveQuestionMarksTheDialogBusy) {
  Open();
  std::vector<bool> busy;
  controls.onMessage = [&](int) { busy.push_back(dialog->Busy()); };
  controls.answers = {platform::kIdNo};
  dialog->OnOk();
  EXPECT_EQ(busy, (std::vector<bool>{true}));
}

TEST_F(PadConfigDialogTest, DestroyReleasesTheDevice) {
  Open();
  dialog->Destroy();
  EXPECT_EQ(dialog->Device(), nullptr);
  EXPECT_EQ(padtool::ActivePadDevice(), nullptr);
  EXPECT_TRUE(pad->released);
  EXPECT_TRUE(input.directInputReleased);
  dialog->OnTimer();  // ticks after the release read nothing
}

// --- Single instance -------------------------------------------------------------

TEST(PadSingleInstance, SecondInstanceIsRefusedWithoutCreatingAMutex) {
  fakes::FakeNamedMutexes mutexes;
  mutexes.existing["VdraPad"] = 1;
  EXPECT_FALSE(padtool::ClaimSingleInstance(mutexes));
  EXPECT_TRUE(mutexes.created.empty());
}

TEST(PadSingleInstance, FirstInstanceCreatesTheMutexAndKeepsIt) {
  fakes::FakeNamedMutexes mutexes;
  EXPECT_TRUE(padtool::ClaimSingleInstance(mutexes));
  EXPECT_EQ(mutexes.created, (std::vector<std::string>{"VdraPad"}));
  EXPECT_TRUE(mutexes.released.empty());
  EXPECT_FALSE(padtool::ClaimSingleInstance(mutexes)) << "a later start sees it";
}

TEST(PadSingleInstance, CopyThatLosesTheRaceBetweenLookUpAndCreationEnds) {
  // The other copy creates the mutex after this copy's look-up found none.
  struct RacedMutexes : fakes::FakeNamedMutexes {
    bool Exists(const char*) override { return false; }
  } mutexes;
  mutexes.existing["VdraPad"] = 1;
  EXPECT_FALSE(padtool::ClaimSingleInstance(mutexes));
  EXPECT_EQ(mutexes.created, (std::vector<std::string>{"VdraPad"}));
  EXPECT_EQ(mutexes.released.size(), 1u) << "its own handle is closed";
  EXPECT_EQ(mutexes.existing["VdraPad"], 1) << "the winner's mutex stays";
}

}  // namespace
