// What a settings page's logic may do with its controls beyond DialogControls:
// combo box items and trackbars. The Win32 implementation works on one page
// window; tests use a recording replacement.
#pragma once

#include <string>

#include "platform/dialog_controls.h"

namespace platform {

class PageControls : public virtual DialogControls {
 public:
  // GetDlgItem(page, id) found the control.
  virtual bool HasControl(int id) = 0;
  // CB_RESETCONTENT.
  virtual void ResetCombo(int id) = 0;
  // CB_INSERTSTRING at index (-1: at the end); the new item's index, -1 on failure.
  virtual int InsertComboItem(int id, int index, const std::string& text) = 0;
  // TBM_SETRANGEMIN(redraw, minimum).
  virtual void SetTrackbarMin(int id, int minimum, bool redraw) = 0;
  // TBM_SETRANGEMAX(redraw, maximum).
  virtual void SetTrackbarMax(int id, int maximum, bool redraw) = 0;
  // TBM_SETPOS(redraw, position).
  virtual void SetTrackbarPosition(int id, int position, bool redraw) = 0;
  // TBM_GETPOS.
  virtual int GetTrackbarPosition(int id) = 0;
};

}  // namespace platform
