// Registry roots selected by RegionIndex. The tool sets RegionIndex to 1, the
// region whose keys live below "SOFTWARE\OrbinetUS".
#pragma once

namespace configtool {

constexpr int kRegionOrbinetUs = 1;

// Root of the settings key ("SOFTWARE\OrbinetUS\Corvane\" for region 1);
// null for a region the tool does not know.
const char* SettingsRegionRoot(int regionIndex);

// Root of the install-folder key ("SOFTWARE\OrbinetUS\" for region 1); null
// for a region the tool does not know.
const char* InstallRegionRoot(int regionIndex);

}  // namespace configtool
