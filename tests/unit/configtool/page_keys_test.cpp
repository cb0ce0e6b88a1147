// Which keys go where on the six pages, on the tab control and on the main
// dialog's own controls, with each page's Enter and Esc rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configtool/pages/config_page.h"
#include "platform/dialog_keys.h"

namespace {

using platform::DialogKey;
using platform::KeyMessage;
using platform::KeyRoute;
using platform::KeyTarget;

constexpr unsigned kVkDown = 0x28;
constexpr unsigned kVkRight = 0x27;

DialogKey KeyDown(unsigned key, bool shift = false, bool control = false, bool wanted = false) {
  return {KeyMessage::kKeyDown, key, shift, control, wanted};
}

DialogKey Character(KeyMessage message, char character, bool wanted = false) {
  return {message, static_cast<unsigned char>(character), false, false, wanted};
}

KeyRoute OnPage(int index, const DialogKey& key, bool pageHasMnemonic = false, bool dialogHasMnemonic = false) {
  return platform::RouteDialogKey(key, KeyTarget::kChild,
                                  {configtool::PageHandsEnterEscToMainDialog(index), pageHasMnemonic,
                                   dialogHasMnemonic});
}

struct KeyRow {
  const char* name;
  DialogKey key;
  bool pageHasMnemonic;
};

TEST(PageKeys, EveryPageMovesTheFocusAndTakesItsMnemonicsItself) {
  const std::vector<KeyRow> rows = {
      {"Tab", KeyDown(platform::kVkTab), false},
      {"Shift+Tab", KeyDown(platform::kVkTab, true), false},
      {"Down", KeyDown(kVkDown), false},
      {"Right", KeyDown(kVkRight), false},
      {"Enter into an open drop-down list", KeyDown(platform::kVkReturn, false, false, true), false},
      {"Esc into an open drop-down list", KeyDown(platform::kVkEscape, false, false, true), false},
      {"Alt+S of the page's button", Character(KeyMessage::kSysChar, 's'), true},
      {"S of the page's button", Character(KeyMessage::kChar, 's'), true},
      {"a letter no button has", Character(KeyMessage::kChar, 'x'), false},
      {"key-up of Tab", {KeyMessage::kOther, platform::kVkTab}, false},
  };
  for (int index = 0; index < configtool::kPageCount; ++index) {
    for (const KeyRow& row : rows) {
      EXPECT_EQ(OnPage(index, row.key, row.pageHasMnemonic), KeyRoute::kChild) << "page " << index << ": " << row.name;
    }
  }
}

TEST(PageKeys, EnterAndEscAreTheMainDialogsOnGeneralScreenSizeAndTexturesAndThePagesOwnElsewhere) {
  const KeyRoute enter[] = {KeyRoute::kDialogOk, KeyRoute::kDialogOk, KeyRoute::kDialogOk,
                            KeyRoute::kChild,    KeyRoute::kChild,    KeyRoute::kChild};
  const KeyRoute esc[] = {KeyRoute::kDialogCancel, KeyRoute::kDialogCancel, KeyRoute::kDialogCancel,
                          KeyRoute::kChild,        KeyRoute::kChild,        KeyRoute::kChild};
  for (int index = 0; index < configtool::kPageCount; ++index) {
    EXPECT_EQ(OnPage(index, KeyDown(platform::kVkReturn)), enter[index]) << "page " << index;
    EXPECT_EQ(OnPage(index, KeyDown(platform::kVkEscape)), esc[index]) << "page " << index;
  }
}

TEST(PageKeys, TheMainDialogsMnemonicsWorkFromEveryPageUnlessThePageHasTheLetterToo) {
  for (int index = 0; index < configtool::kPageCount; ++index) {
    EXPECT_EQ(OnPage(index, Character(KeyMessage::kSysChar, 'd'), false, true), KeyRoute::kDialogMnemonic)
        << "page " << index;
    EXPECT_EQ(OnPage(index, Character(KeyMessage::kChar, 'h'), false, true), KeyRoute::kDialogMnemonic)
        << "page " << index;
    // Alt and a letter is a mnemonic also where a combo box takes plain letters.
    EXPECT_EQ(OnPage(index, Character(KeyMessage::kSysChar, 'd', true), false, true), KeyRoute::kDialogMnemonic)
        << "page " << index;
    EXPECT_EQ(OnPage(index, Character(KeyMessage::kChar, 'd', true), false, true), KeyRoute::kChild)
        << "page " << index;
    EXPECT_EQ(OnPage(index, Character(KeyMessage::kSysChar, 's'), true, true), KeyRoute::kChild) << "page " << index;
  }
}

TEST(PageKeys, TabOnTheTabControlLeadsIntoThePageAndEverythingElseStaysWithTheMainDialog) {
  auto onTabs = [](const DialogKey& key) { return platform::RouteDialogKey(key, KeyTarget::kTabHost, {}); };
  EXPECT_EQ(onTabs(KeyDown(platform::kVkTab)), KeyRoute::kIntoChild);
  EXPECT_EQ(onTabs(KeyDown(platform::kVkTab, true)), KeyRoute::kDialog);
  EXPECT_EQ(onTabs(KeyDown(platform::kVkTab, false, false, true)), KeyRoute::kDialog);
  EXPECT_EQ(onTabs(KeyDown(kVkRight)), KeyRoute::kDialog);
  EXPECT_EQ(onTabs(KeyDown(platform::kVkReturn)), KeyRoute::kDialog);
  EXPECT_EQ(onTabs(Character(KeyMessage::kSysChar, 'd')), KeyRoute::kDialog);

  auto onButton = [](const DialogKey& key) { return platform::RouteDialogKey(key, KeyTarget::kDialogControl, {}); };
  EXPECT_EQ(onButton(KeyDown(platform::kVkTab)), KeyRoute::kDialog);
  EXPECT_EQ(onButton(KeyDown(platform::kVkEscape)), KeyRoute::kDialog);
}

TEST(PageKeys, CtrlTabSelectsTheAdjacentTabFromAnywhereUnlessTheControlWantsTab) {
  for (KeyTarget target : {KeyTarget::kChild, KeyTarget::kTabHost, KeyTarget::kDialogControl}) {
    EXPECT_EQ(platform::RouteDialogKey(KeyDown(platform::kVkTab, false, true), target, {}), KeyRoute::kNextTab);
    EXPECT_EQ(platform::RouteDialogKey(KeyDown(platform::kVkTab, true, true), target, {}), KeyRoute::kPreviousTab);
  }
  EXPECT_EQ(OnPage(configtool::kGeneralPage, KeyDown(platform::kVkTab, false, true, true)), KeyRoute::kChild);
}

TEST(PageKeys, CaptionMnemonicIsTheLetterAfterASingleAmpersandInEitherCase) {
  EXPECT_TRUE(platform::CaptionHasMnemonic("Create Shortcut (&S)", 's'));
  EXPECT_TRUE(platform::CaptionHasMnemonic("Create Shortcut (&S)", 'S'));
  EXPECT_FALSE(platform::CaptionHasMnemonic("Create Shortcut (&S)", 'c'));
  EXPECT_FALSE(platform::CaptionHasMnemonic("Fish && Chips", ' '));
  EXPECT_FALSE(platform::CaptionHasMnemonic("Fish && Chips", '&'));
  EXPECT_TRUE(platform::CaptionHasMnemonic("A && &B", 'b'));
  EXPECT_FALSE(platform::CaptionHasMnemonic("Trailing &", '\0'));
  EXPECT_FALSE(platform::CaptionHasMnemonic("Enable Sound", 'e'));
}

TEST(PageKeys, AdjacentTabGoesRoundAndStartsAtAnEndWithoutSelection) {
  EXPECT_EQ(platform::AdjacentTab(3, 6, false), 4);
  EXPECT_EQ(platform::AdjacentTab(5, 6, false), 0);
  EXPECT_EQ(platform::AdjacentTab(0, 6, true), 5);
  EXPECT_EQ(platform::AdjacentTab(-1, 6, false), 0);
  EXPECT_EQ(platform::AdjacentTab(-1, 6, true), 5);
  EXPECT_EQ(platform::AdjacentTab(9, 6, false), 0);
  EXPECT_EQ(platform::AdjacentTab(0, 0, false), -1);
}

}  // namespace
