#include "configtool/pages/page_windows_win32.h"

#include <vector>

#include "configtool/pages/dialog_init.h"

namespace configtool {

namespace {

constexpr WORD kDlgInitResourceType = 240;

// Adds the combo and list box items of the dialog's initial data resource.
void ApplyDialogInit(HINSTANCE instance, int dialogId, HWND dialog) {
  HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(dialogId), MAKEINTRESOURCEA(kDlgInitResourceType));
  if (resource == nullptr) return;
  HGLOBAL loaded = LoadResource(instance, resource);
  DWORD size = SizeofResource(instance, resource);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr || size == 0) return;
  std::vector<DialogInitItem> items;
  ParseDialogInit(static_cast<const std::uint8_t*>(data), size, &items);
  for (const DialogInitItem& item : items) {
    UINT message = item.message == kDlgInitComboAddString  ? CB_ADDSTRING
                   : item.message == kDlgInitListAddString ? LB_ADDSTRING
                                                           : 0;
    if (message == 0) continue;
    SendDlgItemMessageA(dialog, item.controlId, message, 0, reinterpret_cast<LPARAM>(item.text.c_str()));
  }
}

}  // namespace

INT_PTR PageWindow::Dialog::OnInitDialog() {
  ApplyDialogInit(Instance(), dialogId_, Window());
  LogicDialog::OnInitDialog();
  // A hidden page takes no focus.
  return FALSE;
}

PageWindow::PageWindow(HINSTANCE instance, int index, ConfigApp& app, const PageServices& services)
    : controls_(instance),
      logic_(CreatePageLogic(index, app, controls_, services)),
      dialog_(instance, PageDialogId(index), controls_, *logic_.logic) {}

PageWindow::~PageWindow() {
  if (dialog_.Window() != nullptr) DestroyWindow(dialog_.Window());
}

bool PageWindow::Create(HWND tabControl) { return dialog_.CreateModeless(tabControl) != nullptr; }

void PageWindow::Show(bool visible) {
  if (dialog_.Window() != nullptr) ShowWindow(dialog_.Window(), visible ? SW_SHOW : SW_HIDE);
}

std::unique_ptr<ConfigPage> Win32PageFactory::CreatePage(int index) {
  if (PageDialogId(index) == 0 || tabControl_ == nullptr) return nullptr;
  auto page = std::make_unique<PageWindow>(instance_, index, app_, services_);
  if (!page->Create(tabControl_)) return nullptr;
  if (router_ != nullptr) router_->AddChild(page->Window(), !PageHandsEnterEscToMainDialog(index));
  return page;
}

}  // namespace configtool
