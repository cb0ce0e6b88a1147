// Gamma base (setting 28, a single-precision float from -1.0 to +1.0) and the
// position 0..100 of its trackbar, 50 in the middle.
#pragma once

#include <string>

namespace configtool {

// The step per trackbar position as the 32-bit float constant 0.02.
constexpr float kGammaStep = 0.02f;
constexpr int kGammaPositionMax = 100;

// (position - 50) * 0.02 formed in double, clamped to [-1.0, +1.0], stored as a float.
float GammaFromPosition(int position);
// (gamma + 1.0) * 50.0 in double, truncated toward zero, clamped to [0, 100];
// a stored value that is not a number shows as 0.
int PositionFromGamma(float gamma);
// The label text, "%1.1f" of gamma.
std::string GammaLabel(float gamma);

}  // namespace configtool
