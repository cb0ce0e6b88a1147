#include "configtool/probe/render_caps.h"

namespace configtool {

RenderCaps::RenderCaps(platform::Direct3DDevice8* device) {
  if (device == nullptr) return;
  platform::D3dCaps caps;
  if (!platform::Succeeded(device->GetDeviceCaps(&caps))) return;
  vertexShader11_ = caps.vertexShaderVersion >= kVertexShader11;
  pixelShader11_ = caps.pixelShaderVersion >= kPixelShader11;
  texturePow2_ = (caps.textureCaps & platform::kD3dPTextureCapsPow2) != 0;
  textureSidesEqual_ = (caps.textureCaps & platform::kD3dPTextureCapsSquareOnly) != 0;
  maxTextureWidth_ = caps.maxTextureWidth;
  maxTextureHeight_ = caps.maxTextureHeight;
}

}  // namespace configtool
