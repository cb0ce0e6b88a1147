#include "platform/win32/direct3d8_win32.h"

#include <float.h>

#include <d3d8.h>

namespace platform::win32 {

namespace {

static_assert(kD3dFmtX8R8G8B8 == D3DFMT_X8R8G8B8 && kD3dFmtA8R8G8B8 == D3DFMT_A8R8G8B8 &&
              kD3dFmtR5G6B5 == D3DFMT_R5G6B5 && kD3dFmtX1R5G5B5 == D3DFMT_X1R5G5B5 &&
              kD3dFmtA1R5G5B5 == D3DFMT_A1R5G5B5 && kD3dFmtD24S8 == D3DFMT_D24S8 && kD3dFmtD16 == D3DFMT_D16);
static_assert(kD3dDevTypeHal == D3DDEVTYPE_HAL && kD3dUsageDepthStencil == D3DUSAGE_DEPTHSTENCIL &&
              kD3dRtypeSurface == D3DRTYPE_SURFACE && kD3dSwapEffectDiscard == D3DSWAPEFFECT_DISCARD);
static_assert(kD3dCreateSoftwareVertexProcessing == D3DCREATE_SOFTWARE_VERTEXPROCESSING &&
              kD3dCreateHardwareVertexProcessing == D3DCREATE_HARDWARE_VERTEXPROCESSING &&
              kD3dEnumNoWhqlLevel == D3DENUM_NO_WHQL_LEVEL && kD3dSdkVersion == D3D_SDK_VERSION);
static_assert(kD3dPTextureCapsPow2 == D3DPTEXTURECAPS_POW2 && kD3dPTextureCapsSquareOnly == D3DPTEXTURECAPS_SQUAREONLY);

void CopyCaps(const D3DCAPS8& from, D3dCaps* to) {
  to->textureCaps = from.TextureCaps;
  to->maxTextureWidth = from.MaxTextureWidth;
  to->maxTextureHeight = from.MaxTextureHeight;
  to->vertexShaderVersion = from.VertexShaderVersion;
  to->pixelShaderVersion = from.PixelShaderVersion;
}

void CopyMode(const D3DDISPLAYMODE& from, D3dDisplayMode* to) {
  to->width = from.Width;
  to->height = from.Height;
  to->refreshRate = from.RefreshRate;
  to->format = static_cast<std::uint32_t>(from.Format);
}

D3DPRESENT_PARAMETERS ToNative(const D3dPresentParameters& p) {
  D3DPRESENT_PARAMETERS native{};
  native.BackBufferWidth = p.backBufferWidth;
  native.BackBufferHeight = p.backBufferHeight;
  native.BackBufferFormat = static_cast<D3DFORMAT>(p.backBufferFormat);
  native.BackBufferCount = p.backBufferCount;
  native.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(p.multiSampleType);
  native.SwapEffect = static_cast<D3DSWAPEFFECT>(p.swapEffect);
  native.hDeviceWindow = reinterpret_cast<HWND>(p.deviceWindow);
  native.Windowed = p.windowed ? TRUE : FALSE;
  native.EnableAutoDepthStencil = p.enableAutoDepthStencil ? TRUE : FALSE;
  native.AutoDepthStencilFormat = static_cast<D3DFORMAT>(p.autoDepthStencilFormat);
  native.Flags = p.flags;
  native.FullScreen_RefreshRateInHz = p.fullScreenRefreshRateInHz;
  native.FullScreen_PresentationInterval = p.fullScreenPresentationInterval;
  return native;
}

void FromNative(const D3DPRESENT_PARAMETERS& native, D3dPresentParameters* p) {
  p->backBufferWidth = native.BackBufferWidth;
  p->backBufferHeight = native.BackBufferHeight;
  p->backBufferFormat = static_cast<std::uint32_t>(native.BackBufferFormat);
  p->backBufferCount = native.BackBufferCount;
  p->multiSampleType = static_cast<std::uint32_t>(native.MultiSampleType);
  p->swapEffect = static_cast<std::uint32_t>(native.SwapEffect);
  p->deviceWindow = reinterpret_cast<WindowId>(native.hDeviceWindow);
  p->windowed = native.Windowed != FALSE;
  p->enableAutoDepthStencil = native.EnableAutoDepthStencil != FALSE;
  p->autoDepthStencilFormat = static_cast<std::uint32_t>(native.AutoDepthStencilFormat);
  p->flags = native.Flags;
  p->fullScreenRefreshRateInHz = native.FullScreen_RefreshRateInHz;
  p->fullScreenPresentationInterval = native.FullScreen_PresentationInterval;
}

class Device : public Direct3DDevice8 {
 public:
  explicit Device(ComPtr<IDirect3DDevice8> device) : device_(std::move(device)) {}
  HResult GetDeviceCaps(D3dCaps* caps) override {
    D3DCAPS8 native{};
    HRESULT result = device_->GetDeviceCaps(&native);
    if (SUCCEEDED(result)) CopyCaps(native, caps);
    return result;
  }

 private:
  ComPtr<IDirect3DDevice8> device_;
};

class Object : public Direct3D8 {
 public:
  explicit Object(IDirect3D8* direct3d) { *&direct3d_ = direct3d; }
  std::uint32_t GetAdapterModeCount(std::uint32_t adapter) override { return direct3d_->GetAdapterModeCount(adapter); }
  HResult EnumAdapterModes(std::uint32_t adapter, std::uint32_t mode, D3dDisplayMode* displayMode) override {
    D3DDISPLAYMODE native{};
    HRESULT result = direct3d_->EnumAdapterModes(adapter, mode, &native);
    if (SUCCEEDED(result)) CopyMode(native, displayMode);
    return result;
  }
  HResult GetAdapterDisplayMode(std::uint32_t adapter, D3dDisplayMode* displayMode) override {
    D3DDISPLAYMODE native{};
    HRESULT result = direct3d_->GetAdapterDisplayMode(adapter, &native);
    if (SUCCEEDED(result)) CopyMode(native, displayMode);
    return result;
  }
  HResult CheckDeviceFormat(std::uint32_t adapter, std::uint32_t deviceType, std::uint32_t adapterFormat,
                            std::uint32_t usage, std::uint32_t resourceType, std::uint32_t checkFormat) override {
    return direct3d_->CheckDeviceFormat(adapter, static_cast<D3DDEVTYPE>(deviceType),
                                        static_cast<D3DFORMAT>(adapterFormat), usage,
                                        static_cast<D3DRESOURCETYPE>(resourceType), static_cast<D3DFORMAT>(checkFormat));
  }
  HResult CheckDepthStencilMatch(std::uint32_t adapter, std::uint32_t deviceType, std::uint32_t adapterFormat,
                                 std::uint32_t renderTargetFormat, std::uint32_t depthStencilFormat) override {
    return direct3d_->CheckDepthStencilMatch(adapter, static_cast<D3DDEVTYPE>(deviceType),
                                             static_cast<D3DFORMAT>(adapterFormat),
                                             static_cast<D3DFORMAT>(renderTargetFormat),
                                             static_cast<D3DFORMAT>(depthStencilFormat));
  }
  HResult GetDeviceCaps(std::uint32_t adapter, std::uint32_t deviceType, D3dCaps* caps) override {
    D3DCAPS8 native{};
    HRESULT result = direct3d_->GetDeviceCaps(adapter, static_cast<D3DDEVTYPE>(deviceType), &native);
    if (SUCCEEDED(result)) CopyCaps(native, caps);
    return result;
  }
  HResult CreateDevice(std::uint32_t adapter, std::uint32_t deviceType, WindowId focusWindow,
                       std::uint32_t behaviorFlags, D3dPresentParameters* parameters,
                       std::unique_ptr<Direct3DDevice8>* device) override {
    D3DPRESENT_PARAMETERS native = ToNative(*parameters);
    ComPtr<IDirect3DDevice8> created;
    // Without D3DCREATE_FPU_PRESERVE the runtime leaves the thread's x87 unit
    // rounding to single precision, which would change every double
    // computation of the program; nothing renders with this device, so the
    // caller's precision and rounding are put back.
    unsigned int floatingPoint = _controlfp(0, 0);
    HRESULT result = direct3d_->CreateDevice(adapter, static_cast<D3DDEVTYPE>(deviceType),
                                             reinterpret_cast<HWND>(focusWindow), behaviorFlags, &native, &created);
    _controlfp(floatingPoint, _MCW_PC | _MCW_RC);
    // The runtime may fill in fields of the parameters.
    FromNative(native, parameters);
    if (SUCCEEDED(result) && created) *device = std::make_unique<Device>(std::move(created));
    return result;
  }
  HResult GetAdapterIdentifier(std::uint32_t adapter, std::uint32_t flags, D3dAdapterIdentifier* identifier) override {
    D3DADAPTER_IDENTIFIER8 native{};
    HRESULT result = direct3d_->GetAdapterIdentifier(adapter, flags, &native);
    if (SUCCEEDED(result)) {
      identifier->vendorId = native.VendorId;
      identifier->deviceId = native.DeviceId;
    }
    return result;
  }

 private:
  ComPtr<IDirect3D8> direct3d_;
};

}  // namespace

std::unique_ptr<Direct3D8> Win32Direct3D8Runtime::Direct3DCreate8(std::uint32_t sdkVersion) {
  if (create_ == nullptr) {
    if (!module_) module_.reset(LoadLibraryA("d3d8.dll"));
    if (!module_) return nullptr;
    create_ = reinterpret_cast<CreateProc>(reinterpret_cast<void*>(GetProcAddress(module_.get(), "Direct3DCreate8")));
    if (create_ == nullptr) return nullptr;
  }
  IDirect3D8* direct3d = create_(sdkVersion);
  if (direct3d == nullptr) return nullptr;
  return std::make_unique<Object>(direct3d);
}

}  // namespace platform::win32
