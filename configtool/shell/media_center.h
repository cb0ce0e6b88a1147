// Windows Media Center registration of the game. Adding writes "VDRA.XML"
// (resource "MCE_XML" edited to name the link) and "VDRA.PNG" (resource
// "MCE_PNG") into the game folder, starts "%windir%\ehome\RegisterMCEApp.exe
// /allusers" on the description without waiting, and creates the link
// "ORBBOOT.EXE.LNK" to "orbboot.exe /MediaCenter". Removing deletes the link,
// runs the tool with "/u /allusers" and waits for it, then deletes the two
// files. Every step goes on whatever the one before it did.
#pragma once

#include "platform/files.h"
#include "platform/module_resources.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_info.h"

namespace configtool {

constexpr char kDescriptionFile[] = "\\VDRA.XML";
constexpr char kTileFile[] = "\\VDRA.PNG";
constexpr char kMediaCenterLinkFile[] = "\\ORBBOOT.EXE.LNK";
constexpr char kMediaCenterLinkTarget[] = "\\orbboot.exe";
constexpr char kMediaCenterArguments[] = "/MediaCenter";
constexpr char kDescriptionResource[] = "MCE_XML";
constexpr char kTileResource[] = "MCE_PNG";
constexpr char kBinaryResourceType[] = "BINARY";

struct MediaCenterServices {
  platform::Registry& registry;
  int regionIndex;
  platform::Shell& shell;
  platform::Files& files;
  platform::SystemInfo& system;
  platform::ModuleResources& resources;
  platform::Processes& processes;
};

// Windows XP Media Center Edition: version 5.x and SM_MEDIACENTER set.
bool IsMediaCenterSystem(platform::SystemInfo& system);

// The game folder holds "ORBBOOT.EXE.LNK"; false without a game folder.
bool MediaCenterLinkExists(const MediaCenterServices& services);

void AddToMediaCenter(const MediaCenterServices& services);
void RemoveFromMediaCenter(const MediaCenterServices& services);

}  // namespace configtool
