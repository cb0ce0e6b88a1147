// Scripted Direct3D 8 runtime: the adapter's modes, display mode, format
// checks, caps and device creation are set by the test; every call is logged
// with its arguments in call order, and releases are logged too.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/direct3d8.h"

namespace fakes {

struct FakeDirect3D8Script {
  bool createSucceeds = true;
  std::vector<platform::D3dDisplayMode> modes;
  // Overrides the mode count reported (defaults to modes.size()).
  bool overrideModeCount = false;
  std::uint32_t modeCount = 0;
  platform::HResult displayModeResult = platform::kD3dOk;
  platform::D3dDisplayMode currentMode{1024, 768, 60, platform::kD3dFmtX8R8G8B8};
  // Results by arguments; the defaults accept everything.
  std::function<platform::HResult(std::uint32_t adapterFormat, std::uint32_t depthFormat)> checkDeviceFormat;
  std::function<platform::HResult(std::uint32_t adapterFormat, std::uint32_t backBufferFormat,
                                  std::uint32_t depthFormat)>
      checkDepthStencilMatch;
  platform::HResult adapterCapsResult = platform::kD3dOk;
  std::function<platform::HResult(std::uint32_t backBufferFormat, std::uint32_t depthFormat,
                                  std::uint32_t behaviorFlags)>
      createDevice;
  platform::D3dCaps deviceCaps;
  platform::HResult deviceCapsResult = platform::kD3dOk;
  platform::D3dAdapterIdentifier identifier{0x10DE, 0x0641};
  platform::HResult identifierResult = platform::kD3dOk;
};

class FakeDirect3D8Runtime : public platform::Direct3D8Runtime {
 public:
  FakeDirect3D8Script script;
  std::vector<std::string> calls;             // every call in order, with arguments
  std::vector<std::string>* journal = nullptr;  // optional shared log of several fakes
  std::vector<platform::D3dPresentParameters> createdWith;  // parameters of every CreateDevice
  int liveObjects = 0;
  int liveDevices = 0;

  std::unique_ptr<platform::Direct3D8> Direct3DCreate8(std::uint32_t sdkVersion) override {
    Log("Direct3DCreate8(" + std::to_string(sdkVersion) + ")");
    if (!script.createSucceeds) return nullptr;
    return std::make_unique<Object>(this);
  }

  void Log(const std::string& call) {
    calls.push_back(call);
    if (journal != nullptr) journal->push_back(call);
  }

 private:
  static std::string Args(std::initializer_list<std::uint32_t> values) {
    std::string text;
    for (std::uint32_t v : values) {
      if (!text.empty()) text += ",";
      text += std::to_string(v);
    }
    return text;
  }

  class Device : public platform::Direct3DDevice8 {
   public:
    explicit Device(FakeDirect3D8Runtime* owner) : owner_(owner) { ++owner_->liveDevices; }
    ~Device() override {
      --owner_->liveDevices;
      owner_->Log("Device::Release");
    }
    platform::HResult GetDeviceCaps(platform::D3dCaps* caps) override {
      owner_->Log("Device::GetDeviceCaps");
      if (platform::Succeeded(owner_->script.deviceCapsResult)) *caps = owner_->script.deviceCaps;
      return owner_->script.deviceCapsResult;
    }

   private:
    FakeDirect3D8Runtime* owner_;
  };

  class Object : public platform::Direct3D8 {
   public:
    explicit Object(FakeDirect3D8Runtime* owner) : owner_(owner) { ++owner_->liveObjects; }
    ~Object() override {
      --owner_->liveObjects;
      owner_->Log("Release");
    }
    std::uint32_t GetAdapterModeCount(std::uint32_t adapter) override {
      owner_->Log("GetAdapterModeCount(" + Args({adapter}) + ")");
      const auto& s = owner_->script;
      return s.overrideModeCount ? s.modeCount : static_cast<std::uint32_t>(s.modes.size());
    }
    platform::HResult EnumAdapterModes(std::uint32_t adapter, std::uint32_t mode,
                                       platform::D3dDisplayMode* displayMode) override {
      owner_->Log("EnumAdapterModes(" + Args({adapter, mode}) + ")");
      const auto& modes = owner_->script.modes;
      if (mode >= modes.size()) return platform::kD3dErrInvalidCall;
      *displayMode = modes[mode];
      return platform::kD3dOk;
    }
    platform::HResult GetAdapterDisplayMode(std::uint32_t adapter, platform::D3dDisplayMode* displayMode) override {
      owner_->Log("GetAdapterDisplayMode(" + Args({adapter}) + ")");
      if (!platform::Succeeded(owner_->script.displayModeResult)) return owner_->script.displayModeResult;
      *displayMode = owner_->script.currentMode;
      return platform::kD3dOk;
    }
    platform::HResult CheckDeviceFormat(std::uint32_t adapter, std::uint32_t deviceType,
                                        std::uint32_t adapterFormat, std::uint32_t usage,
                                        std::uint32_t resourceType, std::uint32_t checkFormat) override {
      owner_->Log("CheckDeviceFormat(" + Args({adapter, deviceType, adapterFormat, usage, resourceType, checkFormat}) +
                  ")");
      const auto& check = owner_->script.checkDeviceFormat;
      return check ? check(adapterFormat, checkFormat) : platform::kD3dOk;
    }
    platform::HResult CheckDepthStencilMatch(std::uint32_t adapter, std::uint32_t deviceType,
                                             std::uint32_t adapterFormat, std::uint32_t renderTargetFormat,
                                             std::uint32_t depthStencilFormat) override {
      owner_->Log("CheckDepthStencilMatch(" +
                  Args({adapter, deviceType, adapterFormat, renderTargetFormat, depthStencilFormat}) + ")");
      const auto& check = owner_->script.checkDepthStencilMatch;
      return check ? check(adapterFormat, renderTargetFormat, depthStencilFormat) : platform::kD3dOk;
    }
    platform::HResult GetDeviceCaps(std::uint32_t adapter, std::uint32_t deviceType,
                                    platform::D3dCaps* caps) override {
      owner_->Log("GetDeviceCaps(" + Args({adapter, deviceType}) + ")");
      if (platform::Succeeded(owner_->script.adapterCapsResult)) *caps = owner_->script.deviceCaps;
      return owner_->script.adapterCapsResult;
    }
    platform::HResult CreateDevice(std::uint32_t adapter, std::uint32_t deviceType, platform::WindowId focusWindow,
                                   std::uint32_t behaviorFlags, platform::D3dPresentParameters* parameters,
                                   std::unique_ptr<platform::Direct3DDevice8>* device) override {
      owner_->Log("CreateDevice(" + Args({adapter, deviceType, static_cast<std::uint32_t>(focusWindow), behaviorFlags,
                                          parameters->backBufferFormat, parameters->autoDepthStencilFormat}) +
                  ")");
      owner_->createdWith.push_back(*parameters);
      const auto& create = owner_->script.createDevice;
      platform::HResult result =
          create ? create(parameters->backBufferFormat, parameters->autoDepthStencilFormat, behaviorFlags)
                 : platform::kD3dOk;
      if (platform::Succeeded(result)) *device = std::make_unique<Device>(owner_);
      return result;
    }
    platform::HResult GetAdapterIdentifier(std::uint32_t adapter, std::uint32_t flags,
                                           platform::D3dAdapterIdentifier* identifier) override {
      owner_->Log("GetAdapterIdentifier(" + Args({adapter, flags}) + ")");
      if (platform::Succeeded(owner_->script.identifierResult)) *identifier = owner_->script.identifier;
      return owner_->script.identifierResult;
    }

   private:
    FakeDirect3D8Runtime* owner_;
  };
};

}  // namespace fakes
