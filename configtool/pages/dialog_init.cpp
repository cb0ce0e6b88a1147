#include "configtool/pages/dialog_init.h"

#include <cstring>

namespace configtool {

namespace {

std::uint32_t ReadLittleEndian(const std::uint8_t* bytes, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = count; i > 0; --i) value = (value << 8) | bytes[i - 1];
  return value;
}

}  // namespace

bool ParseDialogInit(const std::uint8_t* data, std::size_t size, std::vector<DialogInitItem>* items) {
  std::size_t offset = 0;
  while (true) {
    if (size - offset < 2) return false;
    std::uint32_t controlId = ReadLittleEndian(data + offset, 2);
    offset += 2;
    if (controlId == 0) return true;
    if (size - offset < 6) return false;
    auto message = static_cast<std::uint16_t>(ReadLittleEndian(data + offset, 2));
    std::uint32_t length = ReadLittleEndian(data + offset + 2, 4);
    offset += 6;
    if (length > size - offset) return false;
    const char* text = reinterpret_cast<const char*>(data + offset);
    items->push_back({static_cast<int>(controlId), message, std::string(text, strnlen(text, length))});
    offset += length;
  }
}

}  // namespace configtool
