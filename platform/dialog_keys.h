// Where a key goes in a modal dialog whose tab control hosts child dialogs
// (tab pages): the rule the key router applies before the modal dialog's own
// dialog handling sees the key. Each child dialog handles its own keys (Tab
// cycles through its controls and never leaves it, arrows move within a
// group, its mnemonics), except the Enter and Esc it leaves to the modal
// dialog and the mnemonics of the modal dialog's own buttons. Tab on the tab
// control leads into the visible child; Ctrl+Tab and Ctrl+Shift+Tab select
// the next and the previous tab from anywhere in the dialog.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

constexpr unsigned kVkTab = 0x09;
constexpr unsigned kVkReturn = 0x0D;
constexpr unsigned kVkEscape = 0x1B;

enum class KeyMessage {
  kKeyDown,  // WM_KEYDOWN
  kChar,     // WM_CHAR
  kSysChar,  // WM_SYSCHAR (a character typed with Alt)
  kOther,    // any other keyboard message
};

struct DialogKey {
  KeyMessage message = KeyMessage::kOther;
  // Virtual key of a key-down, the character of a character message.
  unsigned key = 0;
  bool shift = false;
  bool control = false;
  // The target control asks for this key itself (WM_GETDLGCODE: DLGC_WANTMESSAGE,
  // DLGC_WANTTAB for Tab, DLGC_WANTCHARS for a character), as an open drop-down list does.
  bool targetWantsKey = false;
};

// The window the key was sent to.
enum class KeyTarget {
  kChild,          // a child dialog or one of its controls
  kTabHost,        // the tab control that hosts the child dialogs
  kDialogControl,  // the modal dialog or another of its own controls
};

// What the router knows around the key.
struct KeyContext {
  // The child dialog holding the target leaves Enter and Esc to the modal dialog.
  bool leavesEnterEscToDialog = false;
  // A visible, enabled button or label of that child has the typed character as its mnemonic.
  bool childHasMnemonic = false;
  // One of the modal dialog's own buttons or labels has it.
  bool dialogHasMnemonic = false;
};

enum class KeyRoute {
  kDialog,        // the modal dialog's own dialog handling (or none)
  kChild,         // the child dialog's own dialog handling
  kDialogOk,      // the modal dialog's OK
  kDialogCancel,  // the modal dialog's Cancel
  kDialogMnemonic,  // the modal dialog's own mnemonic, pressed from inside a child
  kIntoChild,     // the focus moves to the first control of the visible child
  kNextTab,       // the next tab is selected, as a click on it would
  kPreviousTab,   // the previous tab is selected
};

inline KeyRoute RouteDialogKey(const DialogKey& key, KeyTarget target, const KeyContext& context) {
  bool keyDown = key.message == KeyMessage::kKeyDown && !key.targetWantsKey;
  if (keyDown && key.key == kVkTab && key.control) return key.shift ? KeyRoute::kPreviousTab : KeyRoute::kNextTab;
  switch (target) {
    case KeyTarget::kChild: {
      if (keyDown && context.leavesEnterEscToDialog && (key.key == kVkReturn || key.key == kVkEscape)) {
        return key.key == kVkReturn ? KeyRoute::kDialogOk : KeyRoute::kDialogCancel;
      }
      // Alt and a letter is a mnemonic everywhere, a plain letter only where the control takes no characters.
      bool mnemonic = key.message == KeyMessage::kSysChar || (key.message == KeyMessage::kChar && !key.targetWantsKey);
      if (mnemonic && !context.childHasMnemonic && context.dialogHasMnemonic) return KeyRoute::kDialogMnemonic;
      return KeyRoute::kChild;
    }
    case KeyTarget::kTabHost:
      return keyDown && key.key == kVkTab && !key.shift ? KeyRoute::kIntoChild : KeyRoute::kDialog;
    case KeyTarget::kDialogControl:
      break;
  }
  return KeyRoute::kDialog;
}

// The caption marks the character as its mnemonic: "&S" in "Create Shortcut
// (&S)" ("&&" is a plain ampersand). Letters match in either case.
inline bool CaptionHasMnemonic(std::string_view caption, char character) {
  auto folded = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    ++i;
    if (caption[i] != '&' && folded(caption[i]) == folded(character)) return true;
  }
  return false;
}

// The tab after (or before) the selected one, going round; the first (or the
// last) without a selection; -1 without tabs.
inline int AdjacentTab(int selection, int count, bool backwards) {
  if (count <= 0) return -1;
  if (selection < 0 || selection >= count) return backwards ? count - 1 : 0;
  return (selection + (backwards ? count - 1 : 1)) % count;
}

}  // namespace platform
