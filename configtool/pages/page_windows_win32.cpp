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

PageWindow::PageWindow(HINSTANCE instance, int dialogId) : DialogBase(instance, dialogId), dialogId_(dialogId) {}

PageWindow::~PageWindow() {
  if (Window() != nullptr) DestroyWindow(Window());
}

bool PageWindow::Create(HWND tabControl) { return CreateModeless(tabControl) != nullptr; }

void PageWindow::Show(bool visible) {
  if (Window() != nullptr) ShowWindow(Window(), visible ? SW_SHOW : SW_HIDE);
}

INT_PTR PageWindow::OnInitDialog() {
  ApplyDialogInit(Instance(), dialogId_, Window());
  return FALSE;
}

MiscPageWindow::MiscPageWindow(HINSTANCE instance) : PageWindow(instance, PageDialogId(kMiscPage)) {}

std::unique_ptr<ConfigPage> Win32PageFactory::CreatePage(int index) {
  int dialogId = PageDialogId(index);
  if (dialogId == 0 || tabControl_ == nullptr) return nullptr;
  std::unique_ptr<PageWindow> page = index == kMiscPage ? std::make_unique<MiscPageWindow>(instance_)
                                                        : std::make_unique<PageWindow>(instance_, dialogId);
  if (!page->Create(tabControl_)) return nullptr;
  return page;
}

}  // namespace configtool
