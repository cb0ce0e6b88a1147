// Recording PageControls: FakeDialogControls plus combo items and trackbars,
// with a log of the item and trackbar calls in order.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/page_controls.h"
#include "tests/fakes/fake_dialog_controls.h"

namespace fakes {

struct Trackbar {
  int minimum = 0;
  int maximum = 100;
  int position = 0;
};

class FakePageControls : public FakeDialogControls, public platform::PageControls {
 public:
  std::map<int, std::vector<std::string>> comboItems;
  std::map<int, Trackbar> trackbars;
  std::set<int> missing;           // controls the page does not have
  std::vector<std::string> calls;  // combo item and trackbar calls, e.g. "SetTrackbarMax(1026,100,0)"

  bool HasControl(int id) override { return missing.count(id) == 0; }
  void ResetCombo(int id) override {
    calls.push_back("ResetCombo(" + std::to_string(id) + ")");
    comboItems[id].clear();
    comboItemCount[id] = 0;
    comboSelection[id] = -1;
  }
  int InsertComboItem(int id, int index, const std::string& item) override {
    auto& items = comboItems[id];
    if (index < 0 || static_cast<std::size_t>(index) > items.size()) index = static_cast<int>(items.size());
    items.insert(items.begin() + index, item);
    comboItemCount[id] = static_cast<int>(items.size());
    return index;
  }
  void SetTrackbarMin(int id, int minimum, bool redraw) override {
    calls.push_back("SetTrackbarMin(" + Args(id, minimum, redraw) + ")");
    trackbars[id].minimum = minimum;
  }
  void SetTrackbarMax(int id, int maximum, bool redraw) override {
    calls.push_back("SetTrackbarMax(" + Args(id, maximum, redraw) + ")");
    trackbars[id].maximum = maximum;
  }
  // Like the control, the position is kept inside the range.
  void SetTrackbarPosition(int id, int position, bool redraw) override {
    calls.push_back("SetTrackbarPosition(" + Args(id, position, redraw) + ")");
    Trackbar& bar = trackbars[id];
    bar.position = position < bar.minimum ? bar.minimum : position > bar.maximum ? bar.maximum : position;
  }
  int GetTrackbarPosition(int id) override { return trackbars[id].position; }

  // The text of the selected item of a combo; empty without a selection.
  std::string SelectedItem(int id) {
    int selected = GetComboSelection(id);
    const auto& items = comboItems[id];
    return selected >= 0 && static_cast<std::size_t>(selected) < items.size() ? items[selected] : std::string();
  }

 private:
  static std::string Args(int id, int value, bool redraw) {
    return std::to_string(id) + "," + std::to_string(value) + "," + (redraw ? "1" : "0");
  }
};

}  // namespace fakes
