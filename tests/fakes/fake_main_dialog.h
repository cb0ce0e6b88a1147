// Recording MainDialogControls: FakeDialogControls plus the system menu, the
// icons, a tab control and modal child dialogs. Calls that matter for order go
// to an optional journal shared with other fakes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/main_dialog_controls.h"
#include "tests/fakes/fake_dialog_controls.h"

namespace fakes {

class FakeMainDialog : public FakeDialogControls, public platform::MainDialogControls {
 public:
  platform::WindowId window = 0x1000;
  std::map<int, platform::WindowId> controlWindows;  // controls that exist
  bool hasSystemMenu = true;
  std::vector<std::pair<unsigned, std::string>> systemMenuAppended;  // command 0 = separator
  std::vector<unsigned> systemMenuDeleted;
  std::vector<bool> iconsSet;  // true = big
  std::map<int, std::vector<std::string>> tabs;
  int tabSelection = -1;
  std::vector<int> modalDialogs;
  std::vector<std::string>* journal = nullptr;

  platform::WindowId DialogWindow() override { return window; }
  platform::WindowId ControlWindow(int id) override {
    auto found = controlWindows.find(id);
    return found == controlWindows.end() ? 0 : found->second;
  }
  bool HasSystemMenu() override { return hasSystemMenu; }
  void AppendSystemMenuSeparator() override {
    Log("AppendSystemMenuSeparator");
    systemMenuAppended.emplace_back(0u, std::string());
  }
  void AppendSystemMenuItem(unsigned command, const std::string& text) override {
    Log("AppendSystemMenuItem(" + std::to_string(command) + "," + text + ")");
    systemMenuAppended.emplace_back(command, text);
  }
  void DeleteSystemMenuCommand(unsigned command) override {
    Log("DeleteSystemMenuCommand(" + std::to_string(command) + ")");
    systemMenuDeleted.push_back(command);
  }
  void SetWindowIcon(bool big) override {
    Log(big ? "SetWindowIcon(big)" : "SetWindowIcon(small)");
    iconsSet.push_back(big);
  }
  void InsertTab(int tabControlId, int index, const std::string& label) override {
    Log("InsertTab(" + std::to_string(index) + "," + label + ")");
    auto& items = tabs[tabControlId];
    if (index < 0 || static_cast<std::size_t>(index) > items.size()) index = static_cast<int>(items.size());
    items.insert(items.begin() + index, label);
    if (tabSelection < 0) tabSelection = 0;
  }
  int GetTabSelection(int) override { return tabSelection; }
  void RunModalDialog(int dialogId) override {
    Log("RunModalDialog(" + std::to_string(dialogId) + ")");
    modalDialogs.push_back(dialogId);
  }

  int ShowMessage(int textId, int captionId, unsigned style) override {
    Log("ShowMessage(" + std::to_string(textId) + ")");
    return FakeDialogControls::ShowMessage(textId, captionId, style);
  }
  void StartTimer(unsigned id, unsigned periodMs) override {
    Log("StartTimer(" + std::to_string(id) + "," + std::to_string(periodMs) + ")");
    FakeDialogControls::StartTimer(id, periodMs);
  }
  void StopTimer(unsigned id) override {
    Log("StopTimer(" + std::to_string(id) + ")");
    FakeDialogControls::StopTimer(id);
  }
  void InvalidateDialog() override {
    Log("InvalidateDialog");
    FakeDialogControls::InvalidateDialog();
  }
  void EndDialog(int result) override {
    Log("EndDialog(" + std::to_string(result) + ")");
    FakeDialogControls::EndDialog(result);
  }

  void Log(const std::string& call) {
    if (journal != nullptr) journal->push_back(call);
  }
};

}  // namespace fakes
