#include "configtool/pages/screen_size_page.h"

#include <cstdio>

#include "configtool/resources/resource.h"

namespace configtool {

namespace {

constexpr int kFallbackOverlayWidth = 640;
constexpr int kFallbackOverlayHeight = 480;
constexpr int kPreselectedBackgroundItem = 1;

bool SameSize(std::uint32_t width, std::uint32_t height, std::int32_t settingWidth, std::int32_t settingHeight) {
  return static_cast<std::int64_t>(width) == settingWidth && static_cast<std::int64_t>(height) == settingHeight;
}

}  // namespace

std::string ResolutionText(std::uint32_t width, std::uint32_t height) {
  char text[32];
  std::snprintf(text, sizeof text, "%d x %d", static_cast<int>(width), static_cast<int>(height));
  return text;
}

const DeviceProbe* ScreenSizePage::ModeList() {
  const DeviceProbe* probe = App().deviceProbe.get();
  return probe != nullptr && probe->HasModeList() ? probe : nullptr;
}

void ScreenSizePage::Refresh() {
  RefreshLcd3dMode();
  RefreshOverlay();
  RefreshBackground();
}

void ScreenSizePage::RefreshLcd3dMode() {
  // 3D LCD mode is never available, so whatever was stored is overruled; the
  // correction needs no save of its own.
  lcd3dMode_ = 0;
  Settings().SetInt(Lcd3dMode, 0);
  Controls().ShowControl(IDC_LCD_3D_MODE, false);
  Controls().SetChecked(IDC_LCD_3D_MODE, lcd3dMode_ != 0);
}

void ScreenSizePage::RefreshOverlay() {
  Controls().EnableControl(IDC_OVERLAY_RESOLUTION, lcd3dMode_ != 1);
  const DeviceProbe* modes = ModeList();
  if (modes == nullptr) return;
  Controls().ResetCombo(IDC_OVERLAY_RESOLUTION);
  for (std::uint32_t i = 0; i < modes->ModeCount(); ++i) {
    Controls().InsertComboItem(IDC_OVERLAY_RESOLUTION, static_cast<int>(i),
                               ResolutionText(modes->Mode(i).width, modes->Mode(i).height));
  }
  for (std::uint32_t i = 0; i < modes->ModeCount(); ++i) {
    if (SameSize(modes->Mode(i).width, modes->Mode(i).height, Settings().Int(OverlayWidth),
                 Settings().Int(OverlayHeight))) {
      Controls().SetComboSelection(IDC_OVERLAY_RESOLUTION, static_cast<int>(i));
      return;
    }
  }
  // Corrected in memory only: it reaches the registry with a save made for another reason.
  Settings().SetInt(OverlayWidth, kFallbackOverlayWidth);
  Settings().SetInt(OverlayHeight, kFallbackOverlayHeight);
  Controls().SetComboSelection(IDC_OVERLAY_RESOLUTION, 0);
}

void ScreenSizePage::AddBackgroundChoice(std::uint32_t width, std::uint32_t height) {
  // Modes beyond the list's capacity are not offered.
  if (choiceCount_ == kBackgroundChoiceCapacity) return;
  Controls().InsertComboItem(IDC_BACKGROUND_RESOLUTION, static_cast<int>(choiceCount_), ResolutionText(width, height));
  choices_[choiceCount_++] = {width, height};
}

void ScreenSizePage::RefreshBackground() {
  Controls().EnableControl(IDC_BACKGROUND_RESOLUTION, false);
  const DeviceProbe* modes = ModeList();
  if (modes == nullptr) return;
  Controls().EnableControl(IDC_BACKGROUND_RESOLUTION, true);
  Controls().ResetCombo(IDC_BACKGROUND_RESOLUTION);
  choiceCount_ = 0;

  const RenderCaps* caps = App().renderCaps.get();
  if (caps != nullptr) {
    for (std::uint32_t size : kPowerOfTwoSizes) {
      if (size <= caps->MaxTextureWidth() && size <= caps->MaxTextureHeight()) AddBackgroundChoice(size, size);
    }
    if (!caps->TexturePow2() && !caps->TextureSidesEqual()) {
      for (std::uint32_t i = 0; i < modes->ModeCount(); ++i) {
        const platform::D3dDisplayMode& mode = modes->Mode(i);
        if (mode.width <= caps->MaxTextureWidth() && mode.height <= caps->MaxTextureHeight()) {
          AddBackgroundChoice(mode.width, mode.height);
        }
      }
    }
  }

  Controls().SetComboSelection(IDC_BACKGROUND_RESOLUTION, kPreselectedBackgroundItem);
  for (std::size_t i = 0; i < choiceCount_; ++i) {
    if (SameSize(choices_[i].width, choices_[i].height, Settings().Int(BackgroundWidth),
                 Settings().Int(BackgroundHeight))) {
      Controls().SetComboSelection(IDC_BACKGROUND_RESOLUTION, static_cast<int>(i));
      return;
    }
  }
}

bool ScreenSizePage::OnCommand(int id, int notification) {
  if (notification != platform::kCbnSelChange) return false;
  if (id == IDC_OVERLAY_RESOLUTION) {
    OnOverlayChanged();
    return true;
  }
  if (id == IDC_BACKGROUND_RESOLUTION) {
    OnBackgroundChanged();
    return true;
  }
  return false;
}

void ScreenSizePage::OnOverlayChanged() {
  const DeviceProbe* modes = ModeList();
  if (!Controls().HasControl(IDC_OVERLAY_RESOLUTION) || modes == nullptr || modes->ModeCount() == 0) return;
  int selected = Controls().GetComboSelection(IDC_OVERLAY_RESOLUTION);
  if (selected < 0) return;
  if (static_cast<std::uint32_t>(selected) >= modes->ModeCount()) {
    Controls().SetComboSelection(IDC_OVERLAY_RESOLUTION, 0);
    selected = 0;
  }
  Settings().SetInt(OverlayWidth, static_cast<std::int32_t>(modes->Mode(selected).width));
  Settings().SetInt(OverlayHeight, static_cast<std::int32_t>(modes->Mode(selected).height));
  MarkChanged();
}

void ScreenSizePage::OnBackgroundChanged() {
  int selected = Controls().GetComboSelection(IDC_BACKGROUND_RESOLUTION);
  if (selected < 0 || choiceCount_ == 0) return;
  if (static_cast<std::size_t>(selected) >= choiceCount_) {
    Controls().SetComboSelection(IDC_BACKGROUND_RESOLUTION, 0);
    selected = 0;
  }
  Settings().SetInt(BackgroundWidth, static_cast<std::int32_t>(choices_[selected].width));
  Settings().SetInt(BackgroundHeight, static_cast<std::int32_t>(choices_[selected].height));
  MarkChanged();
}

}  // namespace configtool
