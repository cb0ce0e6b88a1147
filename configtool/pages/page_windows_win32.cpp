#include "configtool/pages/page_windows_win32.h"

#include <vector>

#include "configtool/pages/dialog_init.h"
#include "platform/win32/system_services_win32.h"

namespace configtool {

namespace {

constexpr WORD kDlgInitResourceType = 240;

// Adds the combo and list box items of the dialog's initial data resource.
void ApplyDialogInit(HINSTANCE instance, int dialogId, HWND dialog) {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  if (!platform::win32::LoadModuleResource(instance, MAKEINTRESOURCEA(dialogId),
                                           MAKEINTRESOURCEA(kDlgInitResourceType), &data, &size) ||
      size == 0) {
    return;
  }
  std::vector<DialogInitItem> items;
  ParseDialogInit(data, size, &items);
  for (const DialogInitItem& item : items) {
    UINT message = item.message == kDlgInitComboAddString  ? CB_ADDSTRING
                   : item.message == kDlgInitListAddString ? LB_ADDSTRING
                                                           : 0;
    if (message == 0) continue;
    SendDlgItemMessageA(dialog, item.controlId, message, 0, reinterpret_cast<LPARAM>(item.text.c_str()));
  }
}

// ShowWindow(SW_HIDE) takes the focus only off the hidden window itself, not
// off its controls: a control of the hidden page would go on taking keys and
// changing settings unseen. The tab control takes the focus instead; Tab
// there leads into the page shown next.
void HidePage(HWND page) {
  HWND focus = GetFocus();
  bool holdsFocus = focus != nullptr && (focus == page || IsChild(page, focus));
  ShowWindow(page, SW_HIDE);
  if (holdsFocus) SetFocus(GetParent(page));
}

}  // namespace

INT_PTR PageWindow::Dialog::OnInitDialog() {
  ApplyDialogInit(Instance(), dialogId_, Window());
  LogicDialog::OnInitDialog();
  // A hidden page takes no focus.
  return FALSE;
}

void PageWindow::Dialog::JoinKeyRouter(platform::win32::DialogKeyRouter* router, bool leavesEnterEscToDialog) {
  router_ = router;
  if (router_ != nullptr) router_->AddChild(Window(), leavesEnterEscToDialog);
}

void PageWindow::Dialog::OnDestroy() {
  if (router_ != nullptr) router_->RemoveChild(Window());
  router_ = nullptr;
  LogicDialog::OnDestroy();
}

// A modeless page is not ended, only put away until its tab is chosen again.
void PageWindow::Dialog::OnOkOrCancel(int) { HidePage(Window()); }

PageWindow::PageWindow(HINSTANCE instance, int index, ConfigApp& app, const PageServices& services)
    : index_(index),
      controls_(instance),
      logic_(CreatePageLogic(index, app, controls_, services)),
      dialog_(instance, PageDialogId(index), controls_, *logic_.logic) {}

PageWindow::~PageWindow() {
  if (dialog_.Window() != nullptr) DestroyWindow(dialog_.Window());
}

bool PageWindow::Create(HWND tabControl, platform::win32::DialogKeyRouter* router) {
  if (dialog_.CreateModeless(tabControl) == nullptr) return false;
  dialog_.JoinKeyRouter(router, PageHandsEnterEscToMainDialog(index_));
  return true;
}

void PageWindow::Show(bool visible) {
  if (dialog_.Window() == nullptr) return;
  if (visible) {
    ShowWindow(dialog_.Window(), SW_SHOW);
  } else {
    HidePage(dialog_.Window());
  }
}

std::unique_ptr<ConfigPage> Win32PageFactory::CreatePage(int index) {
  if (PageDialogId(index) == 0 || tabControl_ == nullptr) return nullptr;
  auto page = std::make_unique<PageWindow>(instance_, index, app_, services_);
  if (!page->Create(tabControl_, router_)) return nullptr;
  return page;
}

}  // namespace configtool
