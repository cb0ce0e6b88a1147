// The gamepad test (dialog 135, "Gamepad Test"): every 80 ms it reads the
// controller and shows, for a copy of the assignment, which function buttons
// are held (15 indicators the program checks and clears) and where each
// direction group points (a "+" over each of three pictures). "Vibration
// Test" queues a force-feedback pulse. The last shown marker values are
// process-wide and carry over into the next opening.
#pragma once

#include <array>
#include <cstdint>

#include "padtool/dialogs/pad_child_dialogs.h"
#include "platform/dialog_controls.h"
#include "platform/dialog_logic.h"
#include "platform/drawing.h"

namespace padtool {

// A group's marker value: h negative left, v negative up.
struct GroupMarker {
  std::int32_t h = 0;
  std::int32_t v = 0;
};
using GroupMarkers = std::array<GroupMarker, 3>;  // Movement, Camera, Menus

// The process-wide last shown values, (0, 0) each at start.
GroupMarkers& ProcessLastShownMarkers();

// The client pixel of each group's marker at rest, and the centre of its picture.
constexpr std::array<platform::ClientPoint, 3> kTestMarkerOrigins = {{{76, 94}, {76, 231}, {76, 366}}};

struct TestIndicator {
  int id;
  std::size_t function;  // index into GamepadTestInput::functions
};
// The 15 indicators with the function each shows, in the dialog's order.
extern const std::array<TestIndicator, kFunctionCount> kTestIndicators;

class GamepadTestDialog : public platform::DialogLogic {
 public:
  GamepadTestDialog(platform::DialogControls& controls, platform::WindowDrawing& drawing,
                    const GamepadTestInput& input, GroupMarkers& lastShown = ProcessLastShownMarkers());

  void OnInit() override;
  // OK: a push button with the focus takes Enter, so Enter closes the test
  // instead of playing a pulse from "Vibration Test", the first tab stop.
  int InitialFocus() const override;
  bool OnCommand(int id, int notification) override;
  void OnTimer(unsigned id) override;

 private:
  InputCode Function(PadFunction function) const;

  platform::DialogControls& controls_;
  platform::WindowDrawing& drawing_;
  GamepadTestInput input_;
  GroupMarkers& lastShown_;
  platform::ClientSize eraseSize_{12, 12};
};

}  // namespace padtool
