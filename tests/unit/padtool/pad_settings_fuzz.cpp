// Fuzzes the loading of "padsin000" and "padmode000" (any bytes, any length,
// with or without a terminator) followed by formatting and saving. Whatever was
// stored, a confirmed save must write texts that load back to the same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "padtool/assignment/pad_settings_store.h"
#include "padtool/assignment/stored_text.h"
#include "tests/fakes/fake_dialog_controls.h"
#include "tests/fakes/fake_registry.h"

namespace {

constexpr char kKey[] = "SOFTWARE\\OrbinetUS\\Corvane\\VeldaraTestClient";

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint8_t control = data[0];
  const std::size_t split = size > 4 ? data[1] % (size - 3) : 0;
  const std::size_t editedEntry = data[2] % 31;  // 27..30 edit a flag
  const auto editedValue = static_cast<std::int8_t>(data[3]);
  const std::uint8_t* payload = data + 4;
  const std::size_t payloadSize = size - 4;
  const std::size_t codesSize = split < payloadSize ? split : payloadSize;

  fakes::FakeRegistry registry;
  auto& key = registry.Key(kKey);
  if ((control & 1) == 0) {
    key["padsin000"] = fakes::RegValue{platform::kRegSz, std::vector<std::uint8_t>(payload, payload + codesSize)};
  }
  if ((control & 2) == 0) {
    key["padmode000"] = fakes::RegValue{platform::kRegSz,
                                        std::vector<std::uint8_t>(payload + codesSize, payload + payloadSize)};
  }
  if ((control & 4) != 0) registry.deniedAccess.insert(platform::kKeyAllAccess);

  fakes::FakeDialogControls dialog;
  for (std::size_t i = 0; i < padtool::kCodeCount; ++i) {
    if (padtool::IsFunctionIndex(i)) dialog.comboItemCount[padtool::FunctionComboId(i)] = 33;
  }
  padtool::PadSettingsStore store(registry);
  padtool::PadAssignment record;
  store.Load(record, dialog);
  Check(registry.openKeys == 0);

  char codes[padtool::kCodesTextSize];
  char flags[padtool::kFlagsTextSize];
  Check(padtool::FormatCodes(record, codes) < sizeof codes);
  Check(padtool::FormatFlags(record, flags) < sizeof flags);

  // The user's edit before closing.
  if ((control & 16) != 0) {
    if (editedEntry < padtool::kCodeCount) {
      record.codes[editedEntry] = editedValue;
    } else {
      *record.Flag(editedEntry - padtool::kCodeCount) = editedValue;
    }
  }

  registry.deniedAccess.clear();
  dialog.answers = {platform::kIdYes};
  std::uint8_t busy = 0;
  Check(store.SaveOnClose(record, (control & 8) != 0, dialog, busy) == padtool::CloseDecision::Close);
  Check(busy == 0);
  Check(registry.openKeys == 0);

  // A second load sees exactly the record that was saved (or kept, when the
  // stored texts already began with the new ones).
  padtool::PadAssignment reloaded;
  fakes::FakeDialogControls again;
  store.Load(reloaded, again);
  const fakes::RegValue* storedCodes = registry.Find(kKey, "padsin000");
  const fakes::RegValue* storedFlags = registry.Find(kKey, "padmode000");
  Check(storedCodes != nullptr && storedFlags != nullptr);
  if (storedCodes->data.size() <= padtool::kLoadBufferSize) Check(reloaded.codes == record.codes);
  if (storedFlags->data.size() <= padtool::kLoadBufferSize) {
    Check(reloaded.gamepadEnabled == record.gamepadEnabled);
    Check(reloaded.forceFeedbackEnabled == record.forceFeedbackEnabled);
    Check(reloaded.sliderEnabled == record.sliderEnabled);
    Check(reloaded.hatSwitchesEnabled == record.hatSwitchesEnabled);
  }
  return 0;
}
