#include "configtool/pages/textures_page.h"

#include "configtool/resources/resource.h"

namespace configtool {

// A stored number that is no item index leaves the combo without a selection.
void TexturesPage::Refresh() {
  Controls().SetComboSelection(IDC_TEXTURE_COMPRESSION, Settings().Int(TextureCompression));
  Controls().SetComboSelection(IDC_MAP_COMPRESSION, Settings().Int(MapCompression));
}

bool TexturesPage::OnCommand(int id, int notification) {
  if (notification != platform::kCbnSelChange) return false;
  int setting = id == IDC_TEXTURE_COMPRESSION ? TextureCompression
                : id == IDC_MAP_COMPRESSION   ? MapCompression
                                              : -1;
  if (setting < 0) return false;
  int selected = Controls().GetComboSelection(id);
  if (selected >= 0) {
    Settings().SetInt(setting, selected);
    MarkChanged();
  }
  return true;
}

}  // namespace configtool
