#include "padtool/dialogs/about_dialog.h"

#include "padtool/resources/resource.h"

namespace padtool::win32 {

AboutDialog::AboutDialog(HINSTANCE instance) : DialogBase(instance, IDD_ABOUTBOX) {
  OnCommand(IDOK, BN_CLICKED, [this] { EndDialog(Window(), IDOK); });
  OnCommand(IDCANCEL, BN_CLICKED, [this] { EndDialog(Window(), IDCANCEL); });
}

}  // namespace padtool::win32
