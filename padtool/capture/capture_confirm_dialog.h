// The capture confirmation (dialog 130, "Settings Confirmation"): a "+" marker
// over the picture follows the controls under the new assignment; a new press
// of Button 1 (or OK) accepts it. Driven by its own 80 ms timer. The last
// drawn marker position is process-wide, so a later confirmation starts from it.
#pragma once

#include "padtool/capture/capture_preview.h"
#include "padtool/dialogs/pad_child_dialogs.h"
#include "platform/dialog_controls.h"
#include "platform/dialog_logic.h"
#include "platform/drawing.h"

namespace padtool {

// The client pixel the marker is drawn at while the controls rest, and the
// centre of the dialog's picture.
constexpr platform::ClientPoint kConfirmMarkerOrigin{76, 108};

// The process-wide last drawn marker position, (0, 0) at start, never reset.
MarkerPosition& ProcessLastConfirmMarker();

class CaptureConfirmDialog : public platform::DialogLogic {
 public:
  CaptureConfirmDialog(platform::DialogControls& controls, platform::WindowDrawing& drawing,
                       const CapturedDirections& codes, bool menusMode,
                       MarkerPosition& lastDrawn = ProcessLastConfirmMarker());

  void OnInit() override;
  void OnTimer(unsigned id) override;

 private:
  platform::DialogControls& controls_;
  platform::WindowDrawing& drawing_;
  CapturedDirections codes_;
  bool menusMode_;
  MarkerPosition& lastDrawn_;
};

}  // namespace padtool
