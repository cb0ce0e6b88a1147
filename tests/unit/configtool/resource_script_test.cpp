// Checks config.rc and resource.h against the documented resources: every
// string 101-143 with its exact text, the dialogs' titles and styles, and
// each control with its kind, caption and id.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "configtool/resources/resource.h"

namespace {

std::string ReadScript() {
  std::ifstream file(std::string(VELDARA_SOURCE_DIR) + "/configtool/resources/config.rc", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

const std::string& Script() {
  static const std::string script = ReadScript();
  return script;
}

// The text of a quoted resource string with its \n, \" and \\ escapes resolved.
std::string Unescape(const std::string& quoted) {
  std::string text;
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    if (quoted[i] == '\\' && i + 1 < quoted.size()) {
      char next = quoted[++i];
      text += next == 'n' ? '\n' : next;
    } else {
      text += quoted[i];
    }
  }
  return text;
}

// Symbol -> text of the STRINGTABLE entries.
std::map<std::string, std::string> StringTable() {
  std::map<std::string, std::string> table;
  std::smatch block;
  std::string script = Script();
  if (!std::regex_search(script, block, std::regex("STRINGTABLE\\s*\\nBEGIN\\n([\\s\\S]*?)\\nEND"))) return table;
  std::string body = block[1];
  std::regex entry("^\\s*(IDS_\\w+)\\s+\"((?:[^\"\\\\]|\\\\.)*)\"\\s*$");
  std::istringstream lines(body);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_match(line, m, entry)) table[m[1]] = Unescape(m[2]);
  }
  return table;
}

// The lines of one dialog resource from its DIALOGEX line to its END.
std::vector<std::string> DialogLines(const std::string& symbol) {
  std::vector<std::string> lines;
  std::istringstream script(Script());
  bool inside = false;
  for (std::string line; std::getline(script, line);) {
    if (!inside && line.rfind(symbol + " DIALOGEX", 0) == 0) inside = true;
    if (!inside) continue;
    lines.push_back(line);
    if (line == "END") break;
  }
  return lines;
}

struct Control {
  const char* kind;     // resource statement
  const char* caption;  // quoted text, or null for statements without one
  const char* id;       // id symbol as written in the script
  std::vector<std::string> also;  // further parts the same line must hold
};

bool HasControl(const std::vector<std::string>& lines, const Control& c) {
  std::string start = std::string(c.kind) + " ";
  std::string head = c.caption != nullptr ? "\"" + std::string(c.caption) + "\", " + c.id + "," : std::string(c.id) + ",";
  for (const std::string& line : lines) {
    std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos || line.compare(first, start.size(), start) != 0) continue;
    std::size_t rest = line.find_first_not_of(' ', first + start.size());
    if (rest == std::string::npos || line.compare(rest, head.size(), head) != 0) continue;
    bool all = true;
    for (const std::string& part : c.also) all = all && line.find(part) != std::string::npos;
    if (all) return true;
  }
  return false;
}

std::string LineStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const std::string& line : lines) {
    if (line.rfind(prefix, 0) == 0) return line;
  }
  return {};
}

TEST(ResourceScript, StringTableHoldsTheDocumentedTexts) {
  struct Expected {
    int id;
    const char* symbol;
    const char* text;
  };
  const std::vector<Expected> expected = {
      {101, "IDS_ABOUTBOX", "About VELDARA Configuration Tool..."},
      {102, "IDS_TAB_GENERAL", "General"},
      {103, "IDS_TAB_SCREEN_SIZE", "Screen Size"},
      {104, "IDS_TAB_TEXTURES", "Textures"},
      {105, "IDS_TAB_EFFECTS", "Effects"},
      {106, "IDS_SAVE_FAILED", "Was unable to save settings."},
      {107, "IDS_SETTINGS_SAVED", "Settings saved."},
      {108, "IDS_DEFAULTS_RETURNED", "Returned settings to default values."},
      {109, "IDS_RETURN_TO_DEFAULTS", "Return settings to their default values?"},
      {110, "IDS_SAVE_SETTINGS", "Save settings?"},
      {111, "IDS_ALREADY_RUNNING", "VELDARA Config is already running."},
      {112, "IDS_TAB_SOUND", "Sound"},
      {113, "IDS_READ_ONLY_WARNING",
       "You may not be able to save VELDARA Config settings.\nPlease make sure you are logged in with  administrator "
       "rights."},
      {114, "IDS_TAB_MISC", "Misc."},
      {117, "IDS_CREATE_SHORTCUT",
       "Create a shortcut for VELDARA on the desktop?\nWhen this shortcut is selected, the Orbinet Viewer will launch "
       "and a shortcut command for VELDARA will appear on the main menu."},
      {118, "IDS_SHORTCUT_CREATED", "A shortcut to VELDARA has been placed on the desktop."},
      {119, "IDS_SHORTCUT_FAILED", "Unable to create shortcut."},
      {120, "IDS_HELP_FILE", "VELDARA Config.chm"},
      {121, "IDS_CAPTION", "VELDARA Config"},
      {142, "IDS_WINDOWED_WARNING",
       "You may experience lower frame rates or other problems depending on your computer's specifications.\nUncheck "
       "the box and use full screen mode to improve performance."},
      {143, "IDS_GAME_RUNNING", "The VELDARA Config Tool cannot be accessed while VELDARA is running."},
  };
  const std::map<std::string, int> headerIds = {
      {"IDS_ABOUTBOX", IDS_ABOUTBOX},
      {"IDS_TAB_GENERAL", IDS_TAB_GENERAL},
      {"IDS_TAB_SCREEN_SIZE", IDS_TAB_SCREEN_SIZE},
      {"IDS_TAB_TEXTURES", IDS_TAB_TEXTURES},
      {"IDS_TAB_EFFECTS", IDS_TAB_EFFECTS},
      {"IDS_SAVE_FAILED", IDS_SAVE_FAILED},
      {"IDS_SETTINGS_SAVED", IDS_SETTINGS_SAVED},
      {"IDS_DEFAULTS_RETURNED", IDS_DEFAULTS_RETURNED},
      {"IDS_RETURN_TO_DEFAULTS", IDS_RETURN_TO_DEFAULTS},
      {"IDS_SAVE_SETTINGS", IDS_SAVE_SETTINGS},
      {"IDS_ALREADY_RUNNING", IDS_ALREADY_RUNNING},
      {"IDS_TAB_SOUND", IDS_TAB_SOUND},
      {"IDS_READ_ONLY_WARNING", IDS_READ_ONLY_WARNING},
      {"IDS_TAB_MISC", IDS_TAB_MISC},
      {"IDS_CREATE_SHORTCUT", IDS_CREATE_SHORTCUT},
      {"IDS_SHORTCUT_CREATED", IDS_SHORTCUT_CREATED},
      {"IDS_SHORTCUT_FAILED", IDS_SHORTCUT_FAILED},
      {"IDS_HELP_FILE", IDS_HELP_FILE},
      {"IDS_CAPTION", IDS_CAPTION},
      {"IDS_WINDOWED_WARNING", IDS_WINDOWED_WARNING},
      {"IDS_GAME_RUNNING", IDS_GAME_RUNNING},
  };
  std::map<std::string, std::string> table = StringTable();
  ASSERT_FALSE(Script().empty()) << "config.rc not found";
  EXPECT_EQ(table.size(), expected.size());
  for (const Expected& e : expected) {
    auto id = headerIds.find(e.symbol);
    ASSERT_NE(id, headerIds.end()) << e.symbol;
    EXPECT_EQ(id->second, e.id) << e.symbol;
    auto text = table.find(e.symbol);
    ASSERT_NE(text, table.end()) << e.symbol << " is missing from the string table";
    EXPECT_EQ(text->second, e.text) << e.symbol;
  }
}

TEST(ResourceScript, ResourceIdsAreTheDocumentedNumbers) {
  const std::vector<std::pair<int, int>> ids = {
      {IDD_ABOUTBOX, 100},
      {IDD_CONFIG_DIALOG, 102},
      {IDD_GENERAL_PAGE, 130},
      {IDD_SCREEN_SIZE_PAGE, 131},
      {IDD_TEXTURES_PAGE, 132},
      {IDD_MISC_PAGE, 134},
      {IDD_EFFECTS_PAGE, 135},
      {IDD_SOUND_PAGE, 136},
      {IDI_CONFIG, 128},
      {IDB_BANNER, 129},
      {IDC_HELP_BUTTON, 1000},
      {IDC_DEFAULT, 1001},
      {IDC_TAB, 1007},
      {IDC_D3D_WINDOW, 1017},
      {IDC_MIP_MAPPING, 1008},
      {IDC_WINDOWED_MODE, 1009},
      {IDC_GAMEPAD_SETTINGS, 1022},
      {IDC_CREATE_SHORTCUT, 1023},
      {IDC_GAMMA, 1026},
      {IDC_GAMMA_GROUP, 1028},
      {IDC_GAMMA_MINUS, 1029},
      {IDC_GAMMA_PLUS, 1030},
      {IDC_GAMMA_VALUE, 1031},
      {IDC_OVERLAY_LABEL, 1012},
      {IDC_BACKGROUND_LABEL, 1013},
      {IDC_BACKGROUND_RESOLUTION, 1014},
      {IDC_OVERLAY_RESOLUTION, 1018},
      {IDC_LCD_3D_MODE, 1042},
      {IDC_TEXTURE_COMPRESSION, 1010},
      {IDC_TEXTURE_COMPRESSION_LABEL, 1013},
      {IDC_MAP_COMPRESSION_LABEL, 1014},
      {IDC_MAP_COMPRESSION, 1015},
      {IDC_BUMP_MAPPING, 1009},
      {IDC_ENVIRONMENTAL_ANIMATION, 1024},
      {IDC_ENVIRONMENTAL_ANIMATION_LABEL, 1025},
      {IDC_SOUND_ENABLED, 1002},
      {IDC_SOUND_EFFECT_GROUP, 1037},
      {IDC_SOUND_EFFECT_COUNT, 1038},
      {IDC_SOUND_EFFECT_VALUE, 1039},
      {IDC_OPENING_MOVIE, 1003},
      {IDC_ADD_TO_MEDIA_CENTER, 1009},
      {IDC_HARDWARE_MOUSE_CURSOR, 1019},
      {IDC_SIMPLE_CHARACTER_CREATION, 1023},
  };
  for (std::size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(ids[i].first, ids[i].second) << "entry " << i;
}

TEST(ResourceScript, MainDialogHasTitleMinimiseBoxNoMaximiseBoxAndItsControls) {
  std::vector<std::string> lines = DialogLines("IDD_CONFIG_DIALOG");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(LineStartingWith(lines, "CAPTION"), "CAPTION \"VELDARA Config\"");
  std::string style = LineStartingWith(lines, "STYLE");
  for (const char* part : {"WS_CAPTION", "WS_SYSMENU", "WS_MINIMIZEBOX"}) {
    EXPECT_NE(style.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(style.find("WS_MAXIMIZEBOX"), std::string::npos);
  const std::vector<Control> controls = {
      {"CONTROL", nullptr, "IDB_BANNER", {"\"Static\"", "SS_BITMAP"}},
      {"GROUPBOX", "VELDARA Config", "IDC_STATIC", {}},
      {"CONTROL", "", "IDC_TAB", {"\"SysTabControl32\""}},
      {"LTEXT", "D3D", "IDC_D3D_WINDOW", {"NOT WS_VISIBLE"}},
      {"PUSHBUTTON", "Default (&D)", "IDC_DEFAULT", {}},
      {"PUSHBUTTON", "Help (&H)", "IDC_HELP_BUTTON", {}},
      {"DEFPUSHBUTTON", "OK", "IDOK", {}},
  };
  for (const Control& c : controls) EXPECT_TRUE(HasControl(lines, c)) << c.kind << " " << c.id;
}

TEST(ResourceScript, AboutDialogShowsIconVersionAndOk) {
  std::vector<std::string> lines = DialogLines("IDD_ABOUTBOX");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(LineStartingWith(lines, "CAPTION"), "CAPTION \"About VELDARA Configuration Tool\"");
  EXPECT_TRUE(HasControl(lines, {"ICON", nullptr, "IDI_CONFIG", {}}));
  EXPECT_TRUE(HasControl(lines, {"LTEXT", "VELDARA Config Version 1.6", "IDC_STATIC", {}}));
  EXPECT_TRUE(HasControl(lines, {"DEFPUSHBUTTON", "OK", "IDOK", {}}));
}

TEST(ResourceScript, PagesCarryEveryControlWithItsKindCaptionAndId) {
  const std::string kDropDown = "CBS_DROPDOWNLIST";
  const std::map<std::string, std::vector<Control>> pages = {
      {"IDD_GENERAL_PAGE",
       {{"AUTOCHECKBOX", "Enable MIP mapping", "IDC_MIP_MAPPING", {}},
        {"AUTOCHECKBOX", "Start in Windowed Mode", "IDC_WINDOWED_MODE", {}},
        {"PUSHBUTTON", "Create Shortcut (&S)", "IDC_CREATE_SHORTCUT", {}},
        {"PUSHBUTTON", "Gamepad Settings (&P)", "IDC_GAMEPAD_SETTINGS", {}},
        {"GROUPBOX", "Gamma Base", "IDC_GAMMA_GROUP", {}},
        {"CONTROL", "", "IDC_GAMMA", {"TRACKBAR_CLASSA", "TBS_NOTICKS"}},
        {"LTEXT", "-", "IDC_GAMMA_MINUS", {}},
        {"CTEXT", "0", "IDC_GAMMA_VALUE", {}},
        {"LTEXT", "+", "IDC_GAMMA_PLUS", {}}}},
      {"IDD_SCREEN_SIZE_PAGE",
       {{"LTEXT", "Overlay Graphics Resolution", "IDC_OVERLAY_LABEL", {}},
        {"COMBOBOX", nullptr, "IDC_OVERLAY_RESOLUTION", {kDropDown}},
        {"LTEXT", "Background Resolution", "IDC_BACKGROUND_LABEL", {}},
        {"COMBOBOX", nullptr, "IDC_BACKGROUND_RESOLUTION", {kDropDown}},
        {"AUTOCHECKBOX", "Enable 3D LCD Mode", "IDC_LCD_3D_MODE", {}}}},
      {"IDD_TEXTURES_PAGE",
       {{"LTEXT", "Texture Compression", "IDC_TEXTURE_COMPRESSION_LABEL", {}},
        {"COMBOBOX", nullptr, "IDC_TEXTURE_COMPRESSION", {kDropDown}},
        {"LTEXT", "On-screen Maps", "IDC_MAP_COMPRESSION_LABEL", {}},
        {"COMBOBOX", nullptr, "IDC_MAP_COMPRESSION", {kDropDown, "CBS_SORT"}}}},
      {"IDD_EFFECTS_PAGE",
       {{"AUTOCHECKBOX", "Enable bump mapping", "IDC_BUMP_MAPPING", {}},
        {"LTEXT", "Environmental Animation", "IDC_ENVIRONMENTAL_ANIMATION_LABEL", {}},
        {"COMBOBOX", nullptr, "IDC_ENVIRONMENTAL_ANIMATION", {kDropDown}}}},
      {"IDD_SOUND_PAGE",
       {{"AUTOCHECKBOX", "Enable Sound", "IDC_SOUND_ENABLED", {}},
        {"GROUPBOX", "SoundEffectNum", "IDC_SOUND_EFFECT_GROUP", {}},
        {"CONTROL", "", "IDC_SOUND_EFFECT_COUNT", {"TRACKBAR_CLASSA", "TBS_HORZ"}},
        {"LTEXT", "12", "IDC_SOUND_EFFECT_VALUE", {}}}},
      {"IDD_MISC_PAGE",
       {{"AUTOCHECKBOX", "Show opening movie", "IDC_OPENING_MOVIE", {}},
        {"AUTOCHECKBOX", "Enable hardware mouse cursor", "IDC_HARDWARE_MOUSE_CURSOR", {}},
        {"AUTOCHECKBOX", "Simplified character creation visuals", "IDC_SIMPLE_CHARACTER_CREATION", {}},
        {"AUTOCHECKBOX", "Add to Media Center", "IDC_ADD_TO_MEDIA_CENTER", {}}}},
  };
  for (const auto& [symbol, controls] : pages) {
    std::vector<std::string> lines = DialogLines(symbol);
    ASSERT_FALSE(lines.empty()) << symbol;
    std::string style = LineStartingWith(lines, "STYLE");
    EXPECT_NE(style.find("WS_CHILD"), std::string::npos) << symbol;
    EXPECT_EQ(style.find("WS_VISIBLE"), std::string::npos) << symbol << " is created hidden";
    EXPECT_EQ(LineStartingWith(lines, "CAPTION"), "") << symbol << " has no caption";
    for (const Control& c : controls) EXPECT_TRUE(HasControl(lines, c)) << symbol << ": " << c.kind << " " << c.id;
  }
}

}  // namespace
