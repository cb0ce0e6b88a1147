// Direct3D 8 as the adapter probe uses it: creating the Direct3D object, the
// adapter queries on IDirect3D8 and the one query on IDirect3DDevice8. Records
// carry the raw fields of D3DDISPLAYMODE, D3DPRESENT_PARAMETERS, D3DCAPS8 and
// D3DADAPTER_IDENTIFIER8 that the tool reads; results are HRESULTs.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/window_id.h"

namespace platform {

using HResult = std::int32_t;
constexpr HResult kD3dOk = 0;
constexpr HResult kD3dErrNotAvailable = static_cast<HResult>(0x8876086A);
constexpr HResult kD3dErrInvalidCall = static_cast<HResult>(0x8876086C);
constexpr bool Succeeded(HResult result) { return result >= 0; }

constexpr std::uint32_t kD3dSdkVersion = 220;  // D3D_SDK_VERSION of Direct3D 8.1
constexpr std::uint32_t kD3dAdapterDefault = 0;
constexpr std::uint32_t kD3dDevTypeHal = 1;

constexpr std::uint32_t kD3dFmtUnknown = 0;
constexpr std::uint32_t kD3dFmtR8G8B8 = 20;
constexpr std::uint32_t kD3dFmtA8R8G8B8 = 21;
constexpr std::uint32_t kD3dFmtX8R8G8B8 = 22;
constexpr std::uint32_t kD3dFmtR5G6B5 = 23;
constexpr std::uint32_t kD3dFmtX1R5G5B5 = 24;
constexpr std::uint32_t kD3dFmtA1R5G5B5 = 25;
constexpr std::uint32_t kD3dFmtD24S8 = 75;
constexpr std::uint32_t kD3dFmtD16 = 80;

constexpr std::uint32_t kD3dUsageDepthStencil = 2;
constexpr std::uint32_t kD3dRtypeSurface = 1;
constexpr std::uint32_t kD3dMultisampleNone = 0;
constexpr std::uint32_t kD3dSwapEffectDiscard = 1;
constexpr std::uint32_t kD3dCreateSoftwareVertexProcessing = 0x20;
constexpr std::uint32_t kD3dCreateHardwareVertexProcessing = 0x40;
constexpr std::uint32_t kD3dEnumNoWhqlLevel = 2;

constexpr std::uint32_t kD3dPTextureCapsPow2 = 0x2;
constexpr std::uint32_t kD3dPTextureCapsSquareOnly = 0x20;

struct D3dDisplayMode {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t refreshRate = 0;
  std::uint32_t format = 0;
};

struct D3dPresentParameters {
  std::uint32_t backBufferWidth = 0;
  std::uint32_t backBufferHeight = 0;
  std::uint32_t backBufferFormat = 0;
  std::uint32_t backBufferCount = 0;
  std::uint32_t multiSampleType = 0;
  std::uint32_t swapEffect = 0;
  WindowId deviceWindow = 0;
  bool windowed = false;
  bool enableAutoDepthStencil = false;
  std::uint32_t autoDepthStencilFormat = 0;
  std::uint32_t flags = 0;
  std::uint32_t fullScreenRefreshRateInHz = 0;
  std::uint32_t fullScreenPresentationInterval = 0;
};

// The D3DCAPS8 fields the tool reads.
struct D3dCaps {
  std::uint32_t textureCaps = 0;
  std::uint32_t maxTextureWidth = 0;
  std::uint32_t maxTextureHeight = 0;
  std::uint32_t vertexShaderVersion = 0;
  std::uint32_t pixelShaderVersion = 0;
};

// The D3DADAPTER_IDENTIFIER8 fields the tool reads.
struct D3dAdapterIdentifier {
  std::uint32_t vendorId = 0;
  std::uint32_t deviceId = 0;
};

// IDirect3DDevice8; destroying the object releases the device.
class Direct3DDevice8 {
 public:
  virtual ~Direct3DDevice8() = default;
  // IDirect3DDevice8::GetDeviceCaps.
  virtual HResult GetDeviceCaps(D3dCaps* caps) = 0;
};

// IDirect3D8; destroying the object releases it.
class Direct3D8 {
 public:
  virtual ~Direct3D8() = default;
  // IDirect3D8::GetAdapterModeCount.
  virtual std::uint32_t GetAdapterModeCount(std::uint32_t adapter) = 0;
  // IDirect3D8::EnumAdapterModes.
  virtual HResult EnumAdapterModes(std::uint32_t adapter, std::uint32_t mode, D3dDisplayMode* displayMode) = 0;
  // IDirect3D8::GetAdapterDisplayMode.
  virtual HResult GetAdapterDisplayMode(std::uint32_t adapter, D3dDisplayMode* displayMode) = 0;
  // IDirect3D8::CheckDeviceFormat.
  virtual HResult CheckDeviceFormat(std::uint32_t adapter, std::uint32_t deviceType, std::uint32_t adapterFormat,
                                    std::uint32_t usage, std::uint32_t resourceType, std::uint32_t checkFormat) = 0;
  // IDirect3D8::CheckDepthStencilMatch.
  virtual HResult CheckDepthStencilMatch(std::uint32_t adapter, std::uint32_t deviceType,
                                         std::uint32_t adapterFormat, std::uint32_t renderTargetFormat,
                                         std::uint32_t depthStencilFormat) = 0;
  // IDirect3D8::GetDeviceCaps.
  virtual HResult GetDeviceCaps(std::uint32_t adapter, std::uint32_t deviceType, D3dCaps* caps) = 0;
  // IDirect3D8::CreateDevice; on success *device holds the new device.
  virtual HResult CreateDevice(std::uint32_t adapter, std::uint32_t deviceType, WindowId focusWindow,
                               std::uint32_t behaviorFlags, D3dPresentParameters* parameters,
                               std::unique_ptr<Direct3DDevice8>* device) = 0;
  // IDirect3D8::GetAdapterIdentifier.
  virtual HResult GetAdapterIdentifier(std::uint32_t adapter, std::uint32_t flags,
                                       D3dAdapterIdentifier* identifier) = 0;
};

// The Direct3D 8 runtime (d3d8.dll), loaded on demand.
class Direct3D8Runtime {
 public:
  virtual ~Direct3D8Runtime() = default;
  // Direct3DCreate8(sdkVersion); null when it returns null or the runtime or
  // its entry point is missing.
  virtual std::unique_ptr<Direct3D8> Direct3DCreate8(std::uint32_t sdkVersion) = 0;
};

}  // namespace platform
