#include "configtool/settings/region.h"

namespace configtool {

const char* SettingsRegionRoot(int regionIndex) {
  return regionIndex == kRegionOrbinetUs ? "SOFTWARE\\OrbinetUS\\Corvane\\" : nullptr;
}

const char* InstallRegionRoot(int regionIndex) {
  return regionIndex == kRegionOrbinetUs ? "SOFTWARE\\OrbinetUS\\" : nullptr;
}

}  // namespace configtool
