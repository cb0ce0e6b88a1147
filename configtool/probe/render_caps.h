// RenderCaps: six capability values of the probe's test device, read by the
// Screen Size page (texture limits) and the Effects page (bump mapping). It
// reads through the probe's device without owning it and is destroyed before
// the probe.
#pragma once

#include <cstdint>

#include "platform/direct3d8.h"

namespace configtool {

constexpr std::uint32_t kVertexShader11 = 0xFFFE0101;
constexpr std::uint32_t kPixelShader11 = 0xFFFF0101;

class RenderCaps {
 public:
  // Fills the values from IDirect3DDevice8::GetDeviceCaps of device; all stay
  // false or 0 without a device or when the call fails.
  explicit RenderCaps(platform::Direct3DDevice8* device);

  bool VertexShader11() const { return vertexShader11_; }
  bool PixelShader11() const { return pixelShader11_; }
  bool TexturePow2() const { return texturePow2_; }
  bool TextureSidesEqual() const { return textureSidesEqual_; }
  std::uint32_t MaxTextureWidth() const { return maxTextureWidth_; }
  std::uint32_t MaxTextureHeight() const { return maxTextureHeight_; }

 private:
  bool vertexShader11_ = false;
  bool pixelShader11_ = false;
  bool texturePow2_ = false;
  bool textureSidesEqual_ = false;
  std::uint32_t maxTextureWidth_ = 0;
  std::uint32_t maxTextureHeight_ = 0;
};

}  // namespace configtool
