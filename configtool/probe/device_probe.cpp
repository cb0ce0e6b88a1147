#include "configtool/probe/device_probe.h"

#include <new>

namespace configtool {

namespace {

using namespace platform;

constexpr DepthFormatPair kCandidates32[] = {
    {kD3dFmtX8R8G8B8, kD3dFmtD24S8},
    {kD3dFmtA8R8G8B8, kD3dFmtD24S8},
    {kD3dFmtUnknown, kD3dFmtD24S8},
    {0, 0},
};

constexpr DepthFormatPair kCandidates16[] = {
    {kD3dFmtX1R5G5B5, kD3dFmtD16},
    {kD3dFmtA1R5G5B5, kD3dFmtD16},
    {kD3dFmtR5G6B5, kD3dFmtD16},
    {kD3dFmtUnknown, kD3dFmtD16},
    {0, 0},
};

constexpr std::size_t kMaxCandidates = 8;

constexpr std::uint32_t kMinModeWidth = 640;
constexpr std::uint32_t kMinModeHeight = 480;
constexpr std::uint32_t kMaxModeSide = 2048;

constexpr std::uint32_t kVendorIntel = 0x8086;
constexpr std::uint32_t kRejectedIntelDevices[] = {0x2562, 0x3577, 0x3582};

bool IsEndPair(const DepthFormatPair& pair) { return pair.backBufferFormat == 0 && pair.depthFormat == 0; }

bool PassesModeFilter(const D3dDisplayMode& mode) {
  return mode.width >= kMinModeWidth && mode.width <= kMaxModeSide && mode.height >= kMinModeHeight &&
         mode.height <= kMaxModeSide && (mode.format == kD3dFmtX8R8G8B8 || mode.format == kD3dFmtA8R8G8B8);
}

bool AcceptsSoftwareVertexProcessing(const D3dAdapterIdentifier& identifier) {
  if (identifier.vendorId != kVendorIntel) return false;
  for (std::uint32_t rejected : kRejectedIntelDevices) {
    if (identifier.deviceId == rejected) return false;
  }
  return true;
}

}  // namespace

const DepthFormatPair* DepthFormatCandidates(CandidateTable table) {
  return table == CandidateTable::k32Bit ? kCandidates32 : kCandidates16;
}

DeviceProbe::~DeviceProbe() { Release(); }

void DeviceProbe::Release() {
  device_.reset();
  direct3d_.reset();
  modes_.reset();
}

bool DeviceProbe::Run(Direct3D8Runtime& runtime, WindowId window, std::uint32_t width, std::uint32_t height,
                      bool softwareVertexProcessing) {
  direct3d_ = runtime.Direct3DCreate8(kD3dSdkVersion);
  if (!direct3d_) return false;
  if (!EnumerateModes()) {
    direct3d_.reset();
    return false;
  }

  if (!TestDevice(CandidateTable::k32Bit, window, width, height, softwareVertexProcessing) &&
      !TestDevice(CandidateTable::k16Bit, window, width, height, softwareVertexProcessing)) {
    direct3d_.reset();
    return false;
  }

  // The result is not looked at; a failed call leaves the identity zero.
  adapterIdentifier_ = D3dAdapterIdentifier{};
  direct3d_->GetAdapterIdentifier(kD3dAdapterDefault, kD3dEnumNoWhqlLevel, &adapterIdentifier_);

  if (softwareVertexProcessing && AcceptsSoftwareVertexProcessing(adapterIdentifier_)) softwareVPAccepted_ = true;
  return true;
}

bool DeviceProbe::EnumerateModes() {
  std::uint32_t adapterModes = direct3d_->GetAdapterModeCount(kD3dAdapterDefault);
  modeCount_ = adapterModes;
  if (adapterModes == 0 || adapterModes > kMaxAdapterModes) return false;
  modes_.reset(new (std::nothrow) D3dDisplayMode[adapterModes]);
  if (!modes_) return false;

  std::uint32_t kept = 0;
  for (std::uint32_t i = 0; i < adapterModes; ++i) {
    // The result is not looked at; a failed call leaves a zero mode, which the filter drops.
    D3dDisplayMode mode;
    direct3d_->EnumAdapterModes(kD3dAdapterDefault, i, &mode);
    if (!PassesModeFilter(mode)) continue;
    bool seen = false;
    for (std::uint32_t j = 0; j < kept && !seen; ++j) {
      seen = modes_[j].width == mode.width && modes_[j].height == mode.height;
    }
    if (!seen) modes_[kept++] = mode;
  }
  modeCount_ = kept;
  return true;
}

bool DeviceProbe::TestDevice(CandidateTable table, WindowId window, std::uint32_t width, std::uint32_t height,
                             bool softwareVertexProcessing) {
  D3dDisplayMode current;
  if (!Succeeded(direct3d_->GetAdapterDisplayMode(kD3dAdapterDefault, &current))) return false;

  const DepthFormatPair* pairs = DepthFormatCandidates(table);
  for (std::size_t i = 0; i < kMaxCandidates && !IsEndPair(pairs[i]); ++i) {
    const std::uint32_t backBufferFormat = pairs[i].backBufferFormat != 0 ? pairs[i].backBufferFormat : current.format;
    const std::uint32_t depthFormat = pairs[i].depthFormat;

    if (!Succeeded(direct3d_->CheckDeviceFormat(kD3dAdapterDefault, kD3dDevTypeHal, current.format,
                                                kD3dUsageDepthStencil, kD3dRtypeSurface, depthFormat)) ||
        !Succeeded(direct3d_->CheckDepthStencilMatch(kD3dAdapterDefault, kD3dDevTypeHal, current.format,
                                                     backBufferFormat, depthFormat))) {
      continue;
    }
    D3dCaps caps;
    if (!Succeeded(direct3d_->GetDeviceCaps(kD3dAdapterDefault, kD3dDevTypeHal, &caps))) continue;

    presentParameters_ = D3dPresentParameters{};
    presentParameters_.backBufferWidth = width;
    presentParameters_.backBufferHeight = height;
    presentParameters_.backBufferFormat = backBufferFormat;
    presentParameters_.backBufferCount = 1;
    presentParameters_.multiSampleType = kD3dMultisampleNone;
    presentParameters_.swapEffect = kD3dSwapEffectDiscard;
    presentParameters_.deviceWindow = window;
    presentParameters_.windowed = true;
    presentParameters_.enableAutoDepthStencil = true;
    presentParameters_.autoDepthStencilFormat = depthFormat;
    presentParameters_.flags = 0;
    presentParameters_.fullScreenRefreshRateInHz = 0;
    presentParameters_.fullScreenPresentationInterval = 0;

    const std::uint32_t behavior =
        softwareVertexProcessing ? kD3dCreateSoftwareVertexProcessing : kD3dCreateHardwareVertexProcessing;
    std::unique_ptr<Direct3DDevice8> device;
    if (Succeeded(direct3d_->CreateDevice(kD3dAdapterDefault, kD3dDevTypeHal, window, behavior,
                                          &presentParameters_, &device)) &&
        device) {
      device_ = std::move(device);
      return true;
    }
  }
  return false;
}

bool CreateDeviceProbe(std::unique_ptr<DeviceProbe>& current, Direct3D8Runtime& runtime, WindowId window,
                       std::uint32_t width, std::uint32_t height, bool softwareVertexProcessing) {
  DestroyDeviceProbe(current);
  current = std::make_unique<DeviceProbe>();
  return current->Run(runtime, window, width, height, softwareVertexProcessing);
}

void DestroyDeviceProbe(std::unique_ptr<DeviceProbe>& current) {
  if (!current) return;
  current->Release();
  current.reset();
}

}  // namespace configtool
