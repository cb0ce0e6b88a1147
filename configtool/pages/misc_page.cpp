#include "configtool/pages/misc_page.h"

#include "configtool/resources/resource.h"

namespace configtool {

MiscPage::MiscPage(ConfigApp& app, platform::PageControls& controls, const MediaCenterServices& services)
    : SettingsPage(app, controls), services_(services) {}

void MiscPage::Refresh() {
  openingMovie_ = Settings().Int(OpeningMovie);
  Controls().SetChecked(IDC_OPENING_MOVIE, openingMovie_ != 0);
  hardwareMouseCursor_ = Settings().Int(HardwareMouseCursor);
  Controls().SetChecked(IDC_HARDWARE_MOUSE_CURSOR, hardwareMouseCursor_ != 0);
  simpleCharacterCreation_ = Settings().Int(SimpleCharacterCreation);
  Controls().SetChecked(IDC_SIMPLE_CHARACTER_CREATION, simpleCharacterCreation_ != 0);
  if (IsMediaCenterSystem(services_.system)) {
    mediaCenter_ = MediaCenterLinkExists(services_) ? 1 : 0;
    Controls().SetChecked(IDC_ADD_TO_MEDIA_CENTER, mediaCenter_ != 0);
  } else {
    Controls().EnableControl(IDC_ADD_TO_MEDIA_CENTER, false);
  }
}

bool MiscPage::OnCommand(int id, int notification) {
  if (notification != platform::kBnClicked) return false;
  if (id != IDC_OPENING_MOVIE && id != IDC_HARDWARE_MOUSE_CURSOR && id != IDC_SIMPLE_CHARACTER_CREATION &&
      id != IDC_ADD_TO_MEDIA_CENTER) {
    return false;
  }
  openingMovie_ = Controls().IsChecked(IDC_OPENING_MOVIE) ? 1 : 0;
  hardwareMouseCursor_ = Controls().IsChecked(IDC_HARDWARE_MOUSE_CURSOR) ? 1 : 0;
  simpleCharacterCreation_ = Controls().IsChecked(IDC_SIMPLE_CHARACTER_CREATION) ? 1 : 0;
  mediaCenter_ = Controls().IsChecked(IDC_ADD_TO_MEDIA_CENTER) ? 1 : 0;
  if (id == IDC_OPENING_MOVIE) Settings().SetInt(OpeningMovie, openingMovie_);
  if (id == IDC_HARDWARE_MOUSE_CURSOR) Settings().SetInt(HardwareMouseCursor, hardwareMouseCursor_);
  if (id == IDC_SIMPLE_CHARACTER_CREATION) Settings().SetInt(SimpleCharacterCreation, simpleCharacterCreation_);
  MarkChanged();
  return true;
}

void MiscPage::ApplyMediaCenterChoice() {
  if (mediaCenter_ == 1) {
    AddToMediaCenter(services_);
  } else {
    RemoveFromMediaCenter(services_);
  }
}

}  // namespace configtool
