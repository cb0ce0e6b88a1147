#include "padtool/capture/capture_confirm_dialog.h"

#include "padtool/input/pad_device.h"

namespace padtool {

namespace {

MarkerPosition gLastDrawn;

// The whole dialog is repainted at once before the marker is drawn. The
// picture is a child window: without RDW_ALLCHILDREN it would repaint only
// later, over the marker just drawn.
constexpr unsigned kRepaintNow =
    platform::kRdwInvalidate | platform::kRdwErase | platform::kRdwUpdateNow | platform::kRdwAllChildren;

}  // namespace

MarkerPosition& ProcessLastConfirmMarker() { return gLastDrawn; }

CaptureConfirmDialog::CaptureConfirmDialog(platform::DialogControls& controls, platform::WindowDrawing& drawing,
                                           const CapturedDirections& codes, bool menusMode,
                                           MarkerPosition& lastDrawn)
    : controls_(controls), drawing_(drawing), codes_(codes), menusMode_(menusMode), lastDrawn_(lastDrawn) {}

void CaptureConfirmDialog::OnInit() {
  drawing_.CentrePictures(&kConfirmMarkerOrigin, 1);
  controls_.StartTimer(kPadTimerId, kPadTimerPeriodMs);
}

void CaptureConfirmDialog::OnTimer(unsigned id) {
  if (id != kPadTimerId) return;
  const PadTick tick = UpdateActivePad();
  // The dialog ends after this tick; the marker is still brought up to date.
  if ((tick.input.pressed & 1u) != 0) controls_.EndDialog(platform::kIdOk);

  MarkerPosition position = PreviewPosition(codes_, tick.state, tick.input.held);
  if (menusMode_ && position.y != 0) position.x = 0;  // menus move one way at a time, vertical first
  if (position == lastDrawn_) return;
  lastDrawn_ = position;
  if (!drawing_.GetContext()) return;
  const int x = kConfirmMarkerOrigin.x + position.x / 4;
  const int y = kConfirmMarkerOrigin.y + position.y / 4;
  drawing_.RedrawAll(kRepaintNow);
  drawing_.WriteText(x, y, "+");
  drawing_.ReleaseContext();
}

}  // namespace padtool
