// A program state for page tests: settings store on an empty fake registry,
// optionally a probe with a mode list and its device capabilities, and the
// recording page controls with the combo items of the page resources.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "configtool/app/config_app.h"
#include "configtool/resources/resource.h"
#include "tests/fakes/fake_direct3d8.h"
#include "tests/fakes/fake_page_controls.h"
#include "tests/fakes/fake_registry.h"

namespace pagetest {

struct Size {
  std::uint32_t width;
  std::uint32_t height;
};

class PageState {
 public:
  PageState() {
    app.regionIndex = 1;
    controls.comboItems[IDC_TEXTURE_COMPRESSION] = {"High", "Low", "Uncompressed"};
    controls.comboItems[IDC_MAP_COMPRESSION] = {"Compressed", "Uncompressed"};
    controls.comboItems[IDC_ENVIRONMENTAL_ANIMATION] = {"Off", "Normal", "Smooth"};
    for (const auto& [id, items] : controls.comboItems) controls.comboItemCount[id] = static_cast<int>(items.size());
  }

  // The store, with every setting at its default.
  void CreateStore() { app.store = std::make_unique<configtool::GameSettings>(registry, app.settings, 1); }

  // A probe over full-colour modes of these sizes and a device with these capabilities.
  void Probe(const std::vector<Size>& modes, const platform::D3dCaps& caps) {
    for (const Size& mode : modes) direct3d.script.modes.push_back({mode.width, mode.height, 60, platform::kD3dFmtX8R8G8B8});
    direct3d.script.deviceCaps = caps;
    configtool::CreateDeviceProbe(app.deviceProbe, direct3d, 0x2017, 640, 480, false);
    app.renderCaps = std::make_unique<configtool::RenderCaps>(app.deviceProbe->Device());
  }

  fakes::FakeRegistry registry;
  fakes::FakeDirect3D8Runtime direct3d;
  configtool::ConfigApp app;
  fakes::FakePageControls controls;
};

// Capabilities: no texture restriction, both shader versions 1.1.
inline platform::D3dCaps Caps(std::uint32_t maxWidth, std::uint32_t maxHeight, std::uint32_t textureCaps = 0,
                              std::uint32_t vertexShader = 0xFFFE0101, std::uint32_t pixelShader = 0xFFFF0101) {
  platform::D3dCaps caps;
  caps.textureCaps = textureCaps;
  caps.maxTextureWidth = maxWidth;
  caps.maxTextureHeight = maxHeight;
  caps.vertexShaderVersion = vertexShader;
  caps.pixelShaderVersion = pixelShader;
  return caps;
}

}  // namespace pagetest
