#include "configtool/pages/gamma_mapping.h"

#include <cstdio>

namespace configtool {

float GammaFromPosition(int position) {
  double gamma = (position - 50) * static_cast<double>(kGammaStep);
  if (gamma < -1.0) gamma = -1.0;
  if (gamma > 1.0) gamma = 1.0;
  return static_cast<float>(gamma);
}

int PositionFromGamma(float gamma) {
  double position = (static_cast<double>(gamma) + 1.0) * 50.0;
  // Clamped before the conversion, which is undefined for values out of int's range.
  if (!(position > 0.0)) return 0;
  if (position >= kGammaPositionMax) return kGammaPositionMax;
  return static_cast<int>(position);
}

std::string GammaLabel(float gamma) {
  char text[64];
  std::snprintf(text, sizeof text, "%1.1f", static_cast<double>(gamma));
  return text;
}

}  // namespace configtool
