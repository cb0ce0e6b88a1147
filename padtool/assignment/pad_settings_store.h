// Keeps the assignment record in the registry, under HKEY_LOCAL_MACHINE in the
// key "SOFTWARE\OrbinetUS\Corvane\VeldaraTestClient": REG_SZ values
// "padsin000" (27 codes) and "padmode000" (4 flags). The key is opened for
// each load and each save and closed at the end of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "padtool/assignment/pad_assignment.h"
#include "platform/dialog_controls.h"
#include "platform/registry.h"

namespace padtool {

constexpr char kSettingsRoot[] = "SOFTWARE\\OrbinetUS\\Corvane\\";
constexpr char kSettingsClient[] = "VeldaraTestClient";
constexpr char kCodesValueName[] = "padsin000";
constexpr char kFlagsValueName[] = "padmode000";
constexpr std::size_t kLoadBufferSize = 128;     // a stored text that does not fit is not loaded
constexpr std::size_t kCompareBufferSize = 512;  // a stored text that does not fit counts as changed

enum class CloseDecision { Close, Stay };

class PadSettingsStore {
 public:
  explicit PadSettingsStore(platform::Registry& registry) : registry_(registry) {}

  // Creates or opens the settings key with the given access; returns the
  // system's result, leaving key empty on failure.
  long Open(std::uint32_t access, std::unique_ptr<platform::RegistryKey>& key);

  // Fills the record from the stored texts and shows the function selections
  // in the dialog's combo boxes; clears the slider and hat-switch check boxes.
  // Warns (message 126) when the key cannot be opened for writing.
  void Load(PadAssignment& record, platform::DialogControls& dialog);

  // Writes the record if it differs from what is stored, asking first unless
  // silent; `busy` is set while the question is open and then goes back to
  // what it was. Stay only when the user answered Cancel.
  CloseDecision SaveOnClose(const PadAssignment& record, bool silent, platform::DialogControls& dialog,
                            std::uint8_t& busy);

 private:
  platform::Registry& registry_;
};

}  // namespace padtool
