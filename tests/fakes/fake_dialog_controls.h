// Recording DialogControls: control state in maps, scripted message box
// answers, and a log of every message shown and focus move made.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/dialog_controls.h"

namespace fakes {

struct ShownMessage {
  int textId;
  int captionId;
  unsigned style;
};

class FakeDialogControls : public virtual platform::DialogControls {
 public:
  std::map<int, int> comboSelection;
  std::map<int, int> comboItemCount;  // items per combo; unknown combos accept any index
  std::map<int, bool> checked;
  std::map<int, bool> enabled;
  std::map<int, bool> visible;
  std::map<int, std::string> text;
  std::map<int, std::string> strings;  // string table
  std::deque<int> answers;             // next message box answers; IDOK when empty
  std::vector<ShownMessage> shown;
  std::vector<bool> focusMoves;        // true = previous
  std::set<unsigned> timers;
  std::vector<int> endResults;
  int invalidations = 0;

  int GetComboSelection(int id) override {
    auto found = comboSelection.find(id);
    return found == comboSelection.end() ? -1 : found->second;
  }
  void SetComboSelection(int id, int index) override {
    auto count = comboItemCount.find(id);
    bool valid = index >= 0 && (count == comboItemCount.end() || index < count->second);
    comboSelection[id] = valid ? index : -1;
  }
  bool IsChecked(int id) override { return checked[id]; }
  void SetChecked(int id, bool value) override { checked[id] = value; }
  void EnableControl(int id, bool value) override { enabled[id] = value; }
  void ShowControl(int id, bool value) override { visible[id] = value; }
  void SetControlText(int id, const std::string& value) override { text[id] = value; }
  std::string GetControlText(int id) override { return text[id]; }
  void MoveFocus(bool previous) override { focusMoves.push_back(previous); }
  std::string LoadString(int id) override {
    auto found = strings.find(id);
    return found == strings.end() ? std::string() : found->second;
  }
  int ShowMessage(int textId, int captionId, unsigned style) override {
    shown.push_back({textId, captionId, style});
    if (answers.empty()) return platform::kIdOk;
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void StartTimer(unsigned id, unsigned) override { timers.insert(id); }
  void StopTimer(unsigned id) override { timers.erase(id); }
  void InvalidateDialog() override { ++invalidations; }
  void EndDialog(int result) override { endResults.push_back(result); }

  bool IsEnabled(int id) const {
    auto found = enabled.find(id);
    return found == enabled.end() || found->second;
  }
};

}  // namespace fakes
