// Initial control data of a dialog resource (resource type 240, "DLGINIT"):
// records of a 16-bit control id, a 16-bit message, a 32-bit length and that
// many bytes of text, ended by a zero control id. The page windows add these
// texts to their combo boxes when they are created.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace configtool {

constexpr std::uint16_t kDlgInitComboAddString = 0x0403;  // CB_ADDSTRING in its 16-bit numbering
constexpr std::uint16_t kDlgInitListAddString = 0x0401;   // LB_ADDSTRING in its 16-bit numbering

struct DialogInitItem {
  int controlId;
  std::uint16_t message;
  std::string text;  // up to the first NUL of the record's data
};

// Parses the records in order. False, with the records before the fault kept,
// when a record runs past the end of the data or the end marker is missing.
bool ParseDialogInit(const std::uint8_t* data, std::size_t size, std::vector<DialogInitItem>* items);

}  // namespace configtool
