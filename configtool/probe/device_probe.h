// DeviceProbe: asks Direct3D 8 whether the primary adapter can run the game.
// It lists the adapter's full-colour modes of 640x480 up to 2048x2048 (one
// entry per size, in enumeration order), creates a small windowed test device
// with a depth buffer and reads the adapter identity. The program keeps one
// current probe, created by CreateDeviceProbe and destroyed by
// DestroyDeviceProbe; its mode list feeds the Screen Size page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/direct3d8.h"
#include "platform/window_id.h"

namespace configtool {

struct DepthFormatPair {
  std::uint32_t backBufferFormat;  // 0 before the end pair: the current display format
  std::uint32_t depthFormat;
};

enum class CandidateTable { k32Bit, k16Bit };

// The pairs of one table in order of trial, ended by (0, 0).
const DepthFormatPair* DepthFormatCandidates(CandidateTable table);

// Mode counts above this are treated like a failed allocation of the list.
constexpr std::uint32_t kMaxAdapterModes = 0x10000;

class DeviceProbe {
 public:
  DeviceProbe() = default;
  ~DeviceProbe();
  DeviceProbe(const DeviceProbe&) = delete;
  DeviceProbe& operator=(const DeviceProbe&) = delete;

  // Runs the probe: Direct3D object, mode list, device test with the 32-bit
  // then the 16-bit table, adapter identity and the acceptance rule.
  bool Run(platform::Direct3D8Runtime& runtime, platform::WindowId window, std::uint32_t width,
           std::uint32_t height, bool softwareVertexProcessing);

  // Releases the device, then the Direct3D object, and frees the mode list.
  void Release();

  bool SoftwareVPAccepted() const { return softwareVPAccepted_; }
  // Number of modes in the list; 0 while there is no list.
  std::uint32_t ModeCount() const { return modes_ ? modeCount_ : 0; }
  const platform::D3dDisplayMode& Mode(std::uint32_t index) const { return modes_[index]; }
  bool HasModeList() const { return modes_ != nullptr; }

  platform::Direct3D8* Direct3D() const { return direct3d_.get(); }
  platform::Direct3DDevice8* Device() const { return device_.get(); }
  const platform::D3dPresentParameters& PresentParameters() const { return presentParameters_; }
  const platform::D3dAdapterIdentifier& AdapterIdentifier() const { return adapterIdentifier_; }

 private:
  bool EnumerateModes();
  bool TestDevice(CandidateTable table, platform::WindowId window, std::uint32_t width, std::uint32_t height,
                  bool softwareVertexProcessing);

  std::unique_ptr<platform::Direct3D8> direct3d_;
  std::unique_ptr<platform::Direct3DDevice8> device_;
  platform::D3dPresentParameters presentParameters_;
  std::uint32_t modeCount_ = 0;
  std::unique_ptr<platform::D3dDisplayMode[]> modes_;
  platform::D3dAdapterIdentifier adapterIdentifier_;
  bool softwareVPAccepted_ = false;
};

// Creates a new probe, makes it the current one (also when it then fails) and
// runs it. Any probe still current is destroyed first.
bool CreateDeviceProbe(std::unique_ptr<DeviceProbe>& current, platform::Direct3D8Runtime& runtime,
                       platform::WindowId window, std::uint32_t width, std::uint32_t height,
                       bool softwareVertexProcessing);

// Releases and forgets the current probe, if any.
void DestroyDeviceProbe(std::unique_ptr<DeviceProbe>& current);

}  // namespace configtool
