// ScreenSizePage (dialog 131): the overlay resolution (settings 1 and 2) from
// the adapter's display modes, the background resolution (settings 3 and 4)
// from the square power-of-two sizes that fit one texture and, where the
// device allows any texture shape, the display modes that fit; and the 3D LCD
// switch (setting 30), which is never available, so the page hides it and
// forces the setting to 0 whenever it paints.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "configtool/pages/settings_page.h"

namespace configtool {

constexpr std::size_t kBackgroundChoiceCapacity = 1024;
constexpr std::uint32_t kPowerOfTwoSizes[] = {256, 512, 1024, 2048};

// "%d x %d", the text of a resolution item.
std::string ResolutionText(std::uint32_t width, std::uint32_t height);

class ScreenSizePage : public SettingsPage {
 public:
  using SettingsPage::SettingsPage;

  bool OnCommand(int id, int notification) override;

 protected:
  void Refresh() override;

 private:
  struct Size {
    std::uint32_t width;
    std::uint32_t height;
  };

  // The probe's display-mode list; null when there is none.
  const DeviceProbe* ModeList();
  void RefreshLcd3dMode();
  void RefreshOverlay();
  void RefreshBackground();
  void AddBackgroundChoice(std::uint32_t width, std::uint32_t height);
  void OnOverlayChanged();
  void OnBackgroundChanged();

  int lcd3dMode_ = 0;
  std::array<Size, kBackgroundChoiceCapacity> choices_{};
  std::size_t choiceCount_ = 0;
};

}  // namespace configtool
